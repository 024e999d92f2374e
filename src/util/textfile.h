#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

// Why a file could not be read; the caller words the message for its kind of file.
class TextFileError : public std::runtime_error {
public:
    enum class Reason { Folder, NotRegular, CannotOpen, CannotRead, OutOfMemory };

    TextFileError(Reason reason, int error_number);
    Reason reason() const { return m_reason; }
    // errno of the failed call, 0 when there was none.
    int error_number() const { return m_error_number; }

private:
    Reason m_reason;
    int m_error_number;
};

// Reads a whole file the user named. Only a regular file is read: a FIFO would
// block the open for ever and a device may never end, so anything else is refused
// before it is opened (and again after, should the path change in between).
class TextFile {
public:
    static std::string Read(const std::string& path);
    // The same into buffer, whose memory is kept from one call to the next: fresh
    // memory costs a page fault per 4 KB on first touch, more than reading it.
    // Returns the text, a view into buffer.
    static std::string_view Read(const std::string& path, std::string& buffer);
};
