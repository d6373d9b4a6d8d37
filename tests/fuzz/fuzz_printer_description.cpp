// A printer description file is outside input: whatever it holds, the simulator either takes it
// whole or names the file and line of the first thing it cannot read; a description it takes
// serves every credential with a stored hash and a token.
#include <cstddef>
#include <cstdint>
#include <string>

#include "tools/xomsim/PrinterDescription.h"
#include "tools/xomsim/TicketTokens.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    xomsim::PrinterDescription printer;
    std::string error;
    if (!xomsim::ParsePrinterDescription(text, "fuzz.txt", printer, error)) {
        if (error.rfind("fuzz.txt:", 0) != 0) __builtin_trap();
        return 0;
    }
    for (const auto& user : printer.model.users)
        if (user.storedHash.size() != 64 || user.token.size() != 88) __builtin_trap();
    // The same bytes as a job: the ticket reader takes whatever they hold.
    xomsim::CheckTicketTokens(printer.model, xomsim::ReadTicketCredentials(text));
    return 0;
}
