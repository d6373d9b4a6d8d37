#include "tools/xomplot/PlotRun.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <limits>
#include <memory>

#include "hdi/HT_Driver_Module.h"
#include "hdi/HT_Host_Info.h"
#include "hdi/HT_Plotter_Device_Data.h"
#include "hdi/PM_DRC_Caps_Loader.h"
#include "platform/Utf8.h"
#include "tools/xomplot/DrawingParser.h"
#include "tools/xomplot/DxfReader.h"
#include "tools/xomplot/HostPlotMonitor.h"
#include "tools/xomplot/ImageDispatch.h"
#include "tools/xomplot/JobSizeLimit.h"
#include "tools/xomplot/PlotLogAccess.h"
#include "tools/xomplot/PrinterConfig.h"

namespace xomplot {

namespace fs = std::filesystem;

namespace {

// The host's error handler: keeps what the driver tells (for the outcome) and shows its reports.
// Messages are kept but not printed: the driver also shows each one through the platform's
// message service, whose console backend already prints it.
class HostErrorHandler : public HT_Error_Handler {
  public:
    explicit HostErrorHandler(std::FILE* out) : m_out(out) {}
    void report(int message, const std::string& function, const std::string& item) override {
        HT_Error_Handler::report(message, function, item);
        if (m_out)
            std::fprintf(m_out, "xomplot: error %d in %s: %s\n", message, function.c_str(),
                         item.c_str());
    }

  private:
    std::FILE* m_out;
};

// Collects the output objects the standard factory makes during one plot; a write that the
// destination blocks gives up when the user cancels, and the job may not pass its size limit.
struct OutputWatch {
    std::vector<SPMP<HT_Plotter_IO>> outputs;
    std::size_t byte_limit = 0;
    std::wstring limit_text;
    static void Observe(HT_Plotter_IO* io, void* self) {
        auto* watch = static_cast<OutputWatch*>(self);
        io->set_cancel_check(&InterruptRequested);
        io->set_byte_limit(watch->byte_limit, watch->limit_text);
        watch->outputs.emplace_back(io);
    }
};

void Dispatch(HT_Plotter_Device_Data& device, const DrawingAction& a) {
    const HT_Rendition r = a.rendition();
    const int n = static_cast<int>(a.dci.empty() ? a.dc.size() : a.dci.size());
    switch (a.kind) {
        case ActionKind::DciPolyline:
            device.draw_dci_polyline(r, n, a.dci.data());
            break;
        case ActionKind::DcPolyline:
            device.draw_dc_polyline(r, n, a.dc.data());
            break;
        case ActionKind::DciPolygon:
            device.draw_dci_polygon(r, n, a.dci.data(), a.colour());
            break;
        case ActionKind::DcPolygon:
            device.draw_dc_polygon(r, n, a.dc.data(), a.colour());
            break;
        case ActionKind::TriangleStrip:
            device.draw_dci_polytriangle(r, n, a.dci.data());
            break;
        case ActionKind::Dot:
            device.draw_dci_dot(r, a.dci[0], a.colour());
            break;
        case ActionKind::Ellipse:
            if (a.arc)
                device.draw_dci_elliptical_arc(r, a.dci[0], a.dci[1], a.start, a.end);
            else
                device.draw_dci_ellipse(r, a.dci[0], a.dci[1], a.start, a.end, a.colour());
            break;
        case ActionKind::Image:
            DrawImage(device, a);
            break;
    }
}

bool LoadCaps(const std::string& drc, HT_Error_Handler* handler, HT_Std_Plotter_Capabilities& caps,
              std::string& error) {
    SPMP<PM_DRC_Caps_Loader> loader(new PM_DRC_Caps_Loader(handler));
    return loader->load(drc, caps, error);
}

std::string Names(const std::vector<std::wstring>& names) {
    std::string out;
    for (const auto& n : names) out += (out.empty() ? "" : ", ") + xomplatform::ToUtf8(n);
    return out;
}

template <class T>
std::vector<std::wstring> NamesOf(const std::vector<T>& items) {
    std::vector<std::wstring> out;
    for (const auto& i : items) out.push_back(i.name);
    return out;
}

void SetText(HT_Std_Plotter_Configuration& config, const wchar_t* key, const std::string& value) {
    SPMP<HT_Custom_Data> data(new HT_Std_String_Custom_Data(xomplatform::FromUtf8(value)));
    if (HT_Custom_Config_Item* item = config.custom_items().find(key))
        item->data = data;
    else
        config.custom_items().append({key, data});
}

// The plot-time values go into this plot's configuration only; nothing is stored.
void ApplyPlotTimeValues(const PlotTimeValues& v, HT_Std_Plotter_Configuration& config) {
    const std::pair<const std::optional<std::string>*, const wchar_t*> texts[] = {
        {&v.user_name, L"UserName"},
        {&v.password, L"UserValidPassword"},
        {&v.account0, L"AcctInfo0Name"},
        {&v.account0_password, L"AcctInfo0ValidPassword"},
        {&v.account1, L"AcctInfo1Name"},
        {&v.account1_password, L"AcctInfo1ValidPassword"},
        // The driver's plot-time PIN item.
        {&v.pin, L"JobPin"},
    };
    for (const auto& [value, key] : texts)
        if (*value) SetText(config, key, **value);
    if (v.copies) config.get_media_configuration()->copies = *v.copies;
}

struct PlotState {
    const PlotOptions& options;
    PlotObservation seen;
    void fail(const std::string& text) { seen.host_errors.push_back(text); }
};

// Places a DXF drawing on the printable area of the selected media at its resolution; its
// warnings go to the user.
bool PlaceDxfOnMedia(dxf::Document& document, const PlotOptions& options,
                     const HT_Std_Plotter_Configuration& config, Drawing& drawing, PlotState& st) {
    double left = 0, right = 0, bottom = 0, top = 0, dpiX = 0, dpiY = 0;
    config.get_printable_area(left, right, bottom, top);
    config.get_resolution(dpiX, dpiY);
    const dxf::PrintableArea area{(right - left) / 25.4 * dpiX, (top - bottom) / 25.4 * dpiY, dpiX};
    std::vector<std::string> warnings;
    std::string error;
    const bool ok = PlaceDxf(document, options.dxf, area, drawing, warnings, error);
    document = dxf::Document{};
    for (const auto& w : warnings)
        if (options.messages)
            std::fprintf(options.messages, "xomplot: %s: %s\n", options.drawing_path.c_str(),
                         w.c_str());
    if (!ok) st.fail(options.drawing_path + ": " + error);
    return ok;
}

}  // namespace

std::string DefaultDriverPath() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return "xomq15.hdi";
    const fs::path candidate = exe.parent_path() / ".." / ".." / "drivers" / "xomq15.hdi";
    return fs::weakly_canonical(candidate, ec).string();
}

