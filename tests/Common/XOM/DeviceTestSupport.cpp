#include "DeviceTestSupport.h"

#include <algorithm>
#include <ctime>
#include <memory>

#include "Common/XOM/DriverApp.h"
#include "Common/XOM/PlotClock.h"
#include "Common/XOM/PlotLogRecord.h"
#include "Common/XOM/VectorHandlers.h"
#include "Common/XomJob/PjlHeader.h"
#include "platform/MessageService.h"

bool FakeOutput::open() {
    ++opens;
    if (!openResult) m_lastError = openError;
    return openResult;
}

std::size_t FakeOutput::write(const void* data, std::size_t length) {
    ++writes;
    requested += length;
    std::size_t taken = length;
    if (shortWriteAt > 0 && writes >= shortWriteAt) {
        taken = length / 2;
        m_lastError = writeError;
    }
    bytes.append(static_cast<const char*>(data), taken);
    return taken;
}

bool FakeOutput::close() {
    ++closes;
    if (!closeResult) m_lastError = closeError;
    return closeResult;
}

void FakeMonitor::meter_show(int percent) {
    meterShown.push_back(percent);
    HT_Plot_Monitor::meter_show(percent);
}

int FakeMonitor::request(int code) {
    if (code == HT_MONITOR_POLL_CANCEL) {
        ++polls;
        return cancelAtPoll > 0 && polls >= cancelAtPoll ? 1 : 0;
    }
    if (code == HT_MONITOR_ABORT) ++aborts;
    return HT_Plot_Monitor::request(code);
}

namespace {

class FakeFactory : public HT_Std_Plotter_Class_Factory {
  public:
    explicit FakeFactory(TestDevice& device) : m_device(device) {}
    SPMP<HT_Plotter_IO> create_plotter_io(HT_Error_Handler* handler) override {
        m_device.output = SPMP<FakeOutput>(new FakeOutput(handler));
        return m_device.output;
    }

  private:
    TestDevice& m_device;
};

}  // namespace

TestDevice::TestDevice() = default;

SPMP<HT_Std_Plotter_Class_Factory> TestDevice::create_class_factory() {
    return SPMP<HT_Std_Plotter_Class_Factory>(new FakeFactory(*this));
}

HostPlot::HostPlot(const PlotSetup& setup)
    : errors(new HT_Error_Handler), monitor(new FakeMonitor) {
    definition = SPMP<HT_Std_Plotter_Definition>(new HT_Std_Plotter_Definition(errors.get()));
    SPMP<HT_Std_Plotter_Configuration> config(new HT_Std_Plotter_Configuration);
    config->get_media_configuration()->size.name = L"Test";
    config->get_media_configuration()->size.width_mm = setup.widthMm;
    config->get_media_configuration()->size.length_mm = setup.lengthMm;
    config->get_media_configuration()->size.margin_left = setup.marginLeft;
    config->get_media_configuration()->size.margin_right = setup.marginRight;
    config->get_media_configuration()->size.margin_bottom = setup.marginBottom;
    config->get_media_configuration()->size.margin_top = setup.marginTop;
    config->get_res_color_mem_configuration()->resolution.dpi = setup.dpi;
    config->get_res_color_mem_configuration()->color_mode.name = setup.colorMode;
    config->get_res_color_mem_configuration()->color_mode.color_system = setup.colorSystem;
    config->get_io_configuration()->plot_to_file = setup.plotToFile;
    config->get_io_configuration()->output_file = setup.outputFile;
    config->get_media_configuration()->copies = setup.copies;
    bool addressGiven = false;
    for (const auto& item : setup.settings) {
        config->custom_items().append(item);
        addressGiven = addressGiven || item.name == L"MachineIpAddress";
    }
    if (setup.printerAnswers) {
        if (!addressGiven)
            config->custom_items().append(TextItem(L"MachineIpAddress", L"192.0.2.10"));
        m_previousReader = SetPrinterDataReader([data = setup.printerData](const CXomMachine&) {
            return std::make_unique<CXomPrinterData>(data);
        });
    } else {
        m_previousReader = SetPrinterDataReader({});
    }
    // The definitions the device makes identify the driver from its DRC data beside it.
    theApp().setDriverPath(XOM_FAKE_DRIVER_PATH);
    theApp().currentPrinter().Reset();
    theApp().currentPin().clear();
    definition->set_plotter_configuration(config);
    definition->set_plotter_capabilities(
        SPMP<HT_Std_Plotter_Capabilities>(new HT_Std_Plotter_Capabilities));
    definition->set_meta_capabilities(SPMP<HT_Meta_Capabilities>(new HT_Meta_Capabilities));
    SPMP<HT_Shoebox> shoebox(new HT_Shoebox);
    shoebox->plot_object = SPMP<HT_Plot_Object>(new HT_Plot_Object(monitor));
    definition->set_shoebox(shoebox);

    device = SPMP<TestDevice>(new TestDevice);
    device->configure(definition.get());
    device->attach(errors.get());
    device->establish();
}

