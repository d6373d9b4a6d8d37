#include "tools/xomsim/PrinterDescription.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <limits>
#include <sstream>

namespace xomsim {
namespace {

const ObjectId kSysDescr = {1, 3, 6, 1, 2, 1, 1, 1, 0};
const ObjectId kSysName = {1, 3, 6, 1, 2, 1, 1, 5, 0};
const ObjectId kSysLocation = {1, 3, 6, 1, 2, 1, 1, 6, 0};
const ObjectId kIfPhysAddress = {1, 3, 6, 1, 2, 1, 2, 2, 1, 6, 1};

std::string Trim(const std::string& text) {
    const auto begin = text.find_first_not_of(" \t\r");
    if (begin == std::string::npos) return {};
    const auto end = text.find_last_not_of(" \t\r");
    return text.substr(begin, end - begin + 1);
}

// Splits "word rest of line" at the first blank.
void SplitFirst(const std::string& text, std::string& first, std::string& rest) {
    const auto blank = text.find_first_of(" \t");
    first = text.substr(0, blank);
    rest = blank == std::string::npos ? std::string() : Trim(text.substr(blank));
}

bool ParseNumber(const std::string& text, std::int64_t low, std::int64_t high, std::int64_t& out) {
    if (text.empty()) return false;
    std::size_t i = text[0] == '-' ? 1 : 0;
    if (i == text.size()) return false;
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
        value = value * 10 + (text[i] - '0');
        if (value > std::numeric_limits<std::uint32_t>::max()) return false;
    }
    if (text[0] == '-') value = -value;
    if (value < low || value > high) return false;
    out = value;
    return true;
}

bool ParseHex(const std::string& text, std::vector<std::uint8_t>& out) {
    out.clear();
    int high = -1;
    for (const char ch : text) {
        if (ch == ' ' || ch == '\t') {
            if (high >= 0) return false;  // a lone digit between blanks
            continue;
        }
        if (!std::isxdigit(static_cast<unsigned char>(ch))) return false;
        const int digit = std::isdigit(static_cast<unsigned char>(ch))
                              ? ch - '0'
                              : std::tolower(static_cast<unsigned char>(ch)) - 'a' + 10;
        if (high < 0) {
            high = digit;
        } else {
            out.push_back(static_cast<std::uint8_t>(high * 16 + digit));
            high = -1;
        }
    }
    return high < 0;
}

bool ParseMac(const std::string& text, std::vector<std::uint8_t>& out) {
    std::string hex = text;
    for (char& ch : hex) {
        if (ch == '-' || ch == ':') ch = ' ';
    }
    return text.size() == 17 && ParseHex(hex, out) && out.size() == 6;
}

MibValue OctetsValue(const std::string& text) {
    MibValue value;
    value.kind = MibValue::Kind::Octets;
    value.octets.assign(text.begin(), text.end());
    return value;
}

}  // namespace

bool ParseObjectId(const std::string& text, ObjectId& out) {
    out.clear();
    std::string digits = text;
    if (!digits.empty() && digits[0] == '.') digits.erase(0, 1);
    std::stringstream parts(digits);
    std::string part;
    while (std::getline(parts, part, '.')) {
        std::int64_t arc = 0;
        if (part.empty() || part[0] == '-' ||
            !ParseNumber(part, 0, std::numeric_limits<std::uint32_t>::max(), arc))
            return false;
        out.push_back(static_cast<std::uint32_t>(arc));
    }
    return out.size() >= 2 && !digits.empty() && digits.back() != '.';
}

std::string ObjectIdText(const ObjectId& id) {
    std::string text;
    for (const std::uint32_t arc : id) text += (text.empty() ? "" : ".") + std::to_string(arc);
    return text;
}

