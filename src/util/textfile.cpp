#include "util/textfile.h"

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
    }
    return "cannot be read";
}

void CheckRegular(const struct stat& status)
{
    if (S_ISDIR(status.st_mode))
        throw TextFileError(TextFileError::Reason::Folder, 0);
    if (!S_ISREG(status.st_mode))
        throw TextFileError(TextFileError::Reason::NotRegular, 0);
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

std::string TextFile::Read(const std::string& path)
{
    std::string text;
    text.resize(Read(path, text).size());
    return text;
}

std::string_view TextFile::Read(const std::string& path, std::string& buffer)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        throw TextFileError(TextFileError::Reason::CannotOpen, errno);
    CheckRegular(status);
    // O_NONBLOCK: should a FIFO take the file's place after the check, the open
    // still returns and the second check refuses it.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw TextFileError(TextFileError::Reason::CannotOpen, errno);
    const Descriptor file(fd);
    if (::fstat(file.get(), &status) != 0)
        throw TextFileError(TextFileError::Reason::CannotRead, errno);
    CheckRegular(status);

    size_t used = 0;
    try {
        // The size is a guess (the file may grow); reading goes on to the end.
        if (buffer.size() <= static_cast<size_t>(status.st_size))
            buffer.resize(static_cast<size_t>(status.st_size) + 1);
        while (true) {
            if (used == buffer.size())
                buffer.resize(buffer.size() * 2);
            const ssize_t got = ::read(file.get(), buffer.data() + used, buffer.size() - used);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                throw TextFileError(TextFileError::Reason::CannotRead, errno);
            if (got == 0)
                break;
            used += static_cast<size_t>(got);
        }
    } catch (const std::bad_alloc&) {
        throw TextFileError(TextFileError::Reason::OutOfMemory, ENOMEM);
    } catch (const std::length_error&) {
        throw TextFileError(TextFileError::Reason::OutOfMemory, ENOMEM);
    }
    return std::string_view(buffer.data(), used);
}
