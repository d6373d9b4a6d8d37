#pragma once
// Test helpers for the plot log: a private data folder (XDG_DATA_HOME) per test, and log files
// built byte by byte without the code under test.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace plotlogtest {

namespace fs = std::filesystem;

// Points XDG_DATA_HOME at a fresh temporary folder for the test and restores it afterwards.
class DataHomeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "plotlog-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        home = pattern;
        if (const char* old = std::getenv("XDG_DATA_HOME")) savedXdg = old;
        ::setenv("XDG_DATA_HOME", home.c_str(), 1);
    }
    void TearDown() override {
        if (savedXdg.empty()) {
            ::unsetenv("XDG_DATA_HOME");
        } else {
            ::setenv("XDG_DATA_HOME", savedXdg.c_str(), 1);
        }
        std::error_code ec;
        fs::remove_all(home, ec);
    }

    fs::path LogFile() const { return home / "XomSeriesQ" / "AutoCAD_PlotLog.dat"; }

    std::string ReadLog() const {
        std::ifstream in(LogFile(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    void WriteLog(const std::string& bytes) const {
        fs::create_directories(LogFile().parent_path());
        std::ofstream(LogFile(), std::ios::binary | std::ios::trunc) << bytes;
    }

    fs::path home;
    std::string savedXdg;
};

inline std::string U16(std::uint16_t v) {
    return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
}
inline std::string U32(std::uint32_t v) {
    std::string s;
    for (int i = 0; i < 4; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
    return s;
}
inline std::string U64(std::uint64_t v) {
    std::string s;
    for (int i = 0; i < 8; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
    return s;
}
// A text field: 16-bit byte count, then the UTF-8 bytes.
inline std::string Text(const std::string& utf8) {
    return U16(static_cast<std::uint16_t>(utf8.size())) + utf8;
}

struct Rec {
    std::string drawing, dateTime, printer, destination, status;
    std::uint64_t bytes = 0;
};

inline std::string RecordBytes(const Rec& r) {
    return Text(r.drawing) + U64(r.bytes) + Text(r.dateTime) + Text(r.printer) +
           Text(r.destination) + Text(r.status);
}

// The archive header: marker E9 A4 75 5D 78 44 75 4A, total length, reserved 0.
inline std::string HeaderBytes(std::uint64_t totalLength) {
    return std::string("\xE9\xA4\x75\x5D\x78\x44\x75\x4A", 8) + U64(totalLength) + U16(0);
}

// A whole log file whose count field says `count` and which holds `records`.
inline std::string LogBytes(const std::vector<Rec>& records, std::uint32_t count) {
    std::string body = U32(count);
    for (const Rec& r : records) body += RecordBytes(r);
    return HeaderBytes(18 + body.size()) + body;
}
inline std::string LogBytes(const std::vector<Rec>& records) {
    return LogBytes(records, static_cast<std::uint32_t>(records.size()));
}

inline Rec Numbered(int n) {
    const std::string s = std::to_string(n);
    return Rec{"drawing " + s, "2024-01-01 00:00:" + std::string(n < 10 ? "0" : "") + s,
               "printer " + s, "dest " + s,
               "status " + s,  static_cast<std::uint64_t>(n) * 1000};
}

// The first differing offset, for readable failures of byte comparisons.
inline std::string FirstDifference(const std::string& a, const std::string& b) {
    std::size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
    if (i == a.size() && i == b.size()) return "identical";
    return "first difference at offset " + std::to_string(i) + " (sizes " +
           std::to_string(a.size()) + " and " + std::to_string(b.size()) + ")";
}

}  // namespace plotlogtest