std::string DrcPath(const std::string& driver_path, const std::string& drc_file) {
    const fs::path driver(driver_path);
    const std::string file = drc_file.empty() ? driver.stem().string() + ".drc" : drc_file;
    return (driver.parent_path() / xomplatform::ToUtf8(_GetLanguage()) / file).string();
}

bool ListChoices(const std::string& driver_path, std::FILE* out, std::string& error) {
    HT_Std_Plotter_Capabilities caps;
    SPMP<HT_Error_Handler> handler(new HT_Error_Handler());
    if (!LoadCaps(DrcPath(driver_path), handler.get(), caps, error)) return false;
    std::fprintf(out, "Media sizes (--media; * default):\n");
    for (const auto& m : caps.get_media_capabilities()->sizes)
        std::fprintf(out, "  %c %-12s %g x %g mm, margins %g,%g,%g,%g mm\n",
                     m.name == caps.default_media() ? '*' : ' ',
                     xomplatform::ToUtf8(m.name).c_str(), m.width_mm, m.length_mm, m.margin_left,
                     m.margin_right, m.margin_bottom, m.margin_top);
    std::fprintf(out, "Resolutions (--resolution):\n");
    for (const auto& r : caps.get_res_color_mem_capabilities()->resolutions)
        std::fprintf(out, "  %c %-12s %d dpi\n", r.name == caps.default_resolution() ? '*' : ' ',
                     xomplatform::ToUtf8(r.name).c_str(), r.dpi);
    std::fprintf(out, "Colour modes (--color-mode):\n");
    for (const auto& c : caps.get_res_color_mem_capabilities()->color_modes)
        std::fprintf(out, "  %c %-24s colour system %d\n",
                     c.name == caps.default_color_mode() ? '*' : ' ',
                     xomplatform::ToUtf8(c.name).c_str(), c.color_system);
    std::fprintf(out, "Media sources: %s\n", Names(caps.get_media_capabilities()->sources).c_str());
    return true;
}

