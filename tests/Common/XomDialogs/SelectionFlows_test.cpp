// The selection flows: each outcome (chosen, cancelled, no list) of each flow, with the
// password loop of the listed-with-password mode.
#include "Common/XomDialogs/SelectionFlows.h"

#include <gtest/gtest.h>

#include "Common/XomDialogs/DlgEnter.h"
#include "Common/XomDialogs/DlgSelect.h"
#include "PrinterFixture.h"

namespace {

using xomplatform::DialogWindow;
using Flows = PrinterDialogTest;

DialogTest::Step Pick(int index) {
    return [index](CXomDialog&, DialogWindow& w) {
        w.SelectItem(CDlgSelect::kList, index);
        w.Click(IDOK);
    };
}
DialogTest::Step Type(const std::wstring& text) {
    return [text](CXomDialog&, DialogWindow& w) {
        w.TypeText(CDlgEnter::kEdit, text);
        w.Click(IDOK);
    };
}
DialogTest::Step Cancel() {
    return [](CXomDialog&, DialogWindow& w) { w.Click(IDCANCEL); };
}

TEST_F(Flows, PasswordUserIsAskedAgainAfterAWrongPassword) {
    std::wstring name = L"Alice";
    std::wstring password = L"alpha";
    Then(Pick(1));
    Then([](CXomDialog&, DialogWindow& w) {
        EXPECT_EQ(w.GetText(CDlgEnter::kPrompt), L"Please enter Password");
        EXPECT_TRUE(w.IsPasswordMode(CDlgEnter::kEdit));
        w.TypeText(CDlgEnter::kEdit, L"wrong");
        w.Click(IDOK);
    });
    Then(Type(L"bravo"));
    EXPECT_EQ(SelectUserFlow(name, password, data.m_users, 4, L"User", Salt()), kFlowChosen);
    EXPECT_EQ(name, L"Bob");
    EXPECT_EQ(password, L"bravo");
    EXPECT_EQ(shown, (std::vector<unsigned>{503, 504, 504}));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, L"Invalid Password. Please try again.");
    EXPECT_EQ(messages[0].caption, L"XOM Printer Message");
}

TEST_F(Flows, CancellingThePasswordKeepsThePreviousUser) {
    std::wstring name = L"Alice";
    std::wstring password = L"alpha";
    Then(Pick(1));
    Then(Type(L"wrong"));
    Then(Cancel());
    EXPECT_EQ(SelectUserFlow(name, password, data.m_users, 4, L"User", Salt()), kFlowCancelled);
    EXPECT_EQ(name, L"Alice");
    EXPECT_EQ(password, L"alpha");
}

TEST_F(Flows, AStoredPasswordThatVerifiesIsTakenAtOnce) {
    std::wstring name;
    std::wstring password = L"alpha";
    Then(Pick(0));
    EXPECT_EQ(SelectUserFlow(name, password, data.m_users, 4, L"User", Salt()), kFlowChosen);
    EXPECT_EQ(name, L"Alice");
    EXPECT_EQ(shown, std::vector<unsigned>{503});
}

TEST_F(Flows, AnEntryWithoutHashOrSaltFailsTheCheckAtOnce) {
    data.m_users[0].m_clientAuthToken.clear();
    std::wstring name;
    std::wstring password;
    Then(Pick(0));
    EXPECT_EQ(SelectUserFlow(name, password, data.m_users, 4, L"User", Salt()), kFlowCancelled);
    EXPECT_EQ(name, L"");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, L"Invalid Password. Please try again.");
}

