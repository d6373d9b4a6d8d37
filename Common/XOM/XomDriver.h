#pragma once
// XOM_Driver: the device the host plots through. It fixes the page geometry, chooses the output
// channel, frames each picture as one print job and installs the drawing handlers that turn the
// host's primitives into HP-GL/2 (VectorHandlers.h).
//
// The host calls it from one thread: configure, attach, establish, begin_picture, the drawing
// actions, end_picture, destruction. A picture ends exactly once: a drawing handler that sees a
// user cancel ends it itself, and the host's own end_picture for that picture then does nothing.
#include <cstdint>
#include <ctime>
#include <string>

#include "Common/XOM/Export.h"
#include "Common/XomSettings/DriverSettings.h"
#include "Common/xompldef/XomPlotterDefinition.h"
#include "hdi/HT_Plotter_Device_Data.h"

class XOM_Driver : public HT_Plotter_Device_Data {
  public:
    XOM_Driver();
    ~XOM_Driver() override;
    XOM_Driver(const XOM_Driver&) = delete;
    XOM_Driver& operator=(const XOM_Driver&) = delete;

    // Host operations (slot order of HT_Plotter_Device_Data).
    int get_device_flags() override { return 0; }
    void establish() override;
    void begin_picture(const HT_Document_Info& info) override;
    void end_picture() override;
    void update() override {}
    void start_page_hook() override {}
    // Raises HT_Error 37 naming "m_plotter_def" when the definition cannot be made.
    void configure(HT_Std_Plotter_Definition* definition) override;
    // Raises HT_Error 37 naming "pCF" or "m_plotter_io".
    void attach(HT_Error_Handler* error_handler) override;
    // Raises HT_Error 37 naming "newdef".
    SPMP<HT_Std_Plotter_Definition> create_plotter_definition() override;
    bool supports_true_colors() override { return true; }
    void viewport_hook() override {}
    bool wants_raster_rotation() override { return false; }
    int get_memory_hint() override { return 0; }
    // 0 when the bytes were written (or output has already failed and they are dropped); 1 after
    // a short write, which aborts the plot and marks output failed.
    int write_output(const void* bytes, std::size_t length) override;

    // Cancel poll after a primitive: true (and plot cancelled) when the user cancelled.
    bool poll_cancel();
    // A drawing handler's reaction to a cancel: output failed, plot cancelled, end the picture.
    void cancel_picture();
    // Why the job could not be delivered (the output's error, or string 220); empty while output
    // works. A picture that has one ends with it as its status.
    const std::wstring& output_failure() const { return m_outputFailure; }
    // Drawing actions return at once while this is true.
    bool drawing_stopped() const { return m_plotCancelled || m_outputFailed; }

    // Colour mode by name (see ColorMode.h): pen model, colour system, palette; then the
    // renderer's colour system.
    void apply_color_mode(const std::wstring& name, bool colourAllowed);

    HT_XOM_Plotter_Definition* plotter_definition() const { return m_plotter_def.get(); }
    HT_Plotter_IO* plotter_io() const { return m_plotter_io.get(); }
    HT_Plot_Monitor* plot_monitor() const { return m_monitor.get(); }
    bool output_failed() const { return m_outputFailed != 0; }
    bool plot_cancelled() const { return m_plotCancelled != 0; }
    bool picture_ended() const { return m_pictureEnded; }
    int horizontal_resolution() const { return m_horizontalDpi; }
    int vertical_resolution() const { return m_verticalDpi; }
    double media_width_mm() const { return m_mediaWidth; }
    double media_length_mm() const { return m_mediaLength; }
    int color_system() const { return m_colorSystem; }
    bool direct_output() const { return m_directOutput != 0; }
    bool uses_palette() const { return m_usesPalette != 0; }
    // The raster encoder's configure-image-data block was sent in this job.
    bool image_data_configured() const { return m_imageDataConfigured != 0; }
    // The encoding and bits per index of the block last sent ((encoding << 8) | bits).
    int image_data_format() const { return m_imageDataFormat; }
    void set_image_data_configured(bool sent, int format = 0) {
        m_imageDataConfigured = sent ? 1 : 0;
        m_imageDataFormat = sent ? format : 0;
    }
    const HT_Palette* palette() const { return m_palette.get(); }

  protected:
    // The class factory that makes the output object; the host's standard one.
    virtual SPMP<HT_Std_Plotter_Class_Factory> create_class_factory();

  private:
    // Host output could not be opened or connected: flags, error report 4, abort request.
    void refuse_picture();
    // The XML job ticket (when it goes into the stream) and the PJL header of this picture; also
    // writes the diagnostic header file when the settings name one.
    std::string build_job_prefix(const HT_Document_Info& info, const DriverSettings& settings,
                                 bool plotToFile, const std::tm& now);
    void abort_plot();
    // Output failed: later sends are dropped and the picture ends with the output's error.
    void fail_output();
    std::wstring finish_direct_output();
    // Where plot messages go besides the message box: the definition's error handler, or the
    // device's when the definition was made before attach gave it one. Null without a definition.
    HT_Error_Handler* message_handler() const;

    SPMP<HT_XOM_Plotter_Definition> m_plotter_def;
    SPMP<HT_Error_Handler> m_errorHandler;
    SPMP<HT_Plotter_IO> m_plotter_io;
    SPMP<HT_Plot_Monitor> m_monitor;
    std::uint8_t m_outputFailed = 0;
    std::uint8_t m_plotCancelled = 0;
    int m_horizontalDpi = 0;
    int m_verticalDpi = 0;
    double m_mediaWidth = 0;  // millimetres, 4 decimals
    double m_mediaLength = 0;
    std::uint8_t m_imageDataConfigured = 0;
    int m_imageDataFormat = 0;
    // Host's count of undrawn primitives when the picture began.
    int m_undrawnAtStart = 0;
    int m_colorSystem = HT_COLOR_SYSTEM_MAPPED;
    std::uint8_t m_directOutput = 0;
    std::uint8_t m_usesPalette = 0;
    SPMP<HT_Palette> m_palette;
    std::uint8_t m_plotTransparencyRead = 0;
    std::wstring m_outputFailure;
    // No picture is open: set by end_picture, cleared by begin_picture. Guards against a second
    // end of the same picture (and a second plot-log record of it).
    bool m_pictureEnded = true;
};

XOM_EXPORT HT_Plotter_Device_Data* HD_Create_Plotter_Device(void);

// Rounds to 4 decimals as the device keeps media and printable sizes: floor(v * 10000 + 0.5) /
// 10000.
double RoundTo4Decimals(double value);
