// The dialog layer through its two simplest dialogs: templates become windows with the texts of
// the string table, scripted input reaches the dialog as a user's would, and nothing starts a
// window system that is not there.
#include "Common/XomDialogs/XomDialog.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "Common/XomDialogs/DlgEnter.h"
#include "Common/XomDialogs/DlgSelect.h"
#include "DialogScript.h"
#include "qtdialogs/QtDialogBackend.h"

namespace {

using xomplatform::DialogWindow;
using Enter = CDlgEnter;

TEST_F(DialogTest, EnterShowsItsTemplateAndStoresTheTrimmedText) {
    std::wstring value = L"old";
    Then([](CXomDialog&, DialogWindow& w) {
        EXPECT_EQ(w.GetText(Enter::kPrompt), L"Please enter Job name");
        EXPECT_EQ(w.GetText(Enter::kEdit), L"old");
        EXPECT_EQ(w.GetText(IDOK), L"OK");
        EXPECT_EQ(w.GetText(Enter::kClear), L"Clear");
        EXPECT_FALSE(w.IsShown(Enter::kShow));
        EXPECT_FALSE(w.IsPasswordMode(Enter::kEdit));
        EXPECT_EQ(w.GetFocus(), Enter::kEdit);
        w.TypeText(Enter::kEdit, L"  new name \t");
        Screenshot(w, "enter");
        w.Click(IDOK);
    });
    Enter dialog(value, L"Job name", false);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(value, L"new name");
}

TEST_F(DialogTest, EnterCancelAndCloseLeaveTheValue) {
    std::wstring value = L"kept";
    Then([](CXomDialog&, DialogWindow& w) {
        w.TypeText(Enter::kEdit, L"typed");
        w.Click(IDCANCEL);
    });
    Enter dialog(value, L"Name", false);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(value, L"kept");
}

TEST_F(DialogTest, HiddenEntryShowsStarsUntilTheShowBoxIsChecked) {
    std::wstring value = L"secret";
    Then([](CXomDialog&, DialogWindow& w) {
        EXPECT_TRUE(w.IsShown(Enter::kShow));
        EXPECT_FALSE(w.GetCheck(Enter::kShow));
        EXPECT_TRUE(w.IsPasswordMode(Enter::kEdit));
        Screenshot(w, "enter-hidden");
        w.Click(Enter::kShow);
        EXPECT_FALSE(w.IsPasswordMode(Enter::kEdit));
        w.Click(Enter::kShow);
        EXPECT_TRUE(w.IsPasswordMode(Enter::kEdit));
        w.Click(Enter::kClear);
        EXPECT_EQ(w.GetText(Enter::kEdit), L"");
        EXPECT_EQ(w.GetFocus(), Enter::kEdit);
        w.TypeText(Enter::kEdit, L"s3cr\u00e9t");
        w.Click(IDOK);
    });
    Enter dialog(value, L"Password", true);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(value, L"s3cr\u00e9t");
}

TEST_F(DialogTest, LongAndNonAsciiTextsComeBackWhole) {
    std::wstring text;
    for (int i = 0; i < 400; ++i) text += L"Z\u00fcrich \u6e2c\u8a66 \U0001F5A8 ";
    text += L"end";
    std::wstring value;
    Then([&](CXomDialog&, DialogWindow& w) {
        w.TypeText(Enter::kEdit, text);
        w.Click(IDOK);
    });
    Enter dialog(value, L"\u9805\u76ee", false);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(value, text);
}

TEST_F(DialogTest, PinEntryTakesAtMostFourDigits) {
    std::wstring pin;
    Then([](CXomDialog&, DialogWindow& w) {
        w.TypeText(Enter::kEdit, L"98765");
        EXPECT_EQ(w.GetText(Enter::kEdit), L"9876");
        w.TypeText(Enter::kEdit, L"1a2-");
        EXPECT_EQ(w.GetText(Enter::kEdit), L"12");
        w.Click(IDOK);
    });
    Enter dialog(pin, L"PIN", true);
    dialog.SetDigitsOnly(4);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(pin, L"12");
}

TEST_F(DialogTest, PostedWorkRunsAfterTheDialogIsShown) {
    // A dialog that reads something slow posts the read to itself; the wait cursor covers it.
    class Reader : public CXomDialog {
      public:
        Reader() : CXomDialog(CDlgSelect::kTemplate) {}
        bool ranAfterInit = false;

      protected:
        void OnInitDialog() override {
            PostToSelf([this] {
                CWaitCursor wait(*this);
                ranAfterInit = Window() != nullptr;
                W().AddListItem(CDlgSelect::kList, L"read", 0);
            });
        }
    };
    Then([](CXomDialog& d, DialogWindow& w) {
        EXPECT_TRUE(static_cast<Reader&>(d).ranAfterInit);
        EXPECT_EQ(w.GetListText(CDlgSelect::kList, 0), L"read");
        w.Click(IDOK);
    });
    Reader reader;
    EXPECT_EQ(reader.DoModal(), IDOK);
}

std::vector<std::wstring> Names(int count) {
    std::vector<std::wstring> names;
    names.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) names.push_back(L"name" + std::to_wstring(i));
    return names;
}

