#pragma once
// The key=value fields of one description line, such as
//   user name=alice password="two words" color=0
// A value runs to the next blank, or is written in double quotes (\" and \\ inside them stand for
// a quote and a backslash); "key=" gives an empty value. Each getter takes one key; an absent
// optional key leaves its output untouched. After the first failure every getter fails and
// error() says what was wrong, naming the key.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace xomsim {

class FieldReader {
  public:
    // False (with error()) for a field without '=', a bad key, an unclosed quote or a key twice.
    bool Parse(const std::string& text);

    bool Text(const std::string& key, std::string& out, bool required);
    bool Int32(const std::string& key, std::int32_t& out, bool required);
    bool OptionalInt32(const std::string& key, std::optional<std::int32_t>& out);
    bool UInt32(const std::string& key, std::uint32_t& out, bool required);
    bool UInt64(const std::string& key, std::uint64_t& out, bool required);
    // Exactly `size` octets written as hex digits (blanks not allowed inside one value).
    bool Hex(const std::string& key, std::vector<std::uint8_t>& out, std::size_t size);

    // False when a key was given that no getter asked for; `known` lists the keys of the line.
    bool NoOtherKeys(const std::string& known);
    const std::string& error() const { return m_error; }

  private:
    struct Field {
        std::string key;
        std::string value;
        bool taken = false;
    };
    // The field's value, or null (with the error set when it is required and absent).
    const std::string* Find(const std::string& key, bool required);
    bool Fail(const std::string& why);

    std::vector<Field> m_fields;
    std::string m_error;
};

}  // namespace xomsim
