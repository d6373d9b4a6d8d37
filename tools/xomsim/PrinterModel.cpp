#include "tools/xomsim/PrinterModel.h"

#include <utility>

#include "tools/xomsim/FieldReader.h"

namespace xomsim {
namespace {

ObjectId Child(ObjectId parent, std::initializer_list<std::uint32_t> arcs) {
    parent.insert(parent.end(), arcs);
    return parent;
}

// Printer MIB: process colorants of marker 1 of device 1; the input table of device 1.
const ObjectId kPrinterMib = {1, 3, 6, 1, 2, 1, 43};
const ObjectId kProcessColorants = Child(kPrinterMib, {10, 2, 1, 6, 1, 1});
const ObjectId kPrtInputEntry = Child(kPrinterMib, {8, 2, 1});
constexpr std::uint32_t kPrinterDevice = 1;

// The maker's private tables.
const ObjectId kXomTables = {1, 3, 6, 1, 4, 1, 40713, 1, 1, 1};
const ObjectId kStampEntry = Child(kXomTables, {1, 1, 1});
const ObjectId kMediaEntry = Child(kXomTables, {2, 1, 1});
const ObjectId kUserAccounting = Child(kXomTables, {3});
const ObjectId kSessionSalt = Child(kUserAccounting, {1, 0});
const ObjectId kUserAccess = Child(kUserAccounting, {2, 1, 0});
const ObjectId kUserNamePrompt = Child(kUserAccounting, {2, 2, 0});
const ObjectId kUserNameDefault = Child(kUserAccounting, {2, 3, 0});
const ObjectId kUserEntry = Child(kUserAccounting, {2, 4, 1});
const ObjectId kAnonymousMono = Child(kUserAccounting, {2, 5, 0});
const ObjectId kAnonymousColor = Child(kUserAccounting, {2, 6, 0});
const ObjectId kAccountingEntry = Child(kUserAccounting, {3, 1});
const ObjectId kAccountingChildEntry = Child(kUserAccounting, {4, 1});
const ObjectId kPrintQualityPresetEntry = Child(kXomTables, {5, 1, 1});
const ObjectId kFolderPresetEntry = Child(kXomTables, {6, 1, 1});
const ObjectId kHpglPresetEntry = Child(kXomTables, {9, 1, 1});
const ObjectId kExitTrayEntry = Child(kXomTables, {11, 1, 1});

// Columns of the credential tables (users and accounting values).
constexpr std::uint32_t kColumnIndex = 1;
constexpr std::uint32_t kColumnName = 2;
constexpr std::uint32_t kColumnStoredHash = 3;
constexpr std::uint32_t kColumnVerifySalt = 4;
constexpr std::uint32_t kColumnTokenSalt = 5;
constexpr std::uint32_t kColumnMonoAllowed = 6;
constexpr std::uint32_t kColumnColorAllowed = 7;

MibValue Integer(std::int32_t number) {
    MibValue value;
    value.kind = MibValue::Kind::Integer;
    value.number = number;
    return value;
}

MibValue Unsigned(std::uint32_t number) {
    MibValue value;
    value.kind = MibValue::Kind::UInteger32;
    value.number = number;
    return value;
}

MibValue TextValue(const std::string& text) {
    MibValue value;
    value.octets.assign(text.begin(), text.end());
    return value;
}

MibValue OctetsValue(const Bytes& octets) {
    MibValue value;
    value.octets = octets;
    return value;
}

// The 64-bit media id as the printer sends it: eight octets, least significant first.
MibValue LittleEndian64(std::uint64_t number) {
    MibValue value;
    for (int i = 0; i < 8; ++i)
        value.octets.push_back(static_cast<std::uint8_t>(number >> (8 * i)));
    return value;
}

// A row's objects: entry.column.suffix for each column.
class RowWriter {
  public:
    RowWriter(MibObjects& objects, ObjectId entry, std::vector<std::uint32_t> suffix,
              std::string& error)
        : m_objects(objects),
          m_entry(std::move(entry)),
          m_suffix(std::move(suffix)),
          m_error(error) {}

    bool Put(std::uint32_t column, MibValue value) {
        ObjectId id = m_entry;
        id.push_back(column);
        id.insert(id.end(), m_suffix.begin(), m_suffix.end());
        return PutObject(m_objects, id, std::move(value), m_error);
    }

    static bool PutObject(MibObjects& objects, const ObjectId& id, MibValue value,
                          std::string& error) {
        if (objects.emplace(id, std::move(value)).second) return true;
        std::string text;
        for (const std::uint32_t arc : id) text += (text.empty() ? "" : ".") + std::to_string(arc);
        error = "object " + text + " is given twice";
        return false;
    }