TEST_F(DialogTest, SelectShowsTheFindBoxFromTenNames) {
    for (int count : {9, 10}) {
        const auto names = Names(count);
        std::wstring chosen = L"name3";
        int index = -1;
        Then([count](CXomDialog& d, DialogWindow& w) {
            EXPECT_EQ(w.GetText(CDlgSelect::kPrompt), L"Please select Stamp");
            EXPECT_EQ(w.GetListSelection(CDlgSelect::kList), 3);
            EXPECT_EQ(static_cast<CDlgSelect&>(d).ShownCount(), count);
            EXPECT_EQ(w.IsShown(CDlgSelect::kFind), count >= 10);
            EXPECT_EQ(w.IsShown(CDlgSelect::kFindLabel), count >= 10);
            if (count == 10) Screenshot(w, "select");
            w.Click(IDCANCEL);
        });
        CDlgSelect dialog(L"Stamp", &names, chosen, index);
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        EXPECT_EQ(index, -1);
        EXPECT_EQ(chosen, L"name3");
    }
}

TEST_F(DialogTest, SelectFindsTheFirstNameWithTheTypedBeginningInAnyCase) {
    std::vector<std::wstring> names = Names(8);
    names.insert(names.begin() + 2, {L"", L"Bravo", L"beta"});
    std::wstring chosen;
    int index = -1;
    Then([](CXomDialog&, DialogWindow& w) {
        EXPECT_EQ(w.GetListSelection(CDlgSelect::kList), -1);
        w.TypeText(CDlgSelect::kFind, L"b");
        EXPECT_EQ(w.GetListText(CDlgSelect::kList, w.GetListSelection(CDlgSelect::kList)),
                  L"Bravo");
        w.TypeText(CDlgSelect::kFind, L"BE");
        w.Click(IDOK);
    });
    CDlgSelect dialog(L"Stamp", &names, chosen, index);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    // The empty name is not shown, but the index is the one in the given list.
    EXPECT_EQ(chosen, L"beta");
    EXPECT_EQ(index, 4);
}

TEST_F(DialogTest, SelectTakesADoubleClickAsOk) {
    const auto names = Names(3);
    std::wstring chosen;
    int index = -1;
    Then([](CXomDialog&, DialogWindow& w) { w.DoubleClickItem(CDlgSelect::kList, 2); });
    CDlgSelect dialog(L"Media", &names, chosen, index);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(chosen, L"name2");
    EXPECT_EQ(index, 2);
}

TEST_F(DialogTest, SelectWithoutAListChoosesNothing) {
    std::wstring chosen = L"old";
    int index = 7;
    Then([](CXomDialog&, DialogWindow& w) {
        EXPECT_EQ(w.GetListText(CDlgSelect::kList, 0), L"Error: No list available");
        w.SelectItem(CDlgSelect::kList, 0);
        w.Click(IDOK);
    });
    CDlgSelect dialog(L"Media", nullptr, chosen, index);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(index, -1);
    EXPECT_EQ(chosen, L"old");
}

TEST(DialogLayer, WithoutADialogBackendNoDialogIsShown) {
    xomplatform::SetDialogBackendFactory({});
    std::wstring value = L"v";
    Enter dialog(value, L"Name", false);
    EXPECT_EQ(dialog.DoModal(), kDialogNotShown);
    EXPECT_EQ(value, L"v");
}

