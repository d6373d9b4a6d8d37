#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Splits a job stream into PCL escape sequences, HP-GL/2 commands and stray text (PJL lines, a
// job ticket), so tests can check command order and parameters without matching whole byte
// strings. Escapes switch modes as a printer does: ESC "%0B"/"%1B" enter HP-GL/2, ESC "%0A"/"%1A"
// and ESC "E" return to PCL. Binary raster data after ESC "*b<n>W" / "V" is skipped by its count.
struct HpglToken {
    enum class Kind { Escape, Command, Text };
    Kind kind = Kind::Command;
    // Commands: the two-letter mnemonic in upper case. Escapes: the whole sequence without data
    // (for example "\x1b%0B"). Text: empty.
    std::string mnemonic;
    // Commands: the raw bytes between mnemonic and terminator (PE data included). Text: the text.
    std::string params;
    std::size_t offset = 0;   // of the token's first byte in the stream
    bool terminated = false;  // a command that ended with ";"
};

struct HpglTokenizeResult {
    bool ok = true;
    std::string error;  // empty when ok
    std::size_t errorOffset = 0;
    std::vector<HpglToken> tokens;  // everything before the error
};

HpglTokenizeResult TokenizeHpgl(std::string_view stream);

// The HP-GL/2 command mnemonics of a token list in order (escapes and text left out).
std::vector<std::string> CommandMnemonics(const std::vector<HpglToken>& tokens);
// How many commands carry the mnemonic (and, when params is given, exactly those params).
std::size_t CountCommands(const std::vector<HpglToken>& tokens, std::string_view mnemonic);
std::size_t CountCommands(const std::vector<HpglToken>& tokens, std::string_view mnemonic,
                          std::string_view params);
