// Reading a whole file the user named: only regular files, never a blocking open,
// and a buffer kept from file to file that never shows an earlier file's bytes.

#include "util/textfile.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using testing_support::TempDir;
using testing_support::WriteWholeFile;

TEST(TextFile, ReadsWholeFilesIntoOneBuffer)
{
    TempDir dir;
    const std::string big = (dir.Path() / "big.csv").string();
    const std::string small = (dir.Path() / "small.csv").string();
    const std::string empty = (dir.Path() / "empty.csv").string();
    const std::string bytes("1,2,3\n\0\xff\r\n", 10);
    WriteWholeFile(big, std::string(100000, 'x'));
    WriteWholeFile(small, bytes);
    WriteWholeFile(empty, "");
    std::string buffer;
    EXPECT_EQ(TextFile::Read(big, buffer), std::string(100000, 'x'));
    EXPECT_EQ(TextFile::Read(small, buffer), bytes);
    EXPECT_EQ(TextFile::Read(empty, buffer), "");
    EXPECT_EQ(TextFile::Read(small), bytes);
}

TEST(TextFile, RefusesWhatIsNoRegularFile)
{
    TempDir dir;
    const std::string fifo = (dir.Path() / "pipe").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const testing_support::FifoWriterGuard guard(fifo);
    const struct {
        std::string path;
        TextFileError::Reason reason;
        int error_number;
    } cases[] = {
        {dir.Str(), TextFileError::Reason::Folder, 0},
        {fifo, TextFileError::Reason::NotRegular, 0},
        {"/dev/null", TextFileError::Reason::NotRegular, 0},
        {(dir.Path() / "missing").string(), TextFileError::Reason::CannotOpen, ENOENT},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        try {
            TextFile::Read(c.path);
            ADD_FAILURE() << "read without an error";
        } catch (const TextFileError& error) {
            EXPECT_EQ(error.reason(), c.reason);
            EXPECT_EQ(error.error_number(), c.error_number);
        }
    }
    EXPECT_FALSE(guard.WasOpened());
}

// Memory is bounded: a file past the limit is refused from its size, before any
// memory is taken for it. Sparse files stand for the large ones.
TEST(TextFile, RefusesAFileLargerThanTheLimitBeforeReadingIt)
{
    TempDir dir;
    const std::string path = (dir.Path() / "readings.csv").string();
    WriteWholeFile(path, "1,2,3\n");
    std::string buffer;
    EXPECT_EQ(TextFile::Read(path, buffer, 6), "1,2,3\n"); // at the limit
    const struct {
        std::uint64_t size;
        std::uint64_t limit;
        const char* text;
    } cases[] = {
        {6, 5, "is 6 bytes, larger than the limit of 5 bytes"},
        {TextFile::kMaxBytes + 1, TextFile::kMaxBytes,
         "is 1 GiB (1073741825 bytes), larger than the limit of 1 GiB (1073741824 bytes)"},
        {TextFile::kMaxBytes / 2 * 3, TextFile::kMaxBytes,
         "is 1.5 GiB (1610612736 bytes), larger than the limit of 1 GiB (1073741824 bytes)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        ASSERT_EQ(truncate(path.c_str(), static_cast<off_t>(c.size)), 0);
        std::string fresh;
        try {
            TextFile::Read(path, fresh, c.limit);
            ADD_FAILURE() << "read without an error";
        } catch (const TextFileError& error) {
            EXPECT_EQ(error.reason(), TextFileError::Reason::TooLarge);
            EXPECT_EQ(error.size(), c.size);
            EXPECT_EQ(error.limit(), c.limit);
            EXPECT_EQ(error.SizeText(), c.text);
        }
        EXPECT_EQ(fresh.capacity(), std::string().capacity()); // nothing allocated, nothing read
    }
}

} // namespace
