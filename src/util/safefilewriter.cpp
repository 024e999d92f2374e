#include "util/safefilewriter.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Outcome = SafeFileWriter::Outcome;
using Refusal = SafeFileWriter::Refusal;

constexpr int kMaxLinks = 40; // as the kernel allows, then ELOOP

Outcome Failed(const char* what, int error_number)
{
    return {Refusal::Failed, std::string(what) + " (" + std::strerror(error_number) + ")"};
}

std::string FolderOf(const std::string& path)
{
    const std::string folder = std::filesystem::path(path).parent_path().string();
    return folder.empty() ? "." : folder;
}

// The file a chain of symbolic links ends at (path itself when it is none); the
// name need not exist. Returns 0 or the errno that stopped the walk.
int FollowLinks(std::string path, std::string& target)
{
    for (int hops = 0; hops <= kMaxLinks; ++hops) {
        struct stat status;
        const bool found = ::lstat(path.c_str(), &status) == 0;
        if (!found && errno != ENOENT)
            return errno;
        if (!found || !S_ISLNK(status.st_mode)) {
            target = path;
            return 0;
        }
        std::string link(static_cast<size_t>(status.st_size > 0 ? status.st_size : 4096) + 1, '\0');
        const ssize_t length = ::readlink(path.c_str(), link.data(), link.size());
        if (length < 0)
            return errno;
        link.resize(static_cast<size_t>(length));
        path = link.front() == '/' ? link : FolderOf(path) + "/" + link;
    }
    return ELOOP;
}

std::string TypeName(mode_t mode)
{
    if (S_ISDIR(mode))
        return "it is a folder";
    if (S_ISFIFO(mode))
        return "it is a pipe, not a regular file";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "it is a device, not a regular file";
    return "it is not a regular file";
}

// The checks on the resolved target; exists tells whether it is there to replace.
Outcome CheckResolved(const std::string& target, const SafeFileWriter::Options& options, struct stat& status,
                      bool& exists)
{
    errno = 0;
    exists = ::stat(target.c_str(), &status) == 0;
    if (!exists)
        return errno == ENOENT ? Outcome{} : Failed("cannot look at the file", errno);
    if (!S_ISREG(status.st_mode))
        return {Refusal::NotRegular, TypeName(status.st_mode)};
    for (const std::string& input : options.inputs) {
        struct stat input_status;
        if (::stat(input.c_str(), &input_status) == 0 && input_status.st_dev == status.st_dev &&
            input_status.st_ino == status.st_ino)
            return {Refusal::SameAsInput, "it is the input file " + input + " itself"};
    }
    // Root may write anything, so the mode bits say what the user meant.
    if (options.refuse_read_only &&
        ((status.st_mode & 0222) == 0 || (::access(target.c_str(), W_OK) != 0 && errno == EACCES)))
        return {Refusal::ReadOnly, "the file is read-only"};
    return {};
}

// A new file beside the target under a short name, so that even a 255-byte target
// name leaves room; the umask decides a new file's mode as it would the target's.
int CreateTemporary(const std::string& folder, std::string& temp)
{
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<size_t> pick(0, sizeof kLetters - 2);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = folder + "/.pf-";
        for (int k = 0; k < 6; ++k)
            temp += kLetters[pick(random)];
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

bool WriteAll(int fd, std::string_view text)
{
    while (!text.empty()) {
        const ssize_t n = ::write(fd, text.data(), text.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            errno = n == 0 ? EIO : errno;
            return false;
        }
        text.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

// The rename reaches the disk with the folder's own entry.
void SyncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Content, mode and owner into the open temporary; false with errno set.
bool FillTemporary(int fd, std::string_view text, const struct stat* replaced)
{
    if (replaced) {
        if (::fchmod(fd, replaced->st_mode & 07777) != 0)
            return false;
        // Only root can give a file away; anyone else keeps the file as theirs.
        if (::fchown(fd, replaced->st_uid, replaced->st_gid) != 0 && errno != EPERM)
            return false;
    }
    return WriteAll(fd, text) && ::fsync(fd) == 0;
}

} // namespace

Outcome SafeFileWriter::Check(const std::string& path, const Options& options)
{
    std::string target;
    if (const int error = FollowLinks(path, target))
        return Failed("cannot look at the file", error);
    struct stat status;
    bool exists = false;
    return CheckResolved(target, options, status, exists);
}

Outcome SafeFileWriter::Write(const std::string& path, std::string_view text, const Options& options)
{
    std::string target;
    if (const int error = FollowLinks(path, target))
        return Failed("cannot look at the file", error);
    struct stat status;
    bool exists = false;
    if (Outcome checked = CheckResolved(target, options, status, exists); !checked.Ok())
        return checked;
    const std::string folder = FolderOf(target);
    std::string temp;
    const int fd = CreateTemporary(folder, temp);
    if (fd < 0)
        return Failed("cannot create a file in its folder", errno);
    if (!FillTemporary(fd, text, exists ? &status : nullptr)) {
        const int error = errno;
        ::close(fd);
        ::unlink(temp.c_str());
        return Failed("cannot write the file", error);
    }
    if (::close(fd) != 0 || std::rename(temp.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        return Failed("cannot replace the file", error);
    }
    SyncFolder(folder);
    return {};
}
