#pragma once
// Reference values computed outside the code under test: SHA-512 and Base64 by the openssl
// command over files written byte by byte.
#include <cstdint>
#include <string>
#include <vector>

#include "juxcommoncode/PrinterData/UserEntries.h"

// seed, seed+1, ... (mod 256), count bytes.
OctetArray TestSalt(std::uint8_t seed, std::size_t count);
OctetArray OpensslSha512(const OctetArray& bytes);
std::string OpensslBase64(const OctetArray& bytes);
