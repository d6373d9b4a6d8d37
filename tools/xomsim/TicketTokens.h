#pragma once
// The printer's check of a job's credentials: the job ticket names a user and accounting values,
// each perhaps with a token; the printer recomputes each token from its own users and values and
// says whether it matches.
#include <string>
#include <string_view>
#include <vector>

#include "tools/xomsim/PrinterModel.h"

namespace xomsim {

struct TicketCredential {
    enum class Kind { User, AccountingValue };
    Kind kind = Kind::User;
    int field = 0;     // accounting values: the ticket's TypeId (1 or 2), 0 when it has none
    std::string name;  // UTF-8, character references resolved
    bool hasToken = false;
    std::string token;
};

// The User and InformationElement elements of the XML ticket at the start of the job, in order;
// empty when the job has no ticket or the ticket names nobody.
std::vector<TicketCredential> ReadTicketCredentials(std::string_view job);

// "user alice valid, AccountingInfo 1 P-1001 invalid": per credential "valid" or "invalid" (the
// token against the one expected), "no token", or "unknown" (the printer lists no such user or
// value); "none" when the ticket names nobody.
std::string CheckTicketTokens(const PrinterModel& printer,
                              const std::vector<TicketCredential>& credentials);

}  // namespace xomsim