  private:
    MibObjects& m_objects;
    ObjectId m_entry;
    std::vector<std::uint32_t> m_suffix;
    std::string& m_error;
};

std::uint32_t NextRow(std::size_t count) {
    return static_cast<std::uint32_t>(count + 1);
}

std::uint32_t CountRow(MibObjects& objects, const ObjectId& entry) {
    // The next row of a table is one past the rows its index column already holds.
    std::uint32_t row = 1;
    ObjectId id = Child(entry, {kColumnIndex, row});
    while (objects.count(id)) id.back() = ++row;
    return row;
}

bool ParseCredential(FieldReader& fields, const std::string& known, std::uint64_t seed,
                     const std::string& saltLabel, int line, Credential& out) {
    out.line = line;
    if (!fields.Text("name", out.name, true) || !fields.Text("password", out.password, false))
        return false;
    out.verifySalt = DeriveSalt(seed, saltLabel + " verify " + out.name);
    out.tokenSalt = DeriveSalt(seed, saltLabel + " token " + out.name);
    return fields.Hex("verify-salt", out.verifySalt, kSaltSize) &&
           fields.Hex("token-salt", out.tokenSalt, kSaltSize) && !out.name.empty() &&
           fields.NoOtherKeys(known);
}

bool PutCredentialRow(RowWriter& row, std::uint32_t index, const Credential& credential) {
    return row.Put(kColumnIndex, Unsigned(index)) &&
           row.Put(kColumnName, TextValue(credential.name)) &&
           row.Put(kColumnVerifySalt, OctetsValue(credential.verifySalt)) &&
           row.Put(kColumnTokenSalt, OctetsValue(credential.tokenSalt));
}

bool ParseUser(FieldReader& fields, std::uint64_t seed, int line, PrinterModel& model,
               MibObjects& objects, std::string& error) {
    Credential user;
    std::optional<std::int32_t> mono, color;
    const std::string known = "name, password, mono, color, verify-salt, token-salt";
    if (!fields.OptionalInt32("mono", mono) || !fields.OptionalInt32("color", color) ||
        !ParseCredential(fields, known, seed, "user", line, user)) {
        error = fields.error().empty() ? "'name=' must not be empty" : fields.error();
        return false;
    }
    for (const Credential& other : model.users) {
        if (other.name == user.name) {
            error = "user '" + user.name + "' is given twice (first on line " +
                    std::to_string(other.line) + ")";
            return false;
        }
    }
    const std::uint32_t index = NextRow(model.users.size());
    RowWriter row(objects, kUserEntry, {index}, error);
    if (!PutCredentialRow(row, index, user) ||
        (mono && !row.Put(kColumnMonoAllowed, Integer(*mono))) ||
        (color && !row.Put(kColumnColorAllowed, Integer(*color))))
        return false;
    model.users.push_back(std::move(user));
    return true;
}

bool ParseAccountingValue(FieldReader& fields, std::uint64_t seed, int line, PrinterModel& model,
                          MibObjects& objects, std::string& error) {
    std::uint32_t field = 0;
    if (!fields.UInt32("field", field, true)) {
        error = fields.error();
        return false;
    }
    if (field == 0 || field > model.accountingFields.size()) {
        error = "field=" + std::to_string(field) + " names no accounting-field line before it";
        return false;
    }
    Credential value;
    const std::string known = "field, name, password, verify-salt, token-salt";
    if (!ParseCredential(fields, known, seed, "accounting " + std::to_string(field), line, value)) {
        error = fields.error().empty() ? "'name=' must not be empty" : fields.error();
        return false;
    }
    std::vector<Credential>& values = model.accountingFields[field - 1].values;
    for (const Credential& other : values) {
        if (other.name == value.name) {
            error = "accounting value '" + value.name + "' of field " + std::to_string(field) +
                    " is given twice (first on line " + std::to_string(other.line) + ")";
            return false;
        }
    }
    const std::uint32_t index = NextRow(values.size());
    RowWriter row(objects, kAccountingChildEntry, {field, index}, error);
    if (!PutCredentialRow(row, index, value)) return false;
    values.push_back(std::move(value));
    return true;
}

bool ParseMedia(FieldReader& fields, int line, PrinterModel& model, MibObjects& objects,
                std::string& error) {
    std::string name;
    std::uint64_t id = 0;
    std::uint32_t type = 0;
    if (!fields.Text("name", name, true) || !fields.UInt64("id", id, true) ||
        !fields.UInt32("type", type, true) || !fields.NoOtherKeys("name, id, type")) {
        error = fields.error();
        return false;
    }
    const auto [first, added] = model.mediaIds.emplace(std::to_string(id), line);
    if (!added) {
        error = "media id " + std::to_string(id) + " is given twice (first on line " +
                std::to_string(first->second) + ")";
        return false;
    }
    const std::uint32_t index = CountRow(objects, kMediaEntry);
    RowWriter row(objects, kMediaEntry, {index}, error);
    return row.Put(1, Unsigned(index)) && row.Put(2, LittleEndian64(id)) &&
           row.Put(3, TextValue(name)) && row.Put(4, Unsigned(type));
}

bool ParseTray(FieldReader& fields, MibObjects& objects, std::string& error) {
    std::string name, media;
    std::int32_t type = 0, units = 0, crossFeed = 0, capacity = -2, level = -2, status = 0;
    if (!fields.Text("name", name, true) || !fields.Int32("type", type, true) ||
        !fields.Int32("units", units, true) || !fields.Int32("cross-feed", crossFeed, true) ||
        !fields.Int32("capacity", capacity, false) || !fields.Int32("level", level, false) ||
        !fields.Int32("status", status, false) || !fields.Text("media", media, false) ||
        !fields.NoOtherKeys("name, type, units, cross-feed, capacity, level, status, media")) {
        error = fields.error();
        return false;
    }
    // The input table is indexed by device and input: column.1.input.
    std::uint32_t input = 1;
    while (objects.count(Child(kPrtInputEntry, {1, kPrinterDevice, input}))) ++input;
    RowWriter row(objects, kPrtInputEntry, {kPrinterDevice, input}, error);
    return row.Put(1, Integer(static_cast<std::int32_t>(input))) && row.Put(2, Integer(type)) &&
           row.Put(3, Integer(units)) && row.Put(5, Integer(crossFeed)) &&
           row.Put(9, Integer(capacity)) && row.Put(10, Integer(level)) &&
           row.Put(11, Integer(status)) && row.Put(12, TextValue(media)) &&
           row.Put(13, TextValue(name));
}

bool ParseIdNameRow(FieldReader& fields, const ObjectId& entry, MibObjects& objects,
                    std::string& error) {
    std::int32_t id = 0;
    std::string name;
    if (!fields.Int32("id", id, true) || !fields.Text("name", name, true) ||
        !fields.NoOtherKeys("id, name")) {
        error = fields.error();
        return false;
    }
    const std::uint32_t index = CountRow(objects, entry);
    RowWriter row(objects, entry, {index}, error);
    return row.Put(1, Unsigned(index)) && row.Put(2, Integer(id)) && row.Put(3, TextValue(name));
}

bool ParseExitTray(FieldReader& fields, MibObjects& objects, std::string& error) {
    std::int32_t value = 0;
    if (!fields.Int32("value", value, true) || !fields.NoOtherKeys("value")) {
        error = fields.error();
        return false;
    }
    const std::uint32_t index = CountRow(objects, kExitTrayEntry);
    RowWriter row(objects, kExitTrayEntry, {index}, error);
    return row.Put(1, Unsigned(index)) && row.Put(2, Integer(value));
}

bool Once(bool& given, const std::string& key, std::string& error) {
    if (given) {
        error = "'" + key + "' is given twice";
        return false;
    }
    given = true;
    return true;
}

}  // namespace

const char* const kModelDirectives =
    "colorants, anonymous, user-accounting, user, accounting-field, accounting-value, media, "
    "tray, stamp, print-quality-preset, hpgl-preset, folder-preset, exit-tray";

ModelLine ParseModelLine(const std::string& key, const std::string& rest, std::uint64_t seed,
                         int line, PrinterModel& model, MibObjects& objects, std::string& error) {
    static const std::map<std::string, ObjectId> kIdNameTables = {
        {"stamp", kStampEntry},
        {"print-quality-preset", kPrintQualityPresetEntry},
        {"hpgl-preset", kHpglPresetEntry},
        {"folder-preset", kFolderPresetEntry}};
    const bool known = key == "colorants" || key == "anonymous" || key == "user-accounting" ||
                       key == "user" || key == "accounting-field" || key == "accounting-value" ||
                       key == "media" || key == "tray" || key == "exit-tray" ||
                       kIdNameTables.count(key) != 0;
    if (!known) return ModelLine::NotModel;
    FieldReader fields;
    if (!fields.Parse(rest)) {
        error = fields.error();
        return ModelLine::Failed;
    }
    const auto put = [&](const ObjectId& id, MibValue value) {
        return RowWriter::PutObject(objects, id, std::move(value), error);
    };
    bool ok = false;
    if (key == "colorants") {
        std::int32_t count = 0;
        ok = Once(model.colorantsGiven, key, error);
        if (ok && !(fields.Int32("count", count, true) && fields.NoOtherKeys("count"))) {
            error = fields.error();
            ok = false;
        }
        ok = ok && put(kProcessColorants, Integer(count));
    } else if (key == "anonymous") {
        std::optional<std::int32_t> mono, color;
        ok = Once(model.anonymousGiven, key, error);
        if (ok && !(fields.OptionalInt32("mono", mono) && fields.OptionalInt32("color", color) &&
                    fields.NoOtherKeys("mono, color"))) {
            error = fields.error();
            ok = false;
        }
        ok = ok && (!mono || put(kAnonymousMono, Integer(*mono))) &&
             (!color || put(kAnonymousColor, Integer(*color)));
    } else if (key == "user-accounting") {
        std::int32_t access = 0;
        std::string prompt, byDefault;
        model.sessionSalt = DeriveSalt(seed, "session");
        ok = Once(model.userAccountingGiven, key, error);
        if (ok && !(fields.Int32("access", access, true) && fields.Text("prompt", prompt, true) &&
                    fields.Text("default", byDefault, false) &&
                    fields.Hex("session-salt", model.sessionSalt, kSaltSize) &&
                    fields.NoOtherKeys("access, prompt, default, session-salt"))) {
            error = fields.error();
            ok = false;
        }
        model.userAccountingLine = line;
        ok = ok && put(kSessionSalt, OctetsValue(model.sessionSalt)) &&
             put(kUserAccess, Integer(access)) && put(kUserNamePrompt, TextValue(prompt)) &&
             put(kUserNameDefault, TextValue(byDefault));
    } else if (key == "user") {
        ok = ParseUser(fields, seed, line, model, objects, error);
    } else if (key == "accounting-field") {
        std::int32_t access = 0, typeId = 0;
        std::string prompt, byDefault;
        if (!(fields.Int32("access", access, true) && fields.Text("prompt", prompt, true) &&
              fields.Text("default", byDefault, false) && fields.Int32("type-id", typeId, true) &&
              fields.NoOtherKeys("access, prompt, default, type-id"))) {
            error = fields.error();
        } else {
            model.accountingFields.emplace_back();
            const std::uint32_t index = NextRow(model.accountingFields.size() - 1);
            RowWriter row(objects, kAccountingEntry, {index}, error);
            ok = row.Put(1, Unsigned(index)) && row.Put(2, Integer(access)) &&
                 row.Put(3, TextValue(prompt)) && row.Put(4, TextValue(byDefault)) &&
                 row.Put(5, Integer(typeId));
        }
    } else if (key == "accounting-value") {
        ok = ParseAccountingValue(fields, seed, line, model, objects, error);
    } else if (key == "media") {
        ok = ParseMedia(fields, line, model, objects, error);
    } else if (key == "tray") {
        ok = ParseTray(fields, objects, error);
    } else if (key == "exit-tray") {
        ok = ParseExitTray(fields, objects, error);
    } else {
        ok = ParseIdNameRow(fields, kIdNameTables.at(key), objects, error);
    }
    return ok ? ModelLine::Taken : ModelLine::Failed;
}

bool CompleteModel(PrinterModel& model, const std::string& source, MibObjects& objects,
                   std::string& error) {
    const auto complete = [&](Credential& credential, const ObjectId& hashId) {
        const auto fail = [&](const std::string& why) {
            error = source + ":" + std::to_string(credential.line) + ": " + why;
            return false;
        };
        if (!model.userAccountingGiven)
            return fail("'" + credential.name +
                        "' needs a user-accounting line: its session salt goes into every hash");
        credential.storedHash =
            CredentialHash(credential.password, model.sessionSalt, credential.verifySalt);
        credential.token =
            Base64(CredentialHash(credential.password, model.sessionSalt, credential.tokenSalt));
        if (credential.storedHash.empty() || credential.token.empty())
            return fail("cannot hash the password of '" + credential.name + "'");
        std::string why;
        if (!RowWriter::PutObject(objects, hashId, OctetsValue(credential.storedHash), why))
            return fail(why);
        return true;
    };
    for (std::size_t i = 0; i < model.users.size(); ++i) {
        if (!complete(model.users[i], Child(kUserEntry, {kColumnStoredHash, NextRow(i)})))
            return false;
    }
    for (std::size_t field = 0; field < model.accountingFields.size(); ++field) {
        auto& values = model.accountingFields[field].values;
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (!complete(values[i], Child(kAccountingChildEntry,
                                           {kColumnStoredHash, NextRow(field), NextRow(i)})))
                return false;
        }
    }
    return true;
}

}  // namespace xomsim
