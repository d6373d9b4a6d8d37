#include "tools/xomsim/FieldReader.h"

#include <algorithm>
#include <cctype>
#include <limits>

namespace xomsim {
namespace {

bool IsKeyCharacter(char ch) {
    return std::islower(static_cast<unsigned char>(ch)) ||
           std::isdigit(static_cast<unsigned char>(ch)) || ch == '-';
}

// Decimal digits with an optional leading '-', within [low, high].
bool ParseDecimal(const std::string& text, bool allowNegative, std::uint64_t high,
                  std::uint64_t lowMagnitude, bool& negative, std::uint64_t& magnitude) {
    negative = !text.empty() && text[0] == '-';
    if (negative && !allowNegative) return false;
    const std::size_t first = negative ? 1 : 0;
    if (first == text.size()) return false;
    magnitude = 0;
    for (std::size_t i = first; i < text.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
        const auto digit = static_cast<std::uint64_t>(text[i] - '0');
        if (magnitude > (std::numeric_limits<std::uint64_t>::max() - digit) / 10) return false;
        magnitude = magnitude * 10 + digit;
    }
    return negative ? magnitude <= lowMagnitude : magnitude <= high;
}

int HexDigit(char ch) {
    if (std::isdigit(static_cast<unsigned char>(ch))) return ch - '0';
    if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
    return -1;
}

}  // namespace

bool FieldReader::Fail(const std::string& why) {
    if (m_error.empty()) m_error = why;
    return false;
}

bool FieldReader::Parse(const std::string& text) {
    m_fields.clear();
    m_error.clear();
    std::size_t at = 0;
    while (true) {
        while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
        if (at == text.size()) return true;
        Field field;
        const std::size_t start = at;
        while (at < text.size() && IsKeyCharacter(text[at])) field.key += text[at++];
        if (at == text.size() || text[at] != '=' || field.key.empty()) {
            const std::size_t end = text.find_first_of(" \t", start);
            const std::string word =
                text.substr(start, end == std::string::npos ? end : end - start);
            return Fail("'" + word + "' is not key=value (keys are small letters, digits and '-')");
        }
        ++at;
        if (at < text.size() && text[at] == '"') {
            ++at;
            bool closed = false;
            while (at < text.size()) {
                const char ch = text[at++];
                if (ch == '"') {
                    closed = true;
                    break;
                }
                if (ch == '\\' && at < text.size() && (text[at] == '"' || text[at] == '\\')) {
                    field.value += text[at++];
                } else {
                    field.value += ch;
                }
            }
            if (!closed)
                return Fail("the quoted value of '" + field.key + "' has no closing quote");
            if (at < text.size() && text[at] != ' ' && text[at] != '\t')
                return Fail("a blank must follow the quoted value of '" + field.key + "'");
        } else {
            while (at < text.size() && text[at] != ' ' && text[at] != '\t')
                field.value += text[at++];
        }
        for (const Field& other : m_fields) {
            if (other.key == field.key) return Fail("'" + field.key + "' is given twice");
        }
        m_fields.push_back(std::move(field));
    }
}

const std::string* FieldReader::Find(const std::string& key, bool required) {
    if (!m_error.empty()) return nullptr;
    for (Field& field : m_fields) {
        if (field.key == key) {
            field.taken = true;
            return &field.value;
        }
    }
    if (required) Fail("'" + key + "=' is missing");
    return nullptr;
}

bool FieldReader::Text(const std::string& key, std::string& out, bool required) {
    const std::string* value = Find(key, required);
    if (value) out = *value;
    return m_error.empty();
}

bool FieldReader::Int32(const std::string& key, std::int32_t& out, bool required) {
    const std::string* value = Find(key, required);
    if (!value) return m_error.empty();
    bool negative = false;
    std::uint64_t magnitude = 0;
    if (!ParseDecimal(*value, true, std::numeric_limits<std::int32_t>::max(),
                      std::uint64_t{1} << 31, negative, magnitude))
        return Fail(key + "='" + *value + "' is not a 32-bit integer");
    out = negative ? static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude))
                   : static_cast<std::int32_t>(magnitude);
    return true;
}

bool FieldReader::OptionalInt32(const std::string& key, std::optional<std::int32_t>& out) {
    std::int32_t number = 0;
    const bool given =
        std::any_of(m_fields.begin(), m_fields.end(), [&](const Field& f) { return f.key == key; });
    if (!Int32(key, number, false)) return false;
    if (given) out = number;
    return true;
}

bool FieldReader::UInt32(const std::string& key, std::uint32_t& out, bool required) {
    std::uint64_t number = 0;
    const std::string* value = Find(key, required);
    if (!value) return m_error.empty();
    bool negative = false;
    if (!ParseDecimal(*value, false, std::numeric_limits<std::uint32_t>::max(), 0, negative,
                      number))
        return Fail(key + "='" + *value + "' is not a number from 0 to 4294967295");
    out = static_cast<std::uint32_t>(number);
    return true;
}

bool FieldReader::UInt64(const std::string& key, std::uint64_t& out, bool required) {
    const std::string* value = Find(key, required);
    if (!value) return m_error.empty();
    bool negative = false;
    if (!ParseDecimal(*value, false, std::numeric_limits<std::uint64_t>::max(), 0, negative, out))
        return Fail(key + "='" + *value + "' is not a number from 0 to 18446744073709551615");
    return true;
}

bool FieldReader::Hex(const std::string& key, std::vector<std::uint8_t>& out, std::size_t size) {
    const std::string* value = Find(key, false);
    if (!value) return m_error.empty();
    std::vector<std::uint8_t> octets;
    bool good = value->size() % 2 == 0;
    for (std::size_t i = 0; good && i < value->size(); i += 2) {
        const int high = HexDigit((*value)[i]);
        const int low = HexDigit((*value)[i + 1]);
        good = high >= 0 && low >= 0;
        octets.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    if (!good || octets.size() != size)
        return Fail(key + "= needs " + std::to_string(size) + " octets as " +
                    std::to_string(size * 2) + " hex digits");
    out = std::move(octets);
    return true;
}

bool FieldReader::NoOtherKeys(const std::string& known) {
    if (!m_error.empty()) return false;
    for (const Field& field : m_fields) {
        if (!field.taken) return Fail("'" + field.key + "' is none of " + known);
    }
    return true;
}

}  // namespace xomsim
