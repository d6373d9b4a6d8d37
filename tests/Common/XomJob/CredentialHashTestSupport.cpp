#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "CredentialHashTestSupport.h"

namespace {

std::string WriteTemp(const OctetArray& bytes) {
    char name[] = "/tmp/xom_credXXXXXX";
    const int fd = mkstemp(name);
    EXPECT_GE(fd, 0);
    if (!bytes.empty()) {
        EXPECT_EQ(write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    close(fd);
    return name;
}

std::string Run(const std::string& command) {
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buf[4096];
        std::size_t n;
        while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
        EXPECT_EQ(pclose(p), 0) << command;
    } else {
        ADD_FAILURE() << "cannot run " << command;
    }
    return out;
}

}  // namespace

OctetArray TestSalt(std::uint8_t seed, std::size_t count) {
    OctetArray salt(count);
    for (std::size_t i = 0; i < count; ++i) salt[i] = static_cast<std::uint8_t>(seed + i * 37);
    return salt;
}

OctetArray OpensslSha512(const OctetArray& bytes) {
    const std::string file = WriteTemp(bytes);
    const std::string out = Run("openssl dgst -sha512 -binary " + file);
    std::remove(file.c_str());
    return OctetArray(out.begin(), out.end());
}

std::string OpensslBase64(const OctetArray& bytes) {
    const std::string file = WriteTemp(bytes);
    std::string out = Run("openssl base64 -A -in " + file);
    std::remove(file.c_str());
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
    return out;
}
