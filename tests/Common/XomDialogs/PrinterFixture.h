#pragma once
// A printer whose users and accounting values carry real password hashes: user "Alice" (password
// "alpha") and "Bob" ("bravo"); accounting field 0 value "P-1" ("one"), field 1 value "C-9"
// ("nine").
#include "DialogScript.h"
#include "PrinterUsersTestSupport.h"

class PrinterDialogTest : public DialogTest {
  protected:
    void SetUp() override {
        DialogTest::SetUp();
        data.m_userAccounting.m_sessionSalt = TestSalt(0x40, 64);
        data.m_userAccounting.m_userNamePrompt = L"Requester";
        data.m_users.push_back(Entry<CXomUserEntry>(L"Alice", L"alpha", 1));
        data.m_users.push_back(Entry<CXomUserEntry>(L"Bob", L"bravo", 5));
        data.m_accountingInformation.resize(2);
        data.m_accountingInformation[0].m_prompt = L"Project";
        data.m_accountingChildren1.push_back(
            Entry<CXomAccountingInformationChildEntry>(L"P-1", L"one", 2));
        data.m_accountingChildren2.push_back(
            Entry<CXomAccountingInformationChildEntry>(L"C-9", L"nine", 3));
    }
    template <class T>
    T Entry(const wchar_t* name, const wchar_t* password, std::uint8_t seed) {
        return HashedEntry<T>(name, password, data.m_userAccounting.m_sessionSalt, seed);
    }
    void Modes(int user, int field0, int field1) { SetAccessModes(data, user, field0, field1); }
    const OctetArray& Salt() const { return data.m_userAccounting.m_sessionSalt; }

    CXomPrinterData data;
};
