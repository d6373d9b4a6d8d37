// A printer configuration file is outside input: whatever it holds, the reader takes what it can,
// reports the rest, and what it took survives a write and a second read unchanged.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/xomplot/PrinterConfig.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> problems;
    const xomplot::PrinterConfig config = xomplot::ParsePrinterConfig(text, "fuzz.conf", problems);
    for (const auto& p : problems)
        if (p.rfind("fuzz.conf:", 0) != 0) __builtin_trap();  // each problem names file and line

    std::vector<std::string> again;
    const xomplot::PrinterConfig reread =
        xomplot::ParsePrinterConfig(xomplot::FormatPrinterConfig(config, "fuzz"), "again", again);
    if (!again.empty() || reread.items != config.items) __builtin_trap();

    static const HT_Std_Plotter_Capabilities caps = [] {
        HT_Std_Plotter_Capabilities c;
        c.get_custom_capabilities()->items = {{L"PrintExit", L"long", L"0"},
                                              {L"UserName", L"string", L""}};
        return c;
    }();
    HT_Std_Plotter_Configuration target;
    xomplot::ApplyPrinterConfig(config, caps, target, "fuzz.conf", problems);
    return 0;
}
