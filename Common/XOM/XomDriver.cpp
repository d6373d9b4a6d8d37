#include "Common/XOM/XomDriver.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <new>

#include "Common/XOM/BuildInfo.h"
#include "Common/XOM/ColorMode.h"
#include "Common/XOM/DriverApp.h"
#include "Common/XOM/HpglWriter.h"
#include "Common/XOM/LocalizedString.h"
#include "Common/XOM/PenModel.h"
#include "Common/XOM/PlotClock.h"
#include "Common/XOM/PlotLogRecord.h"
#include "Common/XOM/PlotMessage.h"
#include "Common/XOM/PlotPreparation.h"
#include "Common/XOM/StringIds.h"
#include "Common/XOM/VectorHandlers.h"
#include "Common/XomImage/DciImages.h"
#include "Common/XomJob/JobPrefix.h"
#include "Common/XomJob/JobTicket.h"
#include "Common/XomJob/PjlHeader.h"
#include "Common/XomSettings/DriverSettings.h"
#include "Common/XomSettings/PlotTimeValues.h"
#include "Common/XomSettings/PrinterDataSource.h"
#include "Common/XomSettings/SettingsStore.h"
#include "Common/xomOutput/DirectChannel.h"
#include "Common/xomOutput/OutputChannel.h"
#include "Common/xomOutput/PrinterNetwork.h"
#include "hdi/HT_Host_Info.h"
#include "juxcommoncode/JuxNetwork/SocketContext.h"
#include "platform/ErrorText.h"
#include "platform/MessageService.h"
#include "platform/Saturate.h"
#include "platform/Utf8.h"

