#include "tools/xomplot/PreviewCommand.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "tools/jobrender/JobRenderer.h"
#include "tools/jobrender/PclRasterRenderer.h"
#include "tools/jobrender/PngBandWriter.h"

namespace xomplot {
namespace {

// The job file mapped read-only: a large job is paged in as the bands need it, not copied.
class MappedFile {
  public:
    explicit MappedFile(const std::string& path) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            m_error = std::strerror(errno);
            return;
        }
        struct stat st {};
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            m_error = errno ? std::strerror(errno) : "not a regular file";
            ::close(fd);
            return;
        }
        m_size = static_cast<std::size_t>(st.st_size);
        if (m_size > 0) {
            void* p = ::mmap(nullptr, m_size, PROT_READ, MAP_PRIVATE, fd, 0);
            if (p == MAP_FAILED) {
                m_error = std::strerror(errno);
                m_size = 0;
            } else {
                m_data = static_cast<const char*>(p);
            }
        }
        ::close(fd);
        m_ok = m_error.empty();
    }
    ~MappedFile() {
        if (m_data) ::munmap(const_cast<char*>(m_data), m_size);
    }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    bool ok() const { return m_ok; }
    const std::string& error() const { return m_error; }
    std::string_view bytes() const { return {m_data ? m_data : "", m_size}; }

  private:
    const char* m_data = nullptr;
    std::size_t m_size = 0;
    bool m_ok = false;
    std::string m_error;
};

}  // namespace

CLI::App* AddPreviewCommand(CLI::App& app, PreviewOptions& options) {
    CLI::App* cmd = app.add_subcommand(
        "preview",
        "Render a job file's page to a PNG image (the media's white, the pens' colours)");
    cmd->add_option("job", options.job, "The job file (as written by a plot with -o)")->required();
    cmd->add_option("-o,--output", options.output, "The PNG file to write")->required();
    cmd->add_option("--dpi", options.dpi, "Resolution of the image in dots per inch (default 100)")
        ->check(CLI::Range(1.0, 2400.0));
    return cmd;
}

int RunPreview(const PreviewOptions& options) {
    MappedFile job(options.job);
    if (!job.ok()) {
        std::fprintf(stderr, "xomplot preview: cannot read %s: %s\n", options.job.c_str(),
                     job.error().c_str());
        return 1;
    }
    jobrender::RenderOptions render;
    render.dpi = options.dpi;
    jobrender::PclRasterRenderer raster;
    render.raster = &raster;
    jobrender::PngBandWriter png(options.output, options.dpi);
    const jobrender::RenderResult r = jobrender::RenderJob(job.bytes(), render, png);
    if (!r.ok) {
        if (r.malformed)
            std::fprintf(stderr, "xomplot preview: %s: %s (at byte %zu)\n", options.job.c_str(),
                         r.error.c_str(), r.errorOffset);
        else
            std::fprintf(stderr, "xomplot preview: %s: %s\n", options.job.c_str(), r.error.c_str());
        std::remove(options.output.c_str());
        return 1;
    }
    for (const auto& [name, count] : r.warnings.byName)
        std::fprintf(stderr, "xomplot preview: skipped %zu x %s\n", count, name.c_str());
    std::printf("%s: %d x %d pixels at %g dpi, %zu page(s)%s\n", options.output.c_str(), r.width,
                r.height, options.dpi, r.pages, r.pages > 1 ? " (only the first is shown)" : "");
    return 0;
}

}  // namespace xomplot
