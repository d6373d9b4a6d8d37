#include "platform/FileText.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

namespace xomplatform {
namespace {

namespace fs = std::filesystem;

class FileTextTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("filetext_" + std::to_string(getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path dir;
};

TEST_F(FileTextTest, ReadsARegularFileWholeWithinTheLimit) {
    std::ofstream(dir / "a.txt") << "line 1\nline 2\n";
    std::string text = "stale";
    EXPECT_EQ(ReadFileText((dir / "a.txt").string(), 100, text), ReadFileResult::Ok);
    EXPECT_EQ(text, "line 1\nline 2\n");
    EXPECT_EQ(ReadFileText((dir / "a.txt").string(), 5, text), ReadFileResult::TooLarge);
    EXPECT_TRUE(text.empty());
}

// A directory or FIFO is refused at once with a clear reason, never read as an empty text (nor
// waited on, for a FIFO without a writer).
TEST_F(FileTextTest, DirectoriesAndFifosAreNotFiles) {
    const fs::path fifo = dir / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const fs::path& p : {dir, fifo}) {
        std::string text;
        int err = -1;
        EXPECT_EQ(ReadFileText(p.string(), 100, text, &err), ReadFileResult::NotAFile) << p;
        EXPECT_EQ(ReadFileErrorText(p.string(), ReadFileResult::NotAFile, err, 100),
                  p.string() + ": not a regular file");
    }
}

TEST_F(FileTextTest, MissingFileGivesTheSystemsReason) {
    std::string text;
    int err = 0;
    const std::string path = (dir / "missing").string();
    EXPECT_EQ(ReadFileText(path, 100, text, &err), ReadFileResult::CannotOpen);
    EXPECT_EQ(err, ENOENT);
    EXPECT_EQ(ReadFileErrorText(path, ReadFileResult::CannotOpen, err, 100),
              path + ": cannot open: No such file or directory");
    EXPECT_EQ(ReadFileErrorText(path, ReadFileResult::ReadFailed, EIO, 100),
              path + ": read error: Input/output error");
}

TEST_F(FileTextTest, ReadFileOrErrorGivesTheTextOrTheReason) {
    std::ofstream(dir / "a.txt") << "abcdef";
    std::string text, error;
    EXPECT_TRUE(ReadFileOrError((dir / "a.txt").string(), 100, text, error));
    EXPECT_EQ(text, "abcdef");
    EXPECT_TRUE(error.empty());
    const std::string missing = (dir / "missing").string();
    EXPECT_FALSE(ReadFileOrError(missing, 100, text, error));
    EXPECT_EQ(error, missing + ": cannot open: No such file or directory");
    EXPECT_FALSE(ReadFileOrError((dir / "a.txt").string(), 3, text, error));
    EXPECT_EQ(error, (dir / "a.txt").string() + ": larger than 0 MB");
}

}  // namespace
}  // namespace xomplatform