namespace {

// Source name that the device's diagnostic lines carry.
constexpr const char* kDeviceSourceName = "..\\..\\Common\\XOM";

[[noreturn]] void RaiseHostError(int message, const char* function, const char* item) {
    throw HT_Error(theApp().resourceModule(), message, function, item);
}

std::wstring FormatPlotTime(const std::tm& t) {
    wchar_t text[64];
    std::swprintf(text, std::size(text), L"%04d-%02d-%02d %02d:%02d:%02d", t.tm_year + 1900,
                  t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
    return text;
}

void DoNothing(HT_Renderer_Data*) {}

}  // namespace

double RoundTo4Decimals(double value) {
    return std::floor(value * 10000.0 + 0.5) / 10000.0;
}

XOM_Driver::XOM_Driver() : m_palette(new HT_Palette) {
    m_renderer.buffer_depth = 8;
    m_renderer.pixel_aspect = 1.0;
    m_renderer.window_x = 0;
    m_renderer.window_y = 0;
    m_renderer.window_width = 32767;
    m_renderer.window_height = 32767;
    set_standard_actions(false);
    m_actions.draw_dc_polyline.set(this, &DrawDcPolyline);
    m_actions.draw_dc_colorized_polyline.set(this, &DrawDcPolyline);
    m_actions.draw_dci_polyline.set(this, &DrawDciPolyline);
    m_actions.draw_dci_colorized_polyline.set(this, &DrawDciPolyline);
    m_actions.draw_dc_polygon.set(this, &DrawDcPolygon);
    m_actions.draw_dci_polygon.set(this, &DrawDciPolygon);
    m_actions.draw_dci_polytriangle.set(this, &DrawDciPolytriangle);
    m_actions.draw_dci_dot.set(this, &DrawDciDot);
    m_actions.draw_dci_ellipse.set(this, &DrawDciEllipse);
    m_actions.draw_dc_image.set(this, &DrawDcImage);
    m_actions.draw_dci_image.set(this, &DrawDciImage);
    m_actions.nothing.set(this, &DoNothing);
    theApp().addDevice();
}

XOM_Driver::~XOM_Driver() {
    // The network manager lives as long as a device does.
    if (theApp().removeDevice() == 0) {
        CloseDirectChannel();
        ShutdownPrinterNetwork();
    } else {
        PurgePrinterNetwork();
    }
    if (m_plotter_def) m_plotter_def->detach_device();
    // The senders must not write through a device that is gone.
    if (OutputDevice() == this) SetOutputDevice(nullptr);
}

// ---------------------------------------------------------------------------------------------
// Set-up

void XOM_Driver::configure(HT_Std_Plotter_Definition* definition) {
    m_plotter_def.reset();
    HT_XOM_Plotter_Definition* made =
        new (std::nothrow) HT_XOM_Plotter_Definition(m_errorHandler.get(), this);
    if (made == nullptr)
        RaiseHostError(HT_MSG_OBJECT_NOT_CREATED, "XOM_Driver::configure", "m_plotter_def");
    m_plotter_def = SPMP<HT_XOM_Plotter_Definition>(made);
    if (definition == nullptr) {
        RaiseHostError(HT_MSG_FILE_OR_VALUE_MISSING, "XOM_Driver::configure", "definition");
    }

    // Each part copies itself, in the host's order.
    if (auto* meta = definition->get_meta_capabilities()) made->set_meta_capabilities(meta->copy());
    if (auto* caps = definition->get_plotter_capabilities())
        made->set_plotter_capabilities(caps->copy());
    if (auto* config = definition->get_plotter_configuration()) {
        made->set_plotter_configuration(config->copy());
    }
    if (auto* shoebox = definition->get_shoebox()) made->set_shoebox(shoebox->copy());

    m_monitor.reset();
    if (HT_Shoebox* shoebox = made->get_shoebox(); shoebox != nullptr && shoebox->plot_object) {
        m_monitor = SPMP<HT_Plot_Monitor>(shoebox->plot_object->plot_monitor());
        shoebox->plot_object->set_plot_state(0);
    }
    if (m_plotter_io) m_plotter_io->set_plotter_definition(made);

    m_plotTransparencyRead = get_plot_transparency() ? 1 : 0;
    if (HT_Std_Plotter_Configuration* config = made->get_plotter_configuration()) {
        m_colorSystem = config->color_system();
        apply_color_mode(config->color_mode_name(), GetLongSetting(*made, L"ColorMode") == 0);
    }

    // Device-coordinate images are converted by the host; integer-coordinate images go to the
    // image handler.
    m_actions.draw_dc_bitonal_image.set(this, &HD_Standard_Draw_DC_Bitonal_Image);
    m_actions.draw_dc_index8_image.set(this, &HD_Standard_Draw_DC_Index8_Image);
    m_actions.draw_dc_rgb32_image.set(this, &HD_Standard_Draw_DC_RGB32_Image);
    m_actions.draw_dci_bitonal_image.set(this, &XOM_plotter_draw_dci_bitonal_image);
    m_actions.draw_dci_index8_image.set(this, &XOM_plotter_draw_dci_index8_image);
    m_actions.draw_dci_rgb32_image.set(this, &XOM_plotter_draw_dci_rgb32_image);
}

void XOM_Driver::attach(HT_Error_Handler* error_handler) {
    m_errorHandler = SPMP<HT_Error_Handler>(error_handler);
    SPMP<HT_Std_Plotter_Class_Factory> factory = create_class_factory();
    if (!factory) RaiseHostError(HT_MSG_OBJECT_NOT_CREATED, "XOM_Driver::attach", "pCF");
    m_plotter_io = factory->create_plotter_io(error_handler);
    if (!m_plotter_io)
        RaiseHostError(HT_MSG_OBJECT_NOT_CREATED, "XOM_Driver::attach", "m_plotter_io");
    // A host that configures before it attaches must still get an output object that knows
    // where the plot goes.
    if (m_plotter_def) m_plotter_io->set_plotter_definition(m_plotter_def.get());
}

SPMP<HT_Std_Plotter_Class_Factory> XOM_Driver::create_class_factory() {
    return SPMP<HT_Std_Plotter_Class_Factory>(new (std::nothrow) HT_Std_Plotter_Class_Factory);
}

SPMP<HT_Std_Plotter_Definition> XOM_Driver::create_plotter_definition() {
    HT_XOM_Plotter_Definition* made =
        new (std::nothrow) HT_XOM_Plotter_Definition(m_errorHandler.get(), this);
    if (made == nullptr) {
        RaiseHostError(HT_MSG_OBJECT_NOT_CREATED, "XOM_Driver::create_plotter_definition",
                       "newdef");
    }
    return SPMP<HT_Std_Plotter_Definition>(made);
}

void XOM_Driver::establish() {
    update_current_options();
    m_plotCancelled = 0;
    HT_Std_Plotter_Configuration* config =
        m_plotter_def ? m_plotter_def->get_plotter_configuration() : nullptr;
    if (config == nullptr) {
        RaiseHostError(HT_MSG_FILE_OR_VALUE_MISSING, "XOM_Driver::establish", "m_plotter_def");
    }

    double horizontal = 0, vertical = 0;
    config->get_resolution(horizontal, vertical);
    // A resolution below one dot per inch would make every dot computation below meaningless.
    if (!(horizontal >= 1.0 && vertical >= 1.0 && horizontal < 1e6 && vertical < 1e6)) {
        RaiseHostError(HT_MSG_FILE_OR_VALUE_MISSING, "XOM_Driver::establish", "resolution");
    }
    m_horizontalDpi = static_cast<int>(horizontal);
    m_verticalDpi = static_cast<int>(vertical);

    double width = 0, length = 0, left = 0, right = 0, bottom = 0, top = 0;
    config->get_media_size(width, length);
    config->get_printable_area(left, right, bottom, top);
    m_mediaWidth = RoundTo4Decimals(width);
    m_mediaLength = RoundTo4Decimals(length);
    left = RoundTo4Decimals(left);
    right = RoundTo4Decimals(right);
    bottom = RoundTo4Decimals(bottom);
    top = RoundTo4Decimals(top);

    PlotStreamState& s = g_plotStream;
    s.mediaWidth = m_mediaWidth / 25.4;
    s.mediaLength = m_mediaLength / 25.4;
    s.printableLeft = left / 25.4;
    s.printableRight = right / 25.4;
    s.printableBottom = bottom / 25.4;
    s.printableTop = top / 25.4;
    s.inchesPerDot = 1.0 / m_horizontalDpi;
    s.rotate = m_mediaLength > m_mediaWidth ? 1 : 0;

    // Printable size in dots; an inverted area gives an empty window, never a negative one.
    const double windowWidth = std::ceil(m_horizontalDpi * (right - left) / 25.4);
    const double windowHeight = std::ceil(m_verticalDpi * (top - bottom) / 25.4);
    auto toWindow = [](double v) { return std::max(0, xomplatform::SaturateToInt32(v)); };
    m_renderer.window_width = toWindow(windowWidth);
    m_renderer.window_height = toWindow(windowHeight);

    m_renderer.color_system = m_colorSystem;
    m_renderer.bitonal_format = 3;
    m_renderer.pattern_scale = m_horizontalDpi * 0.5;
    m_plotter.true_arcs = 2;
    m_plotter.fat_dots_as_squares = false;
}

void XOM_Driver::apply_color_mode(const std::wstring& name, bool colourAllowed) {
    const ColorModeChoice choice = ChooseColorMode(name, colourAllowed);
    g_plotStream.colorModel = choice.colorModel;
    m_colorSystem = choice.colorSystem;
    m_usesPalette = choice.usesPalette ? 1 : 0;
    if (choice.colorModel == kPenModelColor) LoadColorIndexPens(g_plotStream);
    if (choice.usesPalette) {
        FillDevicePalette(*m_palette, m_plotTransparencyRead != 0);
        m_renderer.palette = m_palette;
    }
    m_renderer.color_system = m_colorSystem;
}

// ---------------------------------------------------------------------------------------------
// The picture

void XOM_Driver::abort_plot() {
    if (m_monitor) m_monitor->request(HT_MONITOR_ABORT);
}

HT_Error_Handler* XOM_Driver::message_handler() const {
    if (!m_plotter_def) return nullptr;
    if (HT_Error_Handler* handler = m_plotter_def->get_error_handler()) return handler;
    return m_errorHandler.get();
}

void XOM_Driver::fail_output() {
    m_outputFailed = 1;
    if (m_outputFailure.empty()) {
        const bool saysWhy = m_plotter_io && !m_plotter_io->last_error().empty();
        m_outputFailure =
            saysWhy ? m_plotter_io->last_error() : LocalizedString(IDS_CONNECTION_FAILED);
    }
}

void XOM_Driver::refuse_picture() {
    fail_output();
    m_plotCancelled = 1;
    if (m_errorHandler) {
        m_errorHandler->report(HT_MSG_OUTPUT_CONNECTION_FAILED, "XOM_Driver::begin_picture",
                               "m_plotter_io");
    }
    abort_plot();
}

void XOM_Driver::begin_picture(const HT_Document_Info& info) {
    m_pictureEnded = false;
    // A new picture starts deliverable, whatever the previous picture of this device met.
    m_outputFailed = 0;
    m_outputFailure.clear();
    m_imageDataConfigured = 0;
    m_undrawnAtStart = undrawn_primitives();
    PlotLogEntry& entry = CurrentPlotLogEntry();
    entry.Clear();

    HT_Std_Plotter_Configuration* config =
        m_plotter_def ? m_plotter_def->get_plotter_configuration() : nullptr;
    DriverSettings& settings = CurrentDriverSettings();
    // The printer is reached through the network manager: without it there is no plot.
    if (JuxNetwork::Failed(StartSnmpManager())) {
        refuse_picture();
        return;
    }
    if (m_plotter_def) {
        LoadSettings(settings, *m_plotter_def);
        TakePlotTimeValues(settings, *m_plotter_def);
    }
    settings.NumberOfCopies = config != nullptr ? config->copies() : 1;
    settings.JobName = info.document_name.empty() ? kDefaultJobName : info.document_name;
    const PlotPreparation prepared =
        PreparePlot(settings, config != nullptr ? config->color_mode_name() : std::wstring());
    if (!prepared.message.empty()) {
        ShowPlotMessage(
            message_handler(), prepared.message,
            prepared.caption.empty() ? LocalizedString(IDS_PRINTER_MESSAGE) : prepared.caption);
    }
    if (!prepared.ready) {
        // Nothing has been sent: the plot ends cancelled, and its record says so.
        entry.m_drawing = info.document_name.empty() ? kDefaultJobName : info.document_name;
        entry.m_printer = info.printer_name;
        entry.m_dateTime = FormatPlotTime(PlotLocalTime());
        m_outputFailed = 1;
        m_plotCancelled = 1;
        abort_plot();
        return;
    }
    // The plot's colour mode, applied afresh for every picture: pens redefined by the last job
    // must not carry over.
    if (config != nullptr) apply_color_mode(prepared.colorModeName, prepared.colourAllowed);

    SetOutputDevice(this);
    ResetOutputState();

    const bool plotToFile = config != nullptr && config->is_plot_to_file();
    m_directOutput = settings.PlotDirectToIpAddress != 0 && !plotToFile ? 1 : 0;
    if (m_directOutput) {
        SelectDirectChannel();
    } else {
        SelectHostChannel();
    }

    if (!m_plotter_io) {
        // attach never ran: there is nowhere to send the picture.
        refuse_picture();
        return;
    }
    m_plotter_io->set_document_info(info);
    entry.m_drawing = info.document_name.empty() ? kDefaultJobName : info.document_name;
    entry.m_printer = info.printer_name;

    if (m_directOutput) {
        const std::wstring address = theApp().currentPrinter().m_address.ToText();
        entry.m_destination = entry.m_printer + L"   " + address;
        if (!OpenDirectChannel(theApp().currentPrinter().m_address)) {
            std::wstring text = LocalizedString(IDS_CANNOT_CONNECT);
            if (!entry.m_printer.empty()) text += L" " + entry.m_printer + L"  ";
            text += L" " + address;
            ShowPlotMessage(message_handler(), text, LocalizedString(IDS_ERROR));
            refuse_picture();
            return;
        }
    } else {
        entry.m_destination =
            plotToFile ? config->output_name() : LocalizedString(IDS_PLOT_TO_PORT);
        if (!m_plotter_io->open()) {
            refuse_picture();
            return;
        }
    }
    const std::tm now = PlotLocalTime();
    entry.m_dateTime = FormatPlotTime(now);

    g_plotStream.jobPrefix = build_job_prefix(info, settings, plotToFile, now);

    ApplyWriterDefaults(g_plotStream, settings.MergeControl, g_plotStream.colorModel);
}

std::string XOM_Driver::build_job_prefix(const HT_Document_Info& info,
                                         const DriverSettings& settings, bool plotToFile,
                                         const std::tm& now) {
    const JobPrefixPlan plan = PlanJobPrefix(plotToFile, settings);
    std::string ticket;
    if (plan.makeTicket) {
        JobTicketInputs in;
        in.settings = &settings;
        in.printerData = theApp().currentPrinter().m_printerData.get();
        in.colorModel = g_plotStream.colorModel;
        in.localTime = now;
        // Without the printer's data the job goes without a ticket.
        if (!WriteJobTicket(in, ticket)) {
            xomplatform::ShowMessage(LocalizedString(IDS_CANNOT_CONNECT),
                                     LocalizedString(IDS_PRINTER_MESSAGE),
                                     xomplatform::MessageIcon::None);
        }
    }

    PjlHeaderInputs pjl;
    pjl.resolutionDpi = m_horizontalDpi;
    pjl.drawingName = info.document_name;
    pjl.productName = _GetProductName();
    if (!info.target_device.empty()) pjl.targetDevice = info.target_device;
    pjl.userName = JobUserNameFromEnvironment();
    pjl.localTime = now;
    const HT_Driver_Identity& identity = XomBuildIdentity();
    pjl.driverVersion = xomplatform::FromUtf8(identity.driver_version);
    pjl.hdiVersion = xomplatform::FromUtf8(identity.hdi_version);
    std::string header;
    WritePjlHeader(pjl, header);

    if (!settings.DebugHeaderFilePath.empty()) {
        std::wstring error;
        if (!WriteDiagnosticHeaderFile(settings.DebugHeaderFilePath, ticket, header, error)) {
            xomplatform::ShowMessage(error, kDiagnosticHeaderCaption,
                                     xomplatform::MessageIcon::Stop);
        }
    }
    return ComposeJobPrefix(plan, ticket, header);
}

// The last buffer goes to the printer; then the plot waits, in steps of 250 ms with the meter
// showing how much the printer has taken, until the connection says it delivered the job or
// failed, or the user cancels. Returns the plot's status.
std::wstring XOM_Driver::finish_direct_output() {
    if (OutputErrorState() != kOutputOk) {
        // A send failed on the way (it was shown then): the job is not complete.
        CloseDirectChannel();
        m_outputFailed = 1;
        return LocalizedString(IDS_CONNECTION_FAILED);
    }
    JuxNetwork::CSocketContext* connection = DirectConnection();
    const std::uint32_t code = FinishDirectChannel();
    if (code != 0) {
        std::wstring status = xomplatform::SystemErrorText(code) +
                              DiagnosticLine(kDeviceSourceName, "XOM_Driver::end_picture", 1661);
        ShowPlotMessage(message_handler(), status, LocalizedString(IDS_PRINTER_MESSAGE));
        m_outputFailed = 1;
        return status;
    }
    const std::size_t total = std::max<std::size_t>(1, DirectBuffersInUse());
    HT_Plot_Monitor* monitor = m_monitor.get();
    bool meter = monitor != nullptr && monitor->meter_start();
    if (meter) monitor->meter_show(0);
    std::wstring status;
    while (true) {
        if (connection->GetNoticeEvent().WaitFor(std::chrono::milliseconds(250))) {
            if (connection->GetNoticeStatus() == JuxNetwork::CSocketContext::kNoticeJobSent) {
                if (meter) monitor->meter_show(100);
                status = LocalizedString(IDS_PLOT_COMPLETE);
            } else {
                status = LocalizedString(IDS_CONNECTION_FAILED);
                CloseDirectChannel();
                m_outputFailed = 1;
                if (!m_plotCancelled)
                    ShowPlotMessage(message_handler(), status, LocalizedString(IDS_ERROR));
            }
            break;
        }
        if (meter) monitor->meter_show(DirectTransferPercent(DirectBuffersInUse(), total));
        if (poll_cancel()) {
            // The user gave up waiting: the printer must not get the rest of a job.
            CloseDirectChannel();
            m_outputFailed = 1;
            status = LocalizedString(IDS_PLOT_CANCELED);
            break;
        }
    }
    if (meter) monitor->meter_end();
    ForgetDirectChannel();
    return status;
}

void XOM_Driver::end_picture() {
    if (m_pictureEnded) return;
    m_pictureEnded = true;
    // A PIN serves one job.
    theApp().currentPin().clear();
    PlotLogEntry& entry = CurrentPlotLogEntry();
    // A cancel that came after the last drawing action still cancels: the host may have stopped
    // drawing because of it.
    if (!drawing_stopped()) poll_cancel();

    if (m_outputFailed || m_plotCancelled) {
        // The output object is not closed: an unfinished job must not be delivered, and the host
        // discards what it holds.
        if (m_directOutput) CloseDirectChannel();
        entry.m_status =
            m_outputFailure.empty() ? LocalizedString(IDS_PLOT_CANCELED) : m_outputFailure;
        RecordPlotInLog(entry);
        abort_plot();
        return;
    }

    if (!g_plotStream.plotNotEmpty) {
        entry.m_status = LocalizedString(IDS_PLOT_EMPTY);
        ShowPlotMessage(message_handler(), entry.m_status, LocalizedString(IDS_PRINTER_MESSAGE));
        abort_plot();
        if (m_directOutput) CloseDirectChannel();
    } else {
        if (g_plotStream.jobStarted) WriteJobClose(g_plotStream);
        if (m_directOutput) {
            entry.m_status = finish_direct_output();
        } else if (m_outputFailed) {
            // The closing commands did not reach the output (write_output has aborted the plot):
            // the job is incomplete (or the user cancelled while they waited).
            entry.m_status =
                m_outputFailure.empty() ? LocalizedString(IDS_PLOT_CANCELED) : m_outputFailure;
        } else if (undrawn_primitives() != m_undrawnAtStart) {
            // Something of the drawing (an image) could not be drawn: the job is delivered but
            // must not pass for the whole drawing.
            entry.m_status = LocalizedString(IDS_PLOT_INCOMPLETE);
        } else {
            entry.m_status = LocalizedString(IDS_PLOT_COMPLETE);
        }
    }

    // The close is part of the outcome, so it comes before the record: a destination that
    // refuses the job at its close (a print command that fails, a file that cannot be
    // finished) makes the plot a failure. An incomplete job is left to the host to discard.
    if (!m_directOutput && m_plotter_io && !m_outputFailed) {
        if (!m_plotter_io->close()) {
            fail_output();
            entry.m_status = m_outputFailure;
            abort_plot();
        }
    }
    RecordPlotInLog(entry);
    m_monitor.reset();
}

// ---------------------------------------------------------------------------------------------
// Output and cancel

int XOM_Driver::write_output(const void* bytes, std::size_t length) {
    if (m_outputFailed) return 0;
    const std::size_t written = m_plotter_io ? m_plotter_io->write(bytes, length) : 0;
    if (written == length) return 0;
    // A write given up because the user cancelled (a destination that stopped taking bytes) is
    // the cancel, not a failed output.
    if (poll_cancel()) {
        m_outputFailed = 1;
    } else {
        fail_output();
    }
    abort_plot();
    return 1;
}

bool XOM_Driver::poll_cancel() {
    if (!m_monitor || m_monitor->request(HT_MONITOR_POLL_CANCEL) == 0) return false;
    m_plotCancelled = 1;
    return true;
}

void XOM_Driver::cancel_picture() {
    m_outputFailed = 1;
    m_plotCancelled = 1;
    end_picture();
}

HT_Plotter_Device_Data* HD_Create_Plotter_Device(void) {
    // Nothing may throw across the host boundary: no memory means no device.
    try {
        return new XOM_Driver;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
