#pragma once
// Test doubles for driving XOM_Driver the way a host does: an output object that keeps the bytes
// and can be told to fail, a plot monitor that reports a cancel at a chosen poll, and a host
// plotter definition built from a few numbers.
#include <cstddef>
#include <string>
#include <vector>

#include "Common/XOM/XomDriver.h"
#include "Common/XomSettings/PrinterDataSource.h"
#include "hdi/HT_Plot_Monitor.h"
#include "hdi/HT_Plotter_Definition.h"
#include "hdi/HT_Plotter_IO.h"

class FakeOutput : public HT_Plotter_IO {
  public:
    explicit FakeOutput(HT_Error_Handler* handler) : HT_Plotter_IO(handler) {}

    bool open() override;
    // From the write numbered shortWriteAt (1-based) on, only half of each write is taken.
    std::size_t write(const void* data, std::size_t length) override;
    bool close() override;

    std::string bytes;
    std::size_t requested = 0;  // bytes asked to write, written or not
    bool openResult = true;
    bool closeResult = true;
    int shortWriteAt = 0;
    // The error texts a failing open, write or close leaves in last_error().
    std::wstring openError = L"cannot open the test port";
    std::wstring writeError = L"write to the test port: No space left on device";
    std::wstring closeError = L"print command exited with status 3";
    int opens = 0;
    int writes = 0;
    int closes = 0;
};

class FakeMonitor : public HT_Plot_Monitor {
  public:
    // Poll requests answer "cancelled" from the poll numbered cancelAtPoll (1-based) on.
    int request(int code) override;
    // Records every percent the meter shows.
    void meter_show(int percent) override;

    int cancelAtPoll = 0;
    std::vector<int> meterShown;
    int polls = 0;
    int aborts = 0;
};

// What the host's configuration says about the plot.
struct PlotSetup {
    int dpi = 600;
    double widthMm = 210.0;
    double lengthMm = 297.0;
    double marginLeft = 5.0, marginRight = 5.0, marginBottom = 5.0, marginTop = 5.0;
    std::wstring colorMode = L"Color";
    int colorSystem = HT_COLOR_SYSTEM_RGB;
    bool plotToFile = false;
    std::wstring outputFile = L"/tmp/plot.plt";
    int copies = 1;
    // Settings items the host's configuration holds before the plot.
    std::vector<HT_Custom_Config_Item> settings;
    // The linked printer answers with this data (at 192.0.2.10 unless the settings name another
    // address); without it no printer data is known.
    bool printerAnswers = true;
    CXomPrinterData printerData = OpenPrinterData();

    // A colour printer (four colorants) that asks for no user and no accounting values: its user
    // mode and both accounting fields are "not used".
    static CXomPrinterData OpenPrinterData();
};

// A settings item for PlotSetup::settings.
HT_Custom_Config_Item LongItem(const wchar_t* key, std::int32_t value);
HT_Custom_Config_Item TextItem(const wchar_t* key, const std::wstring& value);

// XOM_Driver with the fake output object in place of the host's.
class TestDevice : public XOM_Driver {
  public:
    TestDevice();
    SPMP<FakeOutput> output;

  protected:
    SPMP<HT_Std_Plotter_Class_Factory> create_class_factory() override;
};

// The host's side of one plot: definition, error handler, monitor, and the device taken through
// configure, attach and establish.
class HostPlot {
  public:
    explicit HostPlot(const PlotSetup& setup = {});
    ~HostPlot();
    HostPlot(const HostPlot&) = delete;
    HostPlot& operator=(const HostPlot&) = delete;

    void Begin(const std::wstring& drawing = L"Test.dwg",
               const std::wstring& printer = L"Q Plotter");

    SPMP<HT_Error_Handler> errors;
    SPMP<FakeMonitor> monitor;
    SPMP<HT_Std_Plotter_Definition> definition;
    SPMP<TestDevice> device;
    FakeOutput& output() { return *device->output; }

  private:
    PrinterDataReader m_previousReader;
};

// A solid, unclipped rendition with the given line weight.
HT_Rendition SolidRendition(int weight = 1);

// One plot of one line, as the host makes it with setup: the bytes the port received.
std::string PlotOneLine(const PlotSetup& setup, const std::wstring& drawing = L"Test.dwg");

// Captures plot messages and plot-log records while alive.
class PlotObserver {
  public:
    PlotObserver();
    ~PlotObserver();
    PlotObserver(const PlotObserver&) = delete;
    PlotObserver& operator=(const PlotObserver&) = delete;

    struct Message {
        std::wstring text;
        std::wstring caption;
    };
    std::vector<Message> messages;
    std::vector<std::wstring> loggedStatus;
    std::vector<unsigned long long> loggedBytes;
    std::vector<std::wstring> loggedDestination;
};
