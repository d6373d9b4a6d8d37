#include "DialogScript.h"

#include <filesystem>

#include "qtdialogs/QtDialogBackend.h"

// fontconfig keeps its caches for the process's life; LeakSanitizer would count them as leaks.
extern "C" const char* __lsan_default_suppressions() {  // NOLINT(bugprone-reserved-identifier)
    return "leak:libfontconfig.so\n";
}

void DialogTest::SetUp() {
    xomqt::RegisterQtDialogs();
    ASSERT_NE(xomplatform::GetDialogBackend(), nullptr)
        << "the dialog tests run in Qt's offscreen platform (QT_QPA_PLATFORM=offscreen)";
    xomplatform::SetMessageSink([this](const std::wstring& text, const std::wstring& caption,
                                       xomplatform::MessageIcon icon) {
        messages.push_back({text, caption, icon});
    });
    SetDialogShownHook([this](CXomDialog& dialog) {
        shown.push_back(dialog.TemplateId());
        xomplatform::DialogWindow& window = *dialog.Window();
        if (m_steps.empty()) {
            window.EndDialog(IDCANCEL);
            return;
        }
        Step step = std::move(m_steps.front());
        m_steps.pop_front();
        step(dialog, window);
    });
}

void DialogTest::TearDown() {
    SetDialogShownHook({});
    xomplatform::SetMessageSink({});
    EXPECT_TRUE(m_steps.empty()) << m_steps.size() << " scripted step(s) never ran";
}

void DialogTest::Screenshot(xomplatform::DialogWindow& window, const std::string& name) {
    std::filesystem::create_directories(XOM_DIALOG_SHOTS_DIR);
    const std::string path = std::string(XOM_DIALOG_SHOTS_DIR) + "/" + name + ".png";
    EXPECT_TRUE(window.SaveScreenshot(path));
    EXPECT_GT(std::filesystem::file_size(path), 1000u) << path;
}
