#pragma once
// How the simulated printer misbehaves on its job port, for tests of what a host does when a
// printer refuses, stalls or drops a connection. Faults combine (for example a slow reader that
// also drops the connection after some bytes).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace xomsim {

struct FaultPlan {
    bool refuse = false;                            // no listener: connections are refused
    std::optional<std::uint64_t> closeAfter;        // close the connection after N bytes
    std::optional<std::uint64_t> resetAfter;        // reset the connection after N bytes
    std::optional<std::uint64_t> stopReadingAfter;  // keep the connection, read no more
    std::uint64_t bytesPerSecond = 0;               // read at most this fast; 0: as fast as it can

    // The byte count after which the connection ends or stalls; nullopt when none.
    std::optional<std::uint64_t> limit() const;
};

// Adds one fault given as text: "refuse", "close-after=N", "reset-after=N", "rate=N" (bytes per
// second), "stop-reading-after=N" or "never-read" (stop reading at once). False with a readable
// error for anything else.
bool AddFault(FaultPlan& plan, const std::string& text, std::string& error);

// Every fault mode, for help texts.
std::string FaultModesHelp();

}  // namespace xomsim