// Without a display and without a forced platform the Qt backend is never started (a Qt
// application would abort the process); in a fresh process, so no application exists yet.
TEST(DialogLayerDeathTest, NoDisplayMakesNoBackendAndDoesNotAbort) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            unsetenv("DISPLAY");
            unsetenv("WAYLAND_DISPLAY");
            unsetenv("QT_QPA_PLATFORM");
            xomqt::RegisterQtDialogs();
            std::wstring value = L"v";
            Enter dialog(value, L"Name", false);
            const bool notShown = dialog.DoModal() == kDialogNotShown;
            std::exit(notShown && xomplatform::GetDialogBackend() == nullptr ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
    // A display that does not answer (a stale DISPLAY of an ended ssh session) is no display.
    EXPECT_EXIT(
        {
            setenv("DISPLAY", "127.0.0.1:59", 1);  // port 6059: nobody listens there
            unsetenv("QT_QPA_PLATFORM");
            xomqt::RegisterQtDialogs();
            std::wstring value = L"v";
            Enter dialog(value, L"Name", false);
            std::exit(dialog.DoModal() == kDialogNotShown ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

// The environment of the display variables while it lives, then theirs again.
class DisplayEnvironment {
  public:
    DisplayEnvironment() {
        for (const char* name : kNames) {
            if (const char* value = std::getenv(name)) m_saved.emplace_back(name, value);
            unsetenv(name);
        }
    }
    ~DisplayEnvironment() {
        for (const char* name : kNames) unsetenv(name);
        for (const auto& [name, value] : m_saved) setenv(name.c_str(), value.c_str(), 1);
    }
    DisplayEnvironment(const DisplayEnvironment&) = delete;
    DisplayEnvironment& operator=(const DisplayEnvironment&) = delete;

  private:
    static constexpr const char* kNames[] = {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM",
                                             "XDG_RUNTIME_DIR"};
    std::vector<std::pair<std::string, std::string>> m_saved;
};

// A listening socket: a local one at path, or TCP on a loopback port.
class Listener {
  public:
    explicit Listener(const std::string& path) : m_path(path) {
        m_fd = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un a{};
        a.sun_family = AF_UNIX;
        path.copy(a.sun_path, sizeof a.sun_path - 1);
        unlink(path.c_str());
        m_ok = bind(m_fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 && listen(m_fd, 4) == 0;
    }
    explicit Listener(int port) {
        m_fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(static_cast<std::uint16_t>(port));
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        m_ok = bind(m_fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 && listen(m_fd, 4) == 0;
    }
    ~Listener() {
        close(m_fd);
        if (!m_path.empty()) unlink(m_path.c_str());
    }
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;
    bool Ok() const { return m_ok; }

  private:
    std::string m_path;
    int m_fd = -1;
    bool m_ok = false;
};

// Only a display that accepts a connection counts: the toolkit aborts the process on one that
// does not.
TEST(DisplayAvailable, OnlyADisplayThatAcceptsAConnectionCounts) {
    using xomplatform::DisplayAvailable;
    const DisplayEnvironment environment;
    EXPECT_FALSE(DisplayAvailable());
    for (const char* bad : {"nonsense", ":", ":x", "host:", ":123456"}) {
        setenv("DISPLAY", bad, 1);
        EXPECT_FALSE(DisplayAvailable()) << bad;
    }
    // A local X display: its socket in /tmp/.X11-unix.
    const std::string number = std::to_string(40000 + getpid() % 20000);
    mkdir("/tmp/.X11-unix", 01777);
    {
        const Listener x("/tmp/.X11-unix/X" + number);
        ASSERT_TRUE(x.Ok());
        setenv("DISPLAY", (":" + number).c_str(), 1);
        EXPECT_TRUE(DisplayAvailable());
        setenv("DISPLAY", ("unix:" + number + ".0").c_str(), 1);
        EXPECT_TRUE(DisplayAvailable());
    }
    EXPECT_FALSE(DisplayAvailable()) << "the display has gone";
    // A forwarded one: TCP port 6000 + number.
    for (int n = 50; n < 1000; ++n) {
        const Listener forwarded(6000 + n);
        if (!forwarded.Ok()) continue;
        setenv("DISPLAY", ("localhost:" + std::to_string(n) + ".0").c_str(), 1);
        EXPECT_TRUE(DisplayAvailable());
        break;
    }
    // Wayland, when Qt is told to use it; a platform of Qt's own needs no display.
    unsetenv("DISPLAY");
    const std::string runtime = testing::TempDir() + "runtime-" + std::to_string(getpid());
    mkdir(runtime.c_str(), 0700);
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    setenv("QT_QPA_PLATFORM", "wayland", 1);
    EXPECT_FALSE(DisplayAvailable());
    {
        const Listener wayland(runtime + "/wayland-0");
        ASSERT_TRUE(wayland.Ok());
        EXPECT_TRUE(DisplayAvailable());
    }
    rmdir(runtime.c_str());
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    EXPECT_FALSE(DisplayAvailable());
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    EXPECT_TRUE(DisplayAvailable());
}

}  // namespace
