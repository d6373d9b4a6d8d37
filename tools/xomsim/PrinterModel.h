#pragma once
// The printer data a Q Series printer publishes over SNMP, as the description file gives it, and
// the MIB objects it becomes. One row per line, fields as key=value (see FieldReader.h); rows of a
// table are numbered from 1 in file order:
//
//   colorants count=4                                  process colorants of marker 1
//   anonymous mono=1 color=0                           rights of anonymous users; each optional,
//                                                      without color= there is no role-based
//                                                      access control
//   user-accounting access=4 prompt="User name" default=guest [session-salt=HEX]
//   user name=alice password=secret [mono=1] [color=1] [verify-salt=HEX] [token-salt=HEX]
//   accounting-field access=4 prompt=Project default= type-id=1
//   accounting-value field=1 name=P-1001 [password=alpha] [verify-salt=HEX] [token-salt=HEX]
//   media name="Plain paper 80 g" id=4294967297 type=1
//   tray name="Roll 1" type=6 units=4 cross-feed=914400 [capacity=-2] [level=-2] [status=0]
//        [media="Plain paper 80 g"]
//   stamp id=3 name=Approved             (also print-quality-preset, hpgl-preset, folder-preset)
//   exit-tray value=2
//
// A salt given in hex has 64 octets; an absent one is derived from the seed and the row's name,
// so the same file and seed give the same salts. A user or accounting value needs a
// user-accounting line (its session salt); an absent password is the empty password. Each
// stored hash is computed from the clear password, as the printer would store it.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tools/xomsim/Credentials.h"
#include "tools/xomsim/MibObject.h"

namespace xomsim {

struct Credential {
    std::string name;      // UTF-8
    std::string password;  // clear text, UTF-8
    Bytes verifySalt;      // 64 octets
    Bytes tokenSalt;       // 64 octets
    Bytes storedHash;      // credential hash with the verification salt, once complete
    std::string token;     // the Base64 token a job must carry, once complete
    int line = 0;          // where the description gives it
};

struct AccountingField {
    std::vector<Credential> values;
};

struct PrinterModel {
    bool colorantsGiven = false;
    bool anonymousGiven = false;
    bool userAccountingGiven = false;
    int userAccountingLine = 0;
    Bytes sessionSalt;
    std::vector<Credential> users;
    std::vector<AccountingField> accountingFields;  // field 1 first
    std::map<std::string, int> mediaIds;            // 64-bit id as text -> line, for duplicates
};

enum class ModelLine { NotModel, Taken, Failed };

// Takes a line whose first word is `key` when it is one of the model's directives, adding its
// objects; Failed with the reason in `error` (without file and line).
ModelLine ParseModelLine(const std::string& key, const std::string& rest, std::uint64_t seed,
                         int line, PrinterModel& model, MibObjects& objects, std::string& error);

// After the last line: the stored hashes and expected tokens, and their objects. False with
// "SOURCE:LINE: ..." in error.
bool CompleteModel(PrinterModel& model, const std::string& source, MibObjects& objects,
                   std::string& error);

// What the description's table directives are called, for error messages.
extern const char* const kModelDirectives;

}  // namespace xomsim
