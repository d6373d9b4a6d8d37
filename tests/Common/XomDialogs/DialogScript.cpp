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

std::vector<std::wstring> DialogTest::TreeTexts(const xomplatform::DialogWindow& window,
                                                unsigned tree, int parent) {
    std::vector<std::wstring> texts;
    for (int entry : window.GetTreeChildren(tree, parent))
        texts.push_back(window.GetTreeItemText(tree, entry));
    return texts;
}

int DialogTest::FindTreeEntry(const xomplatform::DialogWindow& window, unsigned tree,
                              const std::wstring& text) {
    std::vector<int> pending = window.GetTreeChildren(tree, xomplatform::DialogWindow::kTreeRoot);
    for (std::size_t i = 0; i < pending.size(); ++i) {
        if (window.GetTreeItemText(tree, pending[i]) == text) return pending[i];
        for (int child : window.GetTreeChildren(tree, pending[i])) pending.push_back(child);
    }
    return -1;
}

void DialogTest::SelectTreeEntry(xomplatform::DialogWindow& window, unsigned tree,
                                 const std::wstring& text) {
    const int entry = FindTreeEntry(window, tree, text);
    ASSERT_GE(entry, 0) << "no tree entry " << testing::PrintToString(text);
    window.SelectItem(tree, entry);
}

std::vector<std::wstring> DialogTest::ListTexts(const xomplatform::DialogWindow& window,
                                                unsigned list) {
    const int count = window.GetListCount(list);
    std::vector<std::wstring> texts;
    texts.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) texts.push_back(window.GetListText(list, i));
    return texts;
}
