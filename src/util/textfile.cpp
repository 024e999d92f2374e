#include "util/textfile.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char* ReasonText(TextFileError::Reason reason)
{
    switch (reason) {
    case TextFileError::Reason::Folder: return "is a folder";
    case TextFileError::Reason::NotRegular: return "is not a regular file";
    case TextFileError::Reason::CannotOpen: return "cannot be opened";
    case TextFileError::Reason::CannotRead: return "cannot be read";
    case TextFileError::Reason::OutOfMemory: return "does not fit in memory";
    case TextFileError::Reason::TooLarge: return "is too large";
    }
    return "cannot be read";
}

void CheckRegular(const struct stat& status, std::uint64_t max_bytes)
{
    if (S_ISDIR(status.st_mode))
        throw TextFileError(TextFileError::Reason::Folder, 0);
    if (!S_ISREG(status.st_mode))
        throw TextFileError(TextFileError::Reason::NotRegular, 0);
    if (static_cast<std::uint64_t>(status.st_size) > max_bytes)
        throw TextFileError(static_cast<std::uint64_t>(status.st_size), max_bytes);
}

// "1.5 GiB (1610612736 bytes)": the largest unit with a whole part, one decimal cut
// (not rounded, so a size just past the limit never reads as the limit).
std::string SizeWithUnit(std::uint64_t bytes)
{
    static const char* const kUnits[] = {"bytes", "KiB", "MiB", "GiB", "TiB"};
    int unit = 0;
    while (unit < 4 && bytes >= (std::uint64_t(1) << (10 * (unit + 1))))
        ++unit;
    if (unit == 0)
        return std::to_string(bytes) + " bytes";
    const std::uint64_t size = std::uint64_t(1) << (10 * unit);
    const std::uint64_t tenths = (bytes % size) / (size / 10);
    return std::to_string(bytes / size) + (tenths ? "." + std::to_string(tenths) : "") + " " + kUnits[unit] + " (" +
           std::to_string(bytes) + " bytes)";
}

// Closes the descriptor however the read ends.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() { ::close(m_fd); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

} // namespace

TextFileError::TextFileError(Reason reason, int error_number)
    : std::runtime_error(ReasonText(reason)), m_reason(reason), m_error_number(error_number)
{
}

TextFileError::TextFileError(std::uint64_t size, std::uint64_t limit)
    : std::runtime_error(ReasonText(Reason::TooLarge)), m_reason(Reason::TooLarge), m_error_number(EFBIG),
      m_size(size), m_limit(limit)
{
}

std::string TextFileError::SizeText() const
{
    return "is " + SizeWithUnit(m_size) + ", larger than the limit of " + SizeWithUnit(m_limit);
}

std::string TextFile::Read(const std::string& path, std::uint64_t max_bytes)
{
    std::string text;
    text.resize(Read(path, text, max_bytes).size());
    return text;
}

std::string_view TextFile::Read(const std::string& path, std::string& buffer, std::uint64_t max_bytes)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        throw TextFileError(TextFileError::Reason::CannotOpen, errno);
    CheckRegular(status, max_bytes);
    // O_NONBLOCK: should a FIFO take the file's place after the check, the open
    // still returns and the second check refuses it.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw TextFileError(TextFileError::Reason::CannotOpen, errno);
    const Descriptor file(fd);
    if (::fstat(file.get(), &status) != 0)
        throw TextFileError(TextFileError::Reason::CannotRead, errno);
    CheckRegular(status, max_bytes);

    size_t used = 0;
    try {
        // The size is a guess (the file may grow); reading goes on to the end.
        if (buffer.size() <= static_cast<size_t>(status.st_size))
            buffer.resize(static_cast<size_t>(status.st_size) + 1);
        while (true) {
            if (used == buffer.size()) {
                if (used > max_bytes) // grown past the limit since the check
                    throw TextFileError(static_cast<std::uint64_t>(used), max_bytes);
                buffer.resize(static_cast<size_t>(std::min<std::uint64_t>(buffer.size() * 2, max_bytes + 1)));
            }
            const ssize_t got = ::read(file.get(), buffer.data() + used, buffer.size() - used);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                throw TextFileError(TextFileError::Reason::CannotRead, errno);
            if (got == 0)
                break;
            used += static_cast<size_t>(got);
        }
        if (used > max_bytes) // a buffer kept from a larger file held the growth
            throw TextFileError(static_cast<std::uint64_t>(used), max_bytes);
    } catch (const std::bad_alloc&) {
        throw TextFileError(TextFileError::Reason::OutOfMemory, ENOMEM);
    } catch (const std::length_error&) {
        throw TextFileError(TextFileError::Reason::OutOfMemory, ENOMEM);
    }
    return std::string_view(buffer.data(), used);
}