PlotResult RunPlot(const PlotOptions& options) {
    PlotState st{options, {}};
    std::FILE* msg = options.messages;

    // The drawing first: a bad drawing is refused before any driver is involved.
    Drawing drawing;
    std::string error;
    // A DXF drawing is read now and placed once the media and resolution are known.
    const bool isDxf = IsDxfFile(options.drawing_path);
    dxf::Document dxfDocument;
    if (isDxf ? !dxf::ReadDxfFile(options.drawing_path, dxfDocument, error)
              : !LoadDrawing(options.drawing_path, drawing, error)) {
        st.fail(error);
        return DecideOutcome(st.seen);
    }

    std::unique_ptr<HT_Driver_Module> module = HT_Driver_Module::load(options.driver_path, error);
    if (!module) {
        st.fail(error);
        return DecideOutcome(st.seen);
    }
    const HT_Driver_Identity* identity = module->identity();

    SPMP<HostErrorHandler> handler(new HostErrorHandler(msg));
    // The driver's plotter model, made through its exported class factory as the host's
    // configuration framework makes it: the definition identifies the driver from its DRC data,
    // then the host's loader fills the capabilities from the same file.
    SPMP<HT_Std_Plotter_Class_Factory> factory(module->create_class_factory());
    if (!factory) {
        st.fail(options.driver_path + ": the driver has no class factory");
        return DecideOutcome(st.seen);
    }
    SPMP<HT_Std_Plotter_Definition> definition;
    try {
        definition = factory->HD_Create_Plotter_Definition(handler.get());
    } catch (const HT_Exception& e) {
        st.fail("driver error: " + e.what_text());
        return DecideOutcome(st.seen);
    }
    if (!definition || !definition->get_plotter_capabilities() ||
        !definition->get_plotter_configuration() || !definition->get_shoebox()) {
        st.fail(options.driver_path + ": the driver made no complete plotter definition");
        return DecideOutcome(st.seen);
    }
    SPMP<HT_Std_Plotter_Capabilities> caps(definition->get_plotter_capabilities());
    {
        SPMP<PM_DRC_Caps_Loader> loader = factory->HD_Create_Caps_Loader(handler.get());
        if (!loader ||
            !loader->load(DrcPath(options.driver_path, identity ? identity->drc_file : ""), *caps,
                          error)) {
            st.fail(loader ? error
                           : options.driver_path + ": the driver made no capability loader");
            return DecideOutcome(st.seen);
        }
    }
    PrinterConfig printerConfig;
    if (!options.config_name.empty()) {
        std::vector<std::string> problems;
        if (!IsValidConfigName(options.config_name)) {
            st.fail("'" + options.config_name + "' is not a configuration name");
            return DecideOutcome(st.seen);
        }
        if (!ReadPrinterConfig(ConfigPath(options.config_name), printerConfig, problems, error)) {
            st.fail("no configuration '" + options.config_name + "' (" + error +
                    "; see xomplot config list)");
            return DecideOutcome(st.seen);
        }
        // What cannot be read is reported and left out; the rest serves.
        for (const auto& p : problems)
            if (msg) std::fprintf(msg, "xomplot: %s\n", p.c_str());
    }
    if (options.output_file.empty() && options.port.empty()) {
        const std::string* direct = printerConfig.find("PlotDirectToIpAddress");
        if (direct == nullptr || *direct != "1") {
            st.fail(
                "no output: give -o FILE or --port TARGET, or plot with a configuration "
                "that plots directly (PlotDirectToIpAddress 1 and MachineIpAddress)");
            return DecideOutcome(st.seen);
        }
    }
    auto choice = [&](const std::string& given, const char* key, const std::wstring& fallback) {
        if (!given.empty()) return xomplatform::FromUtf8(given);
        const std::string* stored = printerConfig.find(key);
        return stored ? xomplatform::FromUtf8(*stored) : fallback;
    };
    SPMP<HT_Std_Plotter_Configuration> config(definition->get_plotter_configuration());
    const std::wstring media = choice(options.media, "media", caps->default_media());
    const std::wstring res = choice(options.resolution, "resolution", caps->default_resolution());
    const std::wstring mode = choice(options.color_mode, "color_mode", caps->default_color_mode());
    if (!config->select(*caps, media, res, mode)) {
        if (!caps->find_media(media))
            st.fail("unknown media '" + xomplatform::ToUtf8(media) + "' (see --list)");
        else if (!caps->find_resolution(res))
            st.fail("unknown resolution '" + xomplatform::ToUtf8(res) + "' (see --list)");
        else
            st.fail("unknown colour mode '" + xomplatform::ToUtf8(mode) + "' (see --list)");
        return DecideOutcome(st.seen);
    }
    if (isDxf && !PlaceDxfOnMedia(dxfDocument, options, *config, drawing, st)) {
        return DecideOutcome(st.seen);
    }
    config->get_io_configuration()->plot_to_file = !options.output_file.empty();
    config->get_io_configuration()->output_file = xomplatform::PathFromBytes(options.output_file);
    config->get_io_configuration()->port = xomplatform::PathFromBytes(options.port);
    config->custom_items().clear();
    {
        std::vector<std::string> problems;
        ApplyPrinterConfig(printerConfig, *caps, *config, options.config_name + ".conf", problems);
        for (const auto& p : problems)
            if (msg) std::fprintf(msg, "xomplot: %s\n", p.c_str());
    }
    ApplyPlotTimeValues(options.plot_time, *config);
    SPMP<HostPlotMonitor> monitor(new HostPlotMonitor(msg, options.live_progress));
    definition->get_shoebox()->plot_object = SPMP<HT_Plot_Object>(new HT_Plot_Object(monitor));

    HT_Document_Info info;
    info.document_name = xomplatform::FromUtf8(
        drawing.name.empty() ? fs::path(options.drawing_path).stem().string() : drawing.name);
    info.printer_name = xomplatform::FromUtf8(
        options.printer.empty() ? fs::path(options.driver_path).stem().string() : options.printer);
    info.target_device = info.printer_name;
    if (options.plot_time.job_name)
        info.document_name = xomplatform::FromUtf8(*options.plot_time.job_name);

    OutputWatch watch;
    {
        std::error_code ec;
        const std::uintmax_t drawingBytes = fs::file_size(options.drawing_path, ec);
        const std::uint64_t limit = options.max_job_bytes != 0
                                        ? options.max_job_bytes
                                        : JobSizeLimit(ec ? 0 : drawingBytes, drawing);
        watch.byte_limit = static_cast<std::size_t>(
            std::min<std::uint64_t>(limit, std::numeric_limits<std::size_t>::max()));
        watch.limit_text = JobSizeLimitText(limit, options.max_job_bytes != 0);
    }
    HT_Set_Plotter_IO_Observer(&OutputWatch::Observe, &watch);
    HT_Set_Host_Error_Handler(handler.get());
    ClearInterrupt();
    InstallInterruptHandler();
    {
        SPMP<HT_Plotter_Device_Data> device(module->create_device());
        if (!device) {
            st.fail(options.driver_path + ": the driver made no plotter device");
        } else {
            try {
                device->configure(definition.get());
                device->attach(handler.get());
                device->establish();
                device->begin_picture(info);
                // The host draws until the driver aborts the plot or the user cancels, and then
                // ends the picture as any host does; the driver decides the outcome (the user's
                // cancel reaches it through the monitor's poll) and ends each picture once.
                if (!monitor->aborted()) {
                    const std::size_t total = drawing.actions.size();
                    monitor->show_drawing_progress(0, total);
                    for (std::size_t i = 0; i < total; ++i) {
                        if (InterruptRequested() || monitor->aborted()) break;
                        Dispatch(*device, drawing.actions[i]);
                        monitor->show_drawing_progress(i + 1, total);
                    }
                    monitor->finish_line();
                }
                device->end_picture();
            } catch (const HT_Exception& e) {
                st.fail("driver error: " + e.what_text());
            } catch (const std::exception& e) {
                st.fail(std::string("driver error: ") + e.what());
            }
        }
        monitor->finish_line();
    }  // the device goes before its module is unloaded
    // An output the driver did not close holds an unfinished job: it is given up, never
    // delivered.
    for (const auto& io : watch.outputs)
        if (io->is_open()) io->abort();
    RestoreInterruptHandler();
    HT_Set_Host_Error_Handler(nullptr);
    HT_Set_Plotter_IO_Observer(nullptr, nullptr);

    st.seen.cancelled = monitor->cancelled() || InterruptRequested();
    st.seen.aborted = monitor->aborted();
    for (const auto& io : watch.outputs) {
        if (io->limit_exceeded() && msg)
            std::fprintf(msg, "xomplot: %s\n", xomplatform::ToUtf8(watch.limit_text).c_str());
        st.seen.bytes_written += io->bytes_written();
        st.seen.write_failures += io->write_failures();
        if (!io->last_error().empty()) st.seen.output_error = io->last_error();
    }
    for (const auto& r : handler->reports()) st.seen.reported_messages.push_back(r.message);
    for (const auto& m : handler->messages()) st.seen.shown_messages.push_back(m.text);
    st.seen.status_texts = DriverStatusTexts(options.driver_path);
    if (options.status_source) {
        DriverStatusLookup lookup =
            options.status_source->last_plot_status(info.document_name, info.printer_name);
        st.seen.driver_status = std::move(lookup.status);
        st.seen.driver_status_ambiguous = lookup.ambiguous;
    }
    return DecideOutcome(st.seen);
}

}  // namespace xomplot
