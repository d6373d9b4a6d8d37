// The identification on a terminal: only the missing values are asked, listed names by number,
// passwords without echo, and the end of input gives up.
#include "Common/XomDialogs/TerminalPrompts.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "PrinterFixture.h"
#include "platform/Utf8.h"

namespace {

// Runs the terminal identification with input as typed; the output in `printed`.
class Terminal : public PrinterDialogTest {
  protected:
    bool Run(DriverSettings& settings, const std::string& input) {
        std::FILE* in = fmemopen(const_cast<char*>(input.data()), input.size(), "r");
        char* buffer = nullptr;
        std::size_t size = 0;
        std::FILE* out = open_memstream(&buffer, &size);
        const bool done = CompletePlotIdentificationOnTerminal(settings, data, in, out);
        std::fclose(in);
        std::fclose(out);
        printed = xomplatform::FromUtf8(std::string(buffer, size));
        std::free(buffer);
        return done;
    }
    std::wstring printed;
};

TEST_F(Terminal, AsksOnlyWhatIsMissingAndTakesListedNamesByNumber) {
    Modes(4, 2, 1);
    DriverSettings settings;
    settings.AcctInfo0Name = L"kept";
    ASSERT_TRUE(Run(settings, "2\nwrong\n2\nbravo\n"));
    EXPECT_EQ(settings.UserName, L"Bob");
    EXPECT_EQ(settings.UserValidPassword, L"bravo");
    EXPECT_EQ(settings.AcctInfo0Name, L"kept");
    EXPECT_NE(printed.find(L"  2. Bob\n"), std::wstring::npos);
    EXPECT_EQ(printed.find(L"Project:"), std::wstring::npos);           // valid already: not asked
    EXPECT_NE(printed.find(L"Requester Invalid"), std::wstring::npos);  // after the wrong one
}

TEST_F(Terminal, FreeValuesKeepNonAsciiAndLongTextsWhole) {
    Modes(2, 2, 1);
    DriverSettings settings;
    std::wstring longName(3000, L'\u00e9');
    const std::string input = xomplatform::ToUtf8(L"\u5c71\u7530\n" + longName + L"\n");
    ASSERT_TRUE(Run(settings, input));
    EXPECT_EQ(settings.UserName, L"\u5c71\u7530");
    EXPECT_EQ(settings.AcctInfo0Name, longName);
}

TEST_F(Terminal, TheEndOfInputGivesUp) {
    Modes(3, 1, 1);
    DriverSettings settings;
    EXPECT_FALSE(Run(settings, ""));
    EXPECT_FALSE(Run(settings, "nobody\nnobody\nnobody\n"));  // never listed: three rounds
    EXPECT_EQ(settings.UserName, L"nobody");
}

TEST(TerminalEcho, APasswordTypedIsNotEchoed) {
    int master = -1;
    int slave = -1;
    ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    std::FILE* in = fdopen(slave, "r");
    std::wstring line;
    {
        CTerminalEchoOff echoOff(slave);
        ASSERT_EQ(write(master, "hunter2\n", 8), 8);
        ASSERT_TRUE(ReadTerminalLine(in, line));
    }
    EXPECT_EQ(line, L"hunter2");
    // With the echo back on, a typed line comes back to the typist; the password did not.
    ASSERT_EQ(write(master, "shown\n", 6), 6);
    ASSERT_TRUE(ReadTerminalLine(in, line));
    std::string echoed;
    char buffer[256];
    pollfd p{master, POLLIN, 0};
    while (poll(&p, 1, 200) > 0) {
        const ssize_t n = read(master, buffer, sizeof buffer);
        if (n <= 0) break;
        echoed.append(buffer, static_cast<std::size_t>(n));
    }
    EXPECT_NE(echoed.find("shown"), std::string::npos);
    EXPECT_EQ(echoed.find("hunter2"), std::string::npos);
    std::fclose(in);
    close(master);
}

}  // namespace
