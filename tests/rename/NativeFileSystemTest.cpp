#include "fs/NativeFileSystem.h"
#include "fs/StandardStreams.h"
#include "rename/ReadableFile.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zanto::test {
namespace {

// Runs `call` in a forked child, so that a call that blocks cannot hang the
// suite: true when it returned true within five seconds. A child still
// waiting then is killed.
bool returnsPromptly(const std::function<bool()>& call)
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(call() ? 0 : 1);
    int status = 0;
    pid_t done = 0;
    for (int tick = 0; tick < 500 && done == 0; ++tick) {
        done = ::waitpid(child, &status, WNOHANG);
        if (done == 0)
            ::usleep(10000);
    }
    if (done == 0) {
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
        return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

class NativeFs : public ::testing::Test {
protected:
    TempFolder folder;
    NativeFileSystem fs;
};

TEST_F(NativeFs, RenameNeverReplacesEvenADanglingLink)
{
    folder.writeAll({"a.jpg", "b.jpg"});
    std::filesystem::create_symlink("nowhere", folder.pathOf("dangling"));
    const auto before = folder.contents();

    EXPECT_EQ(fs.renameNoReplace(folder.pathOf("a.jpg"), folder.pathOf("b.jpg")), FsError::FileExists);
    EXPECT_EQ(fs.renameNoReplace(folder.pathOf("a.jpg"), folder.pathOf("dangling")), FsError::FileExists);
    EXPECT_EQ(fs.renameNoReplace(folder.pathOf("gone.jpg"), folder.pathOf("c.jpg")), FsError::FileNotFound);
    EXPECT_EQ(folder.contents(), before);
    EXPECT_EQ(fs.renameNoReplace(folder.pathOf("a.jpg"), folder.pathOf("c.jpg")), FsError::None);
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"b.jpg", "c.jpg", "dangling"}));
}

TEST_F(NativeFs, RemovingALinkKeepsItsTargetAndAFifoIsNeverOpened)
{
    folder.write("target.jpg");
    std::filesystem::create_symlink("target.jpg", folder.pathOf("link.jpg"));
    ASSERT_EQ(::mkfifo(folder.pathOf("pipe").c_str(), 0600), 0);

    EXPECT_FALSE(fs.canOpenForReading(folder.pathOf("pipe"))); // would block if it were opened
    EXPECT_TRUE(fs.canOpenForReading(folder.pathOf("link.jpg")));
    EXPECT_EQ(fs.removeFile(folder.pathOf("link.jpg")), FsError::None);
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"pipe", "target.jpg"}));
}

// A listed name may have been replaced by a FIFO: with no writer, opening it
// for reading would wait for one.
TEST_F(NativeFs, ReadingAFifoFailsAtOnceInsteadOfWaitingForAWriter)
{
    const std::string pipe = folder.pathOf("pipe.jpg");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);

    EXPECT_TRUE(returnsPromptly([&] {
        std::string bytes;
        return fs.readFile(pipe, 1024, bytes) == FsError::PathFileAccess && bytes.empty();
    })) << "readFile blocked or did not give PathFileAccess";
    EXPECT_TRUE(returnsPromptly([&] {
        std::unique_ptr<ReadableFile> file;
        return fs.openFile(pipe, file) == FsError::PathFileAccess && !file;
    })) << "openFile blocked or did not give PathFileAccess";
}

// Started with its standard streams closed, the program's first file must not
// take their numbers: it would receive what is printed. Run in a child, since
// the test's own streams are closed for it.
TEST(StandardStreams, AFileOpenedAfterStartIsNeverAStandardStream)
{
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        for (int stream = STDIN_FILENO; stream <= STDERR_FILENO; ++stream)
            ::close(stream);
        openMissingStandardStreams();
        const int file = ::open("/dev/null", O_RDONLY);
        ::_exit(file > STDERR_FILENO && ::fcntl(STDERR_FILENO, F_GETFL) != -1 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

} // namespace
} // namespace zanto::test
