#pragma once
// The printer's password recipe: credential hash = SHA-512(printer salt + SHA-512(entry salt +
// password as UTF-16LE)), both salts 64 bytes. The same hash checks a typed password against the
// stored one (with the entry's verification salt) and, Base64-encoded, is the token the job
// ticket carries (with the entry's token salt). Nothing is cached; nothing is shared.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "juxcommoncode/PrinterData/UserEntries.h"

inline constexpr std::size_t kCredentialSaltSize = 64;
inline constexpr std::size_t kCredentialHashSize = 64;

// SHA-512 over salt then data into out (64 bytes); false when hashing fails.
bool HashSaltAndData(const std::uint8_t* salt, std::size_t saltLength, const std::uint8_t* data,
                     std::size_t dataLength, std::uint8_t* out);
// The password's UTF-16 units as little-endian byte pairs, no terminator (characters beyond the
// BMP as surrogate pairs).
std::vector<std::uint8_t> PasswordBytes(const std::wstring& password);
// false when a salt is not 64 bytes long or hashing fails.
bool ComputeCredentialHash(const std::wstring& password, const OctetArray& printerSalt,
                           const OctetArray& entrySalt, std::uint8_t (&out)[kCredentialHashSize]);
// true when the hash with the verification salt equals the first 64 bytes of the stored hash.
bool VerifyPassword(const std::wstring& password, const OctetArray& printerSalt,
                    const OctetArray& entryVerifySalt, const OctetArray& entryStoredHash);
// The Base64 token of the credential hash with the token salt; empty when none can be made (or
// it would be longer than a ticket token may be).
std::string MakeToken(const std::wstring& password, const OctetArray& printerSalt,
                      const OctetArray& entryTokenSalt);
// The ticket line "      <Token>...</Token>\r\n" for the first entry named name, or empty.
std::string MakeTokenLine(const std::wstring& name, const std::wstring& password,
                          const OctetArray& printerSalt,
                          const std::vector<CXomAccountingInformationChildEntry>& entries);
