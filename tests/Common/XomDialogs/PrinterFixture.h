#pragma once
// A printer whose users and accounting values carry real password hashes: user "Alice" (password
// "alpha") and "Bob" ("bravo"); accounting field 0 value "P-1" ("one"), field 1 value "C-9"
// ("nine").
#include "Common/XomJob/CredentialHash.h"
#include "CredentialHashTestSupport.h"
#include "DialogScript.h"
#include "juxcommoncode/PrinterData/PrinterData.h"

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
        T e;
        e.m_name = name;
        e.m_clientAuthSalt = TestSalt(seed, 64);
        e.m_serverAuthSalt = TestSalt(static_cast<std::uint8_t>(seed + 100), 64);
        std::uint8_t h[64];
        EXPECT_TRUE(ComputeCredentialHash(password, data.m_userAccounting.m_sessionSalt,
                                          e.m_clientAuthSalt, h));
        e.m_clientAuthToken.assign(h, h + 64);
        return e;
    }
    void Modes(int user, int field0, int field1) {
        data.m_userAccounting.m_userAccess = user;
        data.m_accountingInformation[0].m_access = field0;
        data.m_accountingInformation[1].m_access = field1;
    }
    const OctetArray& Salt() const { return data.m_userAccounting.m_sessionSalt; }

    CXomPrinterData data;
};
