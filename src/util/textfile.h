#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

// Why a file could not be read; the caller words the message for its kind of file.
class TextFileError : public std::runtime_error {
public:
    enum class Reason { Folder, NotRegular, CannotOpen, CannotRead, OutOfMemory, TooLarge };

    TextFileError(Reason reason, int error_number);
    // TooLarge: the file's size and the most that is read, in bytes.
    TextFileError(std::uint64_t size, std::uint64_t limit);
    Reason reason() const { return m_reason; }
    // errno of the failed call, 0 when there was none.
    int error_number() const { return m_error_number; }
    std::uint64_t size() const { return m_size; }
    std::uint64_t limit() const { return m_limit; }
    // "is 1.5 GiB (1610612736 bytes), larger than the limit of 1 GiB (1073741824 bytes)"
    std::string SizeText() const;

private:
    Reason m_reason;
    int m_error_number;
    std::uint64_t m_size = 0;
    std::uint64_t m_limit = 0;
};

// Reads a whole file the user named. Only a regular file is read: a FIFO would
// block the open for ever and a device may never end, so anything else is refused
// before it is opened (and again after, should the path change in between).
// Memory is bounded: a file larger than max_bytes is refused before any byte of
// it is read, and one that grows past it while read is refused too.
class TextFile {
public:
    static constexpr std::uint64_t kMaxBytes = std::uint64_t(1) << 30;

    static std::string Read(const std::string& path, std::uint64_t max_bytes = kMaxBytes);
    // The same into buffer, whose memory is kept from one call to the next: fresh
    // memory costs a page fault per 4 KB on first touch, more than reading it.
    // Returns the text, a view into buffer.
    static std::string_view Read(const std::string& path, std::string& buffer, std::uint64_t max_bytes = kMaxBytes);
};