TEST_F(Flows, ListModesNeedAListAndFreeModesTypeTheValue) {
    std::wstring name = L"kept";
    std::wstring password;
    const std::vector<CXomUserEntry> none;
    EXPECT_EQ(SelectUserFlow(name, password, none, 3, L"User", Salt()), kFlowNoList);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, L"User List does not exist.");
    EXPECT_EQ(messages[0].caption, L"XOM Printer Message");
    EXPECT_EQ(messages[0].icon, xomplatform::MessageIcon::Stop);

    Then(Pick(1));  // mode 3: no password asked
    EXPECT_EQ(SelectUserFlow(name, password, data.m_users, 3, L"User", Salt()), kFlowChosen);
    EXPECT_EQ(name, L"Bob");
    Then(Cancel());
    EXPECT_EQ(SelectUserFlow(name, password, data.m_users, 3, L"User", Salt()), kFlowCancelled);
    Then([](CXomDialog&, DialogWindow& w) {
        EXPECT_EQ(w.GetText(CDlgEnter::kEdit), L"Bob");
        EXPECT_FALSE(w.IsPasswordMode(CDlgEnter::kEdit));
        w.TypeText(CDlgEnter::kEdit, L"\u00c9milie");
        w.Click(IDOK);
    });
    EXPECT_EQ(SelectUserFlow(name, password, data.m_users, 2, L"User", Salt()), kFlowChosen);
    EXPECT_EQ(name, L"\u00c9milie");
    Then(Cancel());
    EXPECT_EQ(SelectUserFlow(name, password, data.m_users, 2, L"User", Salt()), kFlowCancelled);
    EXPECT_EQ(name, L"\u00c9milie");
    EXPECT_EQ(shown, (std::vector<unsigned>{503, 503, 504, 504}));
}

TEST_F(Flows, AccountingValuesFollowTheSameRules) {
    std::wstring value;
    std::wstring password;
    Then(Pick(0));
    Then(Type(L"one"));
    EXPECT_EQ(
        SelectAccountingFlow(value, password, data.m_accountingChildren1, 4, L"Project", Salt()),
        kFlowChosen);
    EXPECT_EQ(value, L"P-1");
    EXPECT_EQ(password, L"one");
    EXPECT_EQ(SelectAccountingFlow(value, password, {}, 4, L"Project", Salt()), kFlowNoList);
    EXPECT_EQ(messages.back().text, L"Project List does not exist.");
}

TEST_F(Flows, TablesStartFromTheirDefaults) {
    EXPECT_EQ(MediaDefault({L"Bond", L"Film"}), L"Bond");
    EXPECT_EQ(MediaDefault({}), L"");
    EXPECT_EQ(PresetDefault({L"Fast"}), L"");
    EXPECT_EQ(PresetDefault({L"Fast", L"Best"}), L"Fast");

    std::vector<CXomMediaEntry> media(2);
    media[0].m_name = L"Bond";
    media[1].m_name = L"Film";
    std::wstring mediaName;
    Then([](CXomDialog&, DialogWindow& w) {
        EXPECT_EQ(w.GetListSelection(CDlgSelect::kList), 0);  // the default
        w.SelectItem(CDlgSelect::kList, 1);
        w.Click(IDOK);
    });
    EXPECT_EQ(SelectMediaFlow(mediaName, media, L"Media Type"), kFlowChosen);
    EXPECT_EQ(mediaName, L"Film");

    std::wstring stamp = L"Draft";
    EXPECT_EQ(SelectTableFlow(stamp, {}, L"Stamp", L""), kFlowNoList);
    EXPECT_EQ(messages.back().text, L"Stamp List does not exist.");
    Then(Cancel());
    EXPECT_EQ(SelectTableFlow(stamp, {L"Final"}, L"Stamp", L""), kFlowCancelled);
    EXPECT_EQ(stamp, L"Draft");
}

TEST_F(Flows, FixedListsStoreTheIndexAndTraysTheirValue) {
    std::int32_t alignment = 0;
    Then(Pick(2));
    EXPECT_EQ(SelectFixedFlow(alignment, {L"Default", L"Left", L"Center", L"Right"}, L"Alignment"),
              kFlowChosen);
    EXPECT_EQ(alignment, 2);

    std::vector<CXomExitTrayLocationEntry> trays(2);
    trays[0].m_name = L"Top";
    trays[0].m_value = 1;
    trays[1].m_name = L"Below";
    trays[1].m_value = 4;
    std::int32_t printExit = 1;
    Then([](CXomDialog&, DialogWindow& w) {
        EXPECT_EQ(w.GetListSelection(CDlgSelect::kList), 0);
        w.SelectItem(CDlgSelect::kList, 1);
        w.Click(IDOK);
    });
    EXPECT_EQ(SelectExitTrayFlow(printExit, trays, L"Exit Tray"), kFlowChosen);
    EXPECT_EQ(printExit, 4);
    Then(Cancel());
    EXPECT_EQ(SelectExitTrayFlow(printExit, trays, L"Exit Tray"), kFlowCancelled);
    EXPECT_EQ(printExit, 4);
}

}  // namespace
