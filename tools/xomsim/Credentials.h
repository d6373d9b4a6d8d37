#pragma once
// The simulated printer's side of user and accounting passwords: the salts it publishes, the
// stored hash it derives from a clear password, and the token it expects a job to carry.
//   credential hash = SHA-512(printer salt + SHA-512(entry salt + password as UTF-16LE))
// The stored hash uses the entry's verification salt, the token (Base64, no line breaks) its
// token salt. This is written apart from the driver's own code on purpose: the simulator checks
// the driver, so it must not share its mistakes.
#include <cstdint>
#include <string>
#include <vector>

namespace xomsim {

using Bytes = std::vector<std::uint8_t>;

inline constexpr std::size_t kSaltSize = 64;

Bytes Sha512(const Bytes& data);
// A salt that is the same for the same seed and label, and different for another label:
// SHA-512 of "xomsim salt SEED LABEL".
Bytes DeriveSalt(std::uint64_t seed, const std::string& label);
// The UTF-8 text as UTF-16 little-endian units (characters beyond U+FFFF as surrogate pairs).
Bytes Utf16Le(const std::string& utf8);
// Empty when either salt is not 64 octets.
Bytes CredentialHash(const std::string& password, const Bytes& printerSalt, const Bytes& entrySalt);
std::string Base64(const Bytes& data);

}  // namespace xomsim
