#pragma once
// `xomplot preview JOB -o FILE.png [--dpi N]`: shows what a job file will print, through the job
// renderer, without a printer.
#include <string>

namespace CLI {
class App;
}

namespace xomplot {

struct PreviewOptions {
    std::string job;
    std::string output;
    double dpi = 100;
};

// Adds the subcommand to the command line; the options are filled when it is parsed.
CLI::App* AddPreviewCommand(CLI::App& app, PreviewOptions& options);

// Renders the job's first page to the PNG file. Returns the exit status: 0 when the image was
// written (warnings about skipped commands go to stderr), 1 when the job cannot be read or is
// malformed or the image cannot be written.
int RunPreview(const PreviewOptions& options);

}  // namespace xomplot
