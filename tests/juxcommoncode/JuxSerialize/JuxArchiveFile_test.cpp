#include "juxcommoncode/JuxSerialize/JuxArchiveFile.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "platform/MessageService.h"

namespace JuxNetwork {
namespace {

namespace fs = std::filesystem;

class JuxArchiveFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "juxarchive-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        path = dir / "log.dat";
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }

    std::wstring WPath() const { return path.wstring(); }

    std::string ReadFile() const {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    void WriteFile(const std::string& bytes) const {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    }
    std::vector<std::string> DirEntries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename());
        return names;
    }

    fs::path dir;
    fs::path path;
};

const std::string kMarker("\xE9\xA4\x75\x5D\x78\x44\x75\x4A", 8);

std::string Header(std::uint64_t length) {
    std::string h = kMarker;
    for (int i = 0; i < 8; ++i) h += static_cast<char>((length >> (8 * i)) & 0xFF);
    return h + std::string(2, '\0');
}

TEST_F(JuxArchiveFileTest, WrittenFileHasHeaderWithFinalLengthAndReadsBack) {
    CJuxArchiveFile out(WPath());
    ASSERT_EQ(out.OpenForWrite(), kS_OK);
    EXPECT_TRUE(out.IsStoring());
    EXPECT_EQ(out.GetPosition(), 18u);
    ASSERT_EQ(out.WriteBytes("content", 7), kS_OK);
    ASSERT_EQ(out.Close(), kS_OK);
    EXPECT_FALSE(out.IsOpen());

    EXPECT_EQ(ReadFile(), Header(25) + "content");
    EXPECT_EQ(DirEntries(), std::vector<std::string>{"log.dat"}) << "no temporary file left";

    CJuxArchiveFile in(WPath());
    ASSERT_EQ(in.OpenForRead(), kS_OK);
    EXPECT_FALSE(in.IsStoring());
    EXPECT_EQ(in.GetHeader().fileLength, 25u);
    EXPECT_EQ(in.GetFileSize(), 25u);
    char back[7];
    ASSERT_EQ(in.ReadBytes(back, 7), kS_OK);
    EXPECT_EQ(std::string(back, 7), "content");
    EXPECT_EQ(in.GetPosition(), 25u);
}

