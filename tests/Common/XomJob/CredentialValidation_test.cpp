#include "Common/XomJob/CredentialValidation.h"

#include <gtest/gtest.h>

#include "PrinterUsersTestSupport.h"

namespace {

// A printer with user "Alice" (password "alpha") and, for each accounting field, one value
// "P-1" (password "one") or "P-2" (password "two").
class PrinterWithUsers : public testing::Test {
  protected:
    void SetUp() override {
        data.m_userAccounting.m_sessionSalt = TestSalt(0x40, 64);
        data.m_users.push_back(Entry<CXomUserEntry>(L"Alice", L"alpha", 1));
        data.m_accountingInformation.resize(2);
        data.m_accountingChildren1.push_back(
            Entry<CXomAccountingInformationChildEntry>(L"P-1", L"one", 2));
        data.m_accountingChildren2.push_back(
            Entry<CXomAccountingInformationChildEntry>(L"P-2", L"two", 3));
        settings.UserPrompt = L"User";
        settings.AcctInfo0Prompt = L"Project";
        settings.AcctInfo1Prompt = L"Cost centre";
    }
    template <class T>
    T Entry(const wchar_t* name, const wchar_t* password, std::uint8_t seed) {
        return HashedEntry<T>(name, password, data.m_userAccounting.m_sessionSalt, seed);
    }
    void Modes(int user, int field0, int field1) { SetAccessModes(data, user, field0, field1); }
    CXomPrinterData data;
    DriverSettings settings;
};

TEST_F(PrinterWithUsers, ModeOneIsAlwaysValid) {
    Modes(1, 1, 1);
    std::wstring message;
    EXPECT_TRUE(ValidateCredentials(settings, &data, &message));
    EXPECT_EQ(message, L"");
}

TEST_F(PrinterWithUsers, NoPrinterDataIsNeverValid) {
    EXPECT_FALSE(ValidateCredentials(settings, nullptr));
}

TEST_F(PrinterWithUsers, FreeEntryNeedsAnyNameButNoPassword) {
    Modes(2, 1, 1);
    std::wstring message;
    EXPECT_FALSE(ValidateCredentials(settings, &data, &message));
    EXPECT_EQ(message, L"User Required");
    settings.UserName = L"anyone";
    EXPECT_TRUE(ValidateCredentials(settings, &data, &message));
}

TEST_F(PrinterWithUsers, ListedNamesCompareCaseSensitively) {
    Modes(3, 1, 1);
    std::wstring message;
    settings.UserName = L"ALICE";
    EXPECT_FALSE(ValidateCredentials(settings, &data, &message));
    EXPECT_EQ(message, L"User Invalid");
    settings.UserName = L"Alice";
    EXPECT_TRUE(ValidateCredentials(settings, &data, &message));
}

TEST_F(PrinterWithUsers, PasswordModeVerifiesAgainstTheStoredHash) {
    Modes(4, 4, 4);
    settings.UserName = L"Alice";
    settings.AcctInfo0Name = L"P-1";
    settings.AcctInfo1Name = L"P-2";
    settings.UserValidPassword = L"alpha";
    settings.AcctInfo0ValidPassword = L"one";
    settings.AcctInfo1ValidPassword = L"two";
    EXPECT_TRUE(ValidateCredentials(settings, &data));
    settings.AcctInfo0ValidPassword = L"One";
    std::wstring message;
    EXPECT_FALSE(ValidateCredentials(settings, &data, &message));
    EXPECT_EQ(message, L"Project Invalid");
}

TEST_F(PrinterWithUsers, MessagesJoinInTheOrderUserFieldZeroFieldOne) {
    Modes(2, 2, 3);
    settings.AcctInfo1Name = L"unlisted";
    std::wstring message;
    EXPECT_FALSE(ValidateCredentials(settings, &data, &message));
    EXPECT_EQ(message, L"User Required | Project Required | Cost centre Invalid");
}

TEST_F(PrinterWithUsers, UserPrintSecurityDemandsAVerifiedUserWhateverThePrinterSays) {
    Modes(1, 1, 1);
    settings.UserPrintSecurity = 1;
    settings.UserName = L"Alice";
    settings.UserValidPassword = L"wrong";
    EXPECT_FALSE(ValidateCredentials(settings, &data));
    settings.UserValidPassword = L"alpha";
    EXPECT_TRUE(ValidateCredentials(settings, &data));
}

TEST_F(PrinterWithUsers, UnknownModesFailWithoutAMessage) {
    Modes(7, 1, 1);
    std::wstring message;
    settings.UserName = L"Alice";
    EXPECT_FALSE(ValidateCredentials(settings, &data, &message));
    EXPECT_EQ(message, L"");
}

TEST_F(PrinterWithUsers, AMissingAccountingFieldFailsValidation) {
    Modes(1, 1, 1);
    data.m_accountingInformation.resize(1);
    EXPECT_FALSE(ValidateCredentials(settings, &data));
}

TEST(FindUserByName, FirstExactMatchOrMinusOne) {
    std::vector<CXomUserEntry> users(3);
    users[0].m_name = L"bob";
    users[1].m_name = L"Bob";
    users[2].m_name = L"Bob";
    EXPECT_EQ(FindUserByName(L"Bob", users), 1);
    EXPECT_EQ(FindUserByName(L"BOB", users), -1);
}

}  // namespace
