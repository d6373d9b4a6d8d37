// Fuzz target for the archive file reader and the plot log loader: the input is written to a file
// and loaded as a plot log; what loads must show, save and load again with the same records count.
// The same bytes are also read as records straight from a serializing buffer.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "juxcommoncode/JuxSerialize/JuxFieldIO.h"
#include "juxcommoncode/JuxSerialize/JuxSerializingBuffer.h"
#include "juxcommoncode/JuxSerialize/MultibyteText.h"
#include "juxcommoncode/PlotLog/PlotLog.h"
#include "juxcommoncode/PlotLog/PlotLogView.h"

namespace {

// A private folder for the files of this process, removed at exit.
struct WorkFolder {
    std::string path;
    WorkFolder() {
        const char* tmp = std::getenv("TMPDIR");
        path = std::string(tmp && *tmp ? tmp : "/tmp") + "/fuzz-plotlog-XXXXXX";
        if (!::mkdtemp(path.data())) std::abort();
    }
    ~WorkFolder() {
        std::remove((path + "/input.dat").c_str());
        std::remove((path + "/copy.dat").c_str());
        ::rmdir(path.c_str());
    }
};

std::string WorkDir() {
    static const WorkFolder folder;
    return folder.path;
}

void ReadFromBuffer(const std::uint8_t* data, std::size_t size) {
    JuxNetwork::CJuxSerializingBuffer buffer;
    buffer.SetFirstBlockSize(64);
    buffer.SetNextBlockSize(37);
    buffer.StartWriteTo();
    buffer.WriteBytes(data, size);
    if (buffer.GetDataSize() != size) __builtin_trap();
    if (JuxNetwork::Failed(buffer.StartReadFrom())) return;
    std::uint32_t count = 0;
    if (JuxNetwork::Failed(JuxNetwork::SerializeUInt32(buffer, count))) return;
    for (std::uint32_t i = 0; i < count; ++i) {
        JuxNetwork::CPlotData record;
        if (JuxNetwork::Failed(record.Serialize(buffer))) break;
    }
    if (buffer.GetPosition() > size) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string dir = WorkDir();
    const std::string input = dir + "/input.dat";
    std::FILE* f = std::fopen(input.c_str(), "wb");
    if (!f) return 0;
    if (size) std::fwrite(data, 1, size, f);
    std::fclose(f);

    JuxNetwork::PlotLog log(JuxNetwork::MultibyteToWide(input));
    log.Load();
    if (log.GetRecords().size() > 10) __builtin_trap();
    const auto lines = JuxNetwork::PlotLogViewLines(log);
    if (!log.GetRecords().empty() && lines.size() < 4 + 7 * log.GetRecords().size())
        __builtin_trap();

    // What was loaded saves and loads back whole.
    if (!log.GetRecords().empty()) {
        const std::string copy = dir + "/copy.dat";
        JuxNetwork::PlotLog saved(JuxNetwork::MultibyteToWide(copy));
        for (const auto& record : log.GetRecords()) saved.AddEntry(record);
        if (JuxNetwork::Failed(saved.Save())) __builtin_trap();
        JuxNetwork::PlotLog again(JuxNetwork::MultibyteToWide(copy));
        if (again.Load() != JuxNetwork::kS_OK) __builtin_trap();
        if (again.GetRecords().size() != log.GetRecords().size()) __builtin_trap();
    }

    ReadFromBuffer(data, size);
    return 0;
}
