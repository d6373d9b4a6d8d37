#pragma once
// Scripted input for the dialog tests: each dialog that opens runs the next step of the script
// (type, click, select, press OK or Cancel through its window); a dialog that opens when the script
// is used up is cancelled, so no test waits for a user. Messages are captured, not shown.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "Common/XomDialogs/XomDialog.h"
#include "platform/MessageService.h"

struct CapturedMessage {
    std::wstring text;
    std::wstring caption;
    xomplatform::MessageIcon icon;
};

class DialogTest : public testing::Test {
  public:
    using Step = std::function<void(CXomDialog& dialog, xomplatform::DialogWindow& window)>;

  protected:
    void SetUp() override;
    void TearDown() override;

    // Adds the step the next dialog to open runs.
    void Then(Step step) { m_steps.push_back(std::move(step)); }
    // Puts steps before all others: for the dialogs a running step is about to open.
    void Next(std::vector<Step> steps) {
        m_steps.insert(m_steps.begin(), steps.begin(), steps.end());
    }
    // Writes the dialog's picture as screenshots/<name>.png and checks it was written.
    static void Screenshot(xomplatform::DialogWindow& window, const std::string& name);

    // The tree's entries beneath parent (the top ones by default) by their texts.
    static std::vector<std::wstring> TreeTexts(const xomplatform::DialogWindow& window,
                                               unsigned tree,
                                               int parent = xomplatform::DialogWindow::kTreeRoot);
    // The first entry with that text, at any depth; -1 when there is none.
    static int FindTreeEntry(const xomplatform::DialogWindow& window, unsigned tree,
                             const std::wstring& text);
    // Clicks the entry with that text, as a user would; fails the test when there is none.
    static void SelectTreeEntry(xomplatform::DialogWindow& window, unsigned tree,
                                const std::wstring& text);
    // The texts of a list or combo box's items, in order.
    static std::vector<std::wstring> ListTexts(const xomplatform::DialogWindow& window,
                                               unsigned list);

    std::vector<unsigned> shown;  // template ids of the dialogs opened, in order
    std::vector<CapturedMessage> messages;

  private:
    std::deque<Step> m_steps;
};