HostPlot::~HostPlot() {
    SetPrinterDataReader(std::move(m_previousReader));
}

CXomPrinterData PlotSetup::OpenPrinterData() {
    CXomPrinterData data;
    data.m_processColorants = 4;
    data.m_userAccounting.m_userAccess = 1;
    data.m_accountingInformation.resize(2);
    for (std::size_t i = 0; i < 2; ++i) {
        data.m_accountingInformation[i].m_index = static_cast<std::uint32_t>(i + 1);
        data.m_accountingInformation[i].m_access = 1;
    }
    return data;
}

HT_Custom_Config_Item LongItem(const wchar_t* key, std::int32_t value) {
    return {key, SPMP<HT_Custom_Data>(new HT_Std_Long_Custom_Data(value))};
}

HT_Custom_Config_Item TextItem(const wchar_t* key, const std::wstring& value) {
    return {key, SPMP<HT_Custom_Data>(new HT_Std_String_Custom_Data(value))};
}

void HostPlot::Begin(const std::wstring& drawing, const std::wstring& printer) {
    device->begin_picture(HT_Document_Info{drawing, printer, {}});
}

std::string PlotOneLine(const PlotSetup& setup, const std::wstring& drawing) {
    HostPlot plot(setup);
    plot.Begin(drawing);
    const HT_DCI_Point line[] = {{0, 0, 0}, {100, 0, 0}};
    DrawDciPolyline(plot.device.get(), SolidRendition(), 2, line);
    plot.device->end_picture();
    return plot.output().bytes;
}

HT_Rendition SolidRendition(int weight) {
    HT_Rendition r;
    r.line.weight = weight;
    r.color.rgb = HT_RGB{0, 0, 0, 0};
    return r;
}

PlotObserver::PlotObserver() {
    xomplatform::SetMessageSink(
        [this](const std::wstring& text, const std::wstring& caption, xomplatform::MessageIcon) {
            messages.push_back({text, caption});
        });
    SetPlotLogObserver([this](const PlotLogEntry& e) {
        loggedStatus.push_back(e.m_status);
        loggedBytes.push_back(e.m_byteCount);
        loggedDestination.push_back(e.m_destination);
    });
    SetJobUserNameSource([] { return std::optional<std::string>("tester"); });
    SetPlotClock([] {
        std::tm t{};
        t.tm_year = 2024 - 1900;
        t.tm_mon = 2;
        t.tm_mday = 9;
        t.tm_hour = 14;
        t.tm_min = 5;
        t.tm_sec = 7;
        return t;
    });
}

PlotObserver::~PlotObserver() {
    xomplatform::SetMessageSink({});
    SetPlotLogObserver({});
    SetPlotClock({});
    SetJobUserNameSource({});
}