TEST_F(JuxArchiveFileTest, HeaderChecksRejectForeignEmptyAndShortFiles) {
    struct Case {
        std::string bytes;
        std::wstring text;
    };
    const Case cases[] = {
        {std::string(18, 'x') + "abcd",
         L"ERROR trying to read JuxArchiveFile: protocol not valid."},
        {Header(0) + std::string(10, 'z'), L"ERROR trying to read JuxArchiveFile: empty file"},
        {kMarker.substr(0, 5), L"CJuxArchiveFile read count error: expected 18 != acutal 5"},
        {"", L"CJuxArchiveFile read count error: expected 18 != acutal 0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes.size());
        WriteFile(c.bytes);
        CJuxArchiveFile in(WPath());
        EXPECT_EQ(in.OpenForRead(), kE_FAIL);
        EXPECT_EQ(in.GetResult(), kE_FAIL);
        EXPECT_EQ(in.GetErrorText(), c.text);
    }
    // The reserved word is not checked.
    WriteFile(Header(20).substr(0, 16) + "\xff\xff" + "ab");
    CJuxArchiveFile in(WPath());
    EXPECT_EQ(in.OpenForRead(), kS_OK);
}

TEST_F(JuxArchiveFileTest, ShortContentReadFailsAndNextGoodReadClearsTheResult) {
    WriteFile(Header(23) + "abcde");
    CJuxArchiveFile in(WPath());
    ASSERT_EQ(in.OpenForRead(), kS_OK);
    char bytes[8];
    ASSERT_EQ(in.ReadBytes(bytes, 2), kS_OK);
    EXPECT_EQ(in.ReadBytes(bytes, 8), kE_FAIL);
    EXPECT_EQ(in.GetErrorText(), L"CJuxArchiveFile read count error: expected 8 != acutal 3");
    EXPECT_EQ(in.ReadBytes(bytes, 0), kS_OK);
    EXPECT_EQ(in.GetResult(), kS_OK);
}

TEST_F(JuxArchiveFileTest, OpensAreExclusiveUntilClosed) {
    WriteFile(Header(20) + "ok");
    {
        CJuxArchiveFile reader(WPath());
        reader.SetShowErrors(false);
        ASSERT_EQ(reader.OpenForRead(), kS_OK);

        CJuxArchiveFile second(WPath());
        second.SetShowErrors(false);
        EXPECT_EQ(second.OpenForRead(), kE_FAIL);
        EXPECT_EQ(second.GetOpenError().systemError, EWOULDBLOCK);
        EXPECT_EQ(second.GetErrorText(),
                  L"File error: Resource temporarily unavailable, " + WPath());
        EXPECT_FALSE(second.IsOpen());
        EXPECT_EQ(second.OpenForWrite(), kE_FAIL);
    }
    {
        CJuxArchiveFile writer(WPath());
        writer.SetShowErrors(false);
        ASSERT_EQ(writer.OpenForWrite(), kS_OK);
        CJuxArchiveFile reader(WPath());
        reader.SetShowErrors(false);
        EXPECT_EQ(reader.OpenForRead(), kE_FAIL);
        CJuxArchiveFile other(WPath());
        other.SetShowErrors(false);
        EXPECT_EQ(other.OpenForWrite(), kE_FAIL);
        ASSERT_EQ(writer.WriteBytes("new", 3), kS_OK);
        ASSERT_EQ(writer.Close(), kS_OK);
        EXPECT_EQ(reader.OpenForRead(), kS_OK) << "free again after Close";
    }
    EXPECT_EQ(ReadFile(), Header(21) + "new");
}

TEST_F(JuxArchiveFileTest, LockHoldsAcrossProcesses) {
    WriteFile(Header(20) + "ok");
    CJuxArchiveFile reader(WPath());
    ASSERT_EQ(reader.OpenForRead(), kS_OK);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        CJuxArchiveFile other(WPath());
        other.SetShowErrors(false);
        ::_exit(other.OpenForWrite() == kE_FAIL && other.OpenForRead() == kE_FAIL ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST_F(JuxArchiveFileTest, UnfinishedWriteLeavesTheOldFileWhole) {
    const std::string old = Header(24) + "before";
    WriteFile(old);
    {
        CJuxArchiveFile writer(WPath());
        ASSERT_EQ(writer.OpenForWrite(), kS_OK);
        ASSERT_EQ(writer.WriteBytes("half", 4), kS_OK);
        EXPECT_EQ(ReadFile(), old) << "nothing changes before Close";
    }  // destroyed without Close, as after a failure of the caller
    EXPECT_EQ(ReadFile(), old);
    EXPECT_EQ(DirEntries(), std::vector<std::string>{"log.dat"});

    // With no old file, an unfinished write leaves nothing behind either.
    fs::remove(path);
    {
        CJuxArchiveFile writer(WPath());
        ASSERT_EQ(writer.OpenForWrite(), kS_OK);
    }
    EXPECT_TRUE(DirEntries().empty());
}

// A write that fails half-way (here the file-size limit: EFBIG) is reported, discards the new file
// and keeps the old one. Run in a child so the limit does not touch the test runner.
TEST_F(JuxArchiveFileTest, FailedWriteIsReportedAndKeepsTheOldFile) {
    const std::string old = Header(24) + "before";
    WriteFile(old);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{64, 64};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        CJuxArchiveFile writer(WPath());
        writer.SetShowErrors(false);
        if (writer.OpenForWrite() != kS_OK) ::_exit(2);
        const std::string big(1000, 'x');
        if (writer.WriteBytes(big.data(), big.size()) != kE_FAIL) ::_exit(3);
        if (writer.IsOpen()) ::_exit(4);
        if (writer.GetErrorText().rfind(L"File error: File too large, ", 0) != 0) ::_exit(5);
        if (writer.WriteBytes("x", 1) != kE_FAIL || writer.Close() != kE_FAIL) ::_exit(6);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(ReadFile(), old);
    EXPECT_EQ(DirEntries(), std::vector<std::string>{"log.dat"});
}

TEST_F(JuxArchiveFileTest, ReportFileErrorShowsTheMessageOnlyWhenAsked) {
    std::vector<std::tuple<std::wstring, std::wstring, xomplatform::MessageIcon>> shown;
    auto previous = xomplatform::SetMessageSink(
        [&](const std::wstring& text, const std::wstring& caption, xomplatform::MessageIcon icon) {
            shown.emplace_back(text, caption, icon);
        });
    const std::wstring missing = (dir / "missing" / "log.dat").wstring();
    const std::wstring expected = L"File error: No such file or directory, " + missing;

    CJuxArchiveFile loud(missing);
    EXPECT_EQ(loud.OpenForRead(), kE_FAIL);
    EXPECT_EQ(loud.GetErrorText(), expected);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(std::get<0>(shown[0]), expected);

    CJuxArchiveFile quiet(missing);
    quiet.SetShowErrors(false);
    EXPECT_EQ(quiet.OpenForWrite(), kE_FAIL);
    EXPECT_EQ(quiet.GetErrorText(), expected);
    EXPECT_EQ(shown.size(), 1u);
    xomplatform::SetMessageSink(previous);

    EXPECT_FALSE(fs::exists(dir / "missing"));
}

TEST_F(JuxArchiveFileTest, ReplacementKeepsTheFilesPermissions) {
    WriteFile(Header(20) + "ok");
    ::chmod(path.c_str(), 0640);
    CJuxArchiveFile writer(WPath());
    ASSERT_EQ(writer.OpenForWrite(), kS_OK);
    ASSERT_EQ(writer.Close(), kS_OK);
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

}  // namespace
}  // namespace JuxNetwork
