// Cost of each plot's job description: the XML ticket with three tokens (six SHA-512 runs) and a
// long escaped job name, and one credential hash on its own.
#include <benchmark/benchmark.h>

#include "Common/XomJob/CredentialHash.h"
#include "Common/XomJob/JobTicket.h"

namespace {

OctetArray Salt(std::uint8_t seed) {
    OctetArray s(64);
    for (std::size_t i = 0; i < s.size(); ++i) s[i] = static_cast<std::uint8_t>(seed + i);
    return s;
}

void BM_CredentialHash(benchmark::State& state) {
    const OctetArray printer = Salt(1), entry = Salt(2);
    std::uint8_t out[64];
    for (auto _ : state) {
        benchmark::DoNotOptimize(ComputeCredentialHash(L"password", printer, entry, out));
    }
}
BENCHMARK(BM_CredentialHash);

void BM_JobTicket(benchmark::State& state) {
    DriverSettings s;
    s.JobName = std::wstring(static_cast<std::size_t>(state.range(0)), L'\u00E9');
    s.UserName = L"jdoe";
    s.UserPrintSecurity = 1;
    s.AcctInfo0Name = L"P1";
    s.AcctInfo1Name = L"P2";
    CXomPrinterData d;
    d.m_userAccounting.m_sessionSalt = Salt(3);
    d.m_users.resize(1);
    d.m_users[0].m_name = L"jdoe";
    d.m_users[0].m_serverAuthSalt = Salt(4);
    d.m_accountingInformation.resize(2);
    d.m_accountingInformation[0].m_access = d.m_accountingInformation[1].m_access = 4;
    d.m_accountingChildren1.resize(1);
    d.m_accountingChildren1[0].m_name = L"P1";
    d.m_accountingChildren1[0].m_serverAuthSalt = Salt(5);
    d.m_accountingChildren2 = d.m_accountingChildren1;
    d.m_accountingChildren2[0].m_name = L"P2";
    JobTicketInputs in;
    in.settings = &s;
    in.printerData = &d;
    std::string text;
    for (auto _ : state) {
        WriteJobTicket(in, text);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_JobTicket)->Arg(15)->Arg(4000);

}  // namespace

BENCHMARK_MAIN();
