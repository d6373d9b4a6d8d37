#pragma once
// Printer data whose user and accounting entries carry real password hashes, for the tests of the
// credential checks and of the dialogs that ask for them.
#include <gtest/gtest.h>

#include <cstdint>

#include "Common/XomJob/CredentialHash.h"
#include "CredentialHashTestSupport.h"
#include "juxcommoncode/PrinterData/PrinterData.h"

// A user or accounting entry named name whose hash is that of password under the printer's
// session salt; its own salts are made from seed.
template <class T>
T HashedEntry(const wchar_t* name, const wchar_t* password, const OctetArray& sessionSalt,
              std::uint8_t seed) {
    T e;
    e.m_name = name;
    e.m_clientAuthSalt = TestSalt(seed, 64);
    e.m_serverAuthSalt = TestSalt(static_cast<std::uint8_t>(seed + 100), 64);
    std::uint8_t h[64];
    EXPECT_TRUE(ComputeCredentialHash(password, sessionSalt, e.m_clientAuthSalt, h));
    e.m_clientAuthToken.assign(h, h + 64);
    return e;
}

// The access modes of the user field and of the two accounting fields (which must exist).
inline void SetAccessModes(CXomPrinterData& data, int user, int field0, int field1) {
    data.m_userAccounting.m_userAccess = user;
    data.m_accountingInformation[0].m_access = field0;
    data.m_accountingInformation[1].m_access = field1;
}