bool ParsePrinterDescription(const std::string& text, const std::string& source,
                             PrinterDescription& out, std::string& error, std::uint64_t seed) {
    out = PrinterDescription{};
    std::stringstream lines(text);
    std::string raw;
    int number = 0;
    bool haveDescription = false;
    const auto fail = [&](const std::string& why) {
        error = source + ":" + std::to_string(number) + ": " + why;
        return false;
    };
    const auto add = [&](const ObjectId& id, MibValue value, const std::string& what) {
        if (!out.objects.emplace(id, std::move(value)).second)
            return fail(what + " " + ObjectIdText(id) + " is given twice");
        return true;
    };
    while (std::getline(lines, raw)) {
        ++number;
        const std::string line = Trim(raw);
        if (line.empty() || line[0] == '#') continue;
        std::string key, rest;
        SplitFirst(line, key, rest);
        if (key == "description" || key == "name" || key == "location") {
            if (rest.empty()) return fail("'" + key + "' needs a text");
            const ObjectId& id = key == "description" ? kSysDescr
                                 : key == "name"      ? kSysName
                                                      : kSysLocation;
            if (!add(id, OctetsValue(rest), "the " + key + " object")) return false;
            if (key == "name") out.name = rest;
            if (key == "description") haveDescription = true;
        } else if (key == "mac") {
            if (!out.mac.empty()) return fail("'mac' is given twice");
            if (!ParseMac(rest, out.mac))
                return fail("'" + rest + "' is not a MAC address like 00-11-22-33-44-55");
            MibValue value;
            value.octets = out.mac;
            if (!add(kIfPhysAddress, value, "the mac object")) return false;
        } else if (key == "community") {
            if (rest.empty() || rest.find_first_of(" \t") != std::string::npos)
                return fail("'community' needs one word");
            out.community = rest;
        } else if (key == "object") {
            std::string oidText, typeAndValue, type, valueText;
            SplitFirst(rest, oidText, typeAndValue);
            SplitFirst(typeAndValue, type, valueText);
            ObjectId id;
            if (!ParseObjectId(oidText, id))
                return fail("'" + oidText + "' is not an object identifier like 1.3.6.1.2.1.1.5.0");
            MibValue value;
            if (type == "integer") {
                value.kind = MibValue::Kind::Integer;
                if (!ParseNumber(valueText, std::numeric_limits<std::int32_t>::min(),
                                 std::numeric_limits<std::int32_t>::max(), value.number))
                    return fail("'" + valueText + "' is not a 32-bit integer");
            } else if (type == "gauge") {
                value.kind = MibValue::Kind::Gauge;
                if (valueText.empty() || valueText[0] == '-' ||
                    !ParseNumber(valueText, 0, std::numeric_limits<std::uint32_t>::max(),
                                 value.number))
                    return fail("'" + valueText + "' is not a gauge (0 to 4294967295)");
            } else if (type == "uinteger") {
                value.kind = MibValue::Kind::UInteger32;
                if (valueText.empty() || valueText[0] == '-' ||
                    !ParseNumber(valueText, 0, std::numeric_limits<std::uint32_t>::max(),
                                 value.number))
                    return fail("'" + valueText + "' is not a uinteger (0 to 4294967295)");
            } else if (type == "octets") {
                value = OctetsValue(valueText);
            } else if (type == "hex") {
                if (!ParseHex(valueText, value.octets))
                    return fail("'" + valueText + "' is not hex octets like 00 1A FF");
            } else {
                return fail("type '" + type + "' is none of integer, octets, hex, gauge, uinteger");
            }
            if (!add(id, std::move(value), "object")) return false;
        } else {
            std::string why;
            switch (ParseModelLine(key, rest, seed, number, out.model, out.objects, why)) {
                case ModelLine::Taken:
                    break;
                case ModelLine::Failed:
                    return fail(key.append(": ").append(why));
                case ModelLine::NotModel:
                    return fail("'" + key +
                                "' is none of description, name, location, mac, community, "
                                "object, " +
                                kModelDirectives);
            }
        }
    }
    number = 0;
    const auto missing = [&](const char* key) {
        error = source + ": no '" + key + "' line";
        return false;
    };
    if (!haveDescription) return missing("description");
    if (out.name.empty()) return missing("name");
    if (out.mac.empty()) return missing("mac");
    return CompleteModel(out.model, source, out.objects, error);
}

bool LoadPrinterDescription(const std::string& path, PrinterDescription& out, std::string& error,
                            std::uint64_t seed) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": cannot read: " + std::strerror(errno);
        return false;
    }
    std::stringstream text;
    text << in.rdbuf();
    return ParsePrinterDescription(text.str(), path, out, error, seed);
}

}  // namespace xomsim
