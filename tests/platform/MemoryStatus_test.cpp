#include "platform/MemoryStatus.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(MemoryStatus, ReadsMemAvailableInBytesAndRejectsMalformedLines) {
    EXPECT_EQ(xomplatform::ParseMemAvailable("MemTotal:  8000 kB\nMemFree:  10 kB\n"
                                             "MemAvailable:    2048 kB\nBuffers: 1 kB\n"),
              2048u * 1024u);
    EXPECT_EQ(xomplatform::ParseMemAvailable("MemAvailable: 7 kB"), 7u * 1024u);
    EXPECT_FALSE(xomplatform::ParseMemAvailable("MemFree: 10 kB\n"));
    EXPECT_FALSE(xomplatform::ParseMemAvailable("MemAvailable: lots\n"));
    EXPECT_FALSE(xomplatform::ParseMemAvailable("MemAvailable: 12\n"));  // no unit
    EXPECT_FALSE(xomplatform::ParseMemAvailable("XMemAvailable: 12 kB\n"));
    EXPECT_FALSE(xomplatform::ParseMemAvailable("MemAvailable: 99999999999999999999 kB\n"));
}

TEST(MemoryStatus, TheEnvironmentFixesTheValueAndAMalformedOneIsIgnored) {
    ASSERT_EQ(setenv("XOM_AVAILABLE_MEMORY", "123456", 1), 0);
    EXPECT_EQ(xomplatform::AvailablePhysicalMemory(), 123456u);
    ASSERT_EQ(setenv("XOM_AVAILABLE_MEMORY", "12x", 1), 0);
    EXPECT_GT(xomplatform::AvailablePhysicalMemory(), 0u);
    EXPECT_NE(xomplatform::AvailablePhysicalMemory(), 12u);
    ASSERT_EQ(unsetenv("XOM_AVAILABLE_MEMORY"), 0);
    EXPECT_GT(xomplatform::AvailablePhysicalMemory(), 0u);
}

}  // namespace
