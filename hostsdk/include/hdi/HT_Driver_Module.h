#pragma once
// The host's driver loader: dlopen the driver, call its module start, and unload it again when the
// start fails (as a host does with a library whose initialisation fails).
//
// A driver exports, with C linkage:
//   int  HD_Module_Start(void);   non-zero when the driver initialised (it shows its own message
//                                 through the platform message service when it cannot)
//   void HD_Module_Exit(void);    called before unloading
//   HT_Plotter_Device_Data* HD_Create_Plotter_Device(void);
//   const HT_Driver_Identity* HD_Get_Driver_Identity(void);
//   HT_Std_Plotter_Class_Factory* HD_Create_Class_Factory(void);   the driver's class factory,
//                                 through which the host makes the driver's plotter model
#include <memory>
#include <string>

class HT_Plotter_Device_Data;
class HT_Std_Plotter_Class_Factory;

struct HT_Driver_Identity {
    const char* hdi_version;     // "15.0.0.0"
    const char* hdi_file;        // "xomq15.hdi"
    const char* driver_version;  // "1.0.24.x64"
    const char* drc_file;        // "xomq15.drc"
    int sdk_generation;          // 15
};

class HT_Driver_Module {
  public:
    // Loads and starts the driver at path; null with a readable error when it cannot.
    static std::unique_ptr<HT_Driver_Module> load(const std::string& path, std::string& error);
    ~HT_Driver_Module();
    HT_Driver_Module(const HT_Driver_Module&) = delete;
    HT_Driver_Module& operator=(const HT_Driver_Module&) = delete;

    const std::string& path() const { return m_path; }
    void* symbol(const char* name) const;
    // A new device (the caller holds it through SPMP); null when the driver cannot make one.
    HT_Plotter_Device_Data* create_device() const;
    const HT_Driver_Identity* identity() const;
    // The driver's class factory (the caller holds it through SPMP); null when the driver has
    // none.
    HT_Std_Plotter_Class_Factory* create_class_factory() const;

  private:
    HT_Driver_Module(void* handle, std::string path) : m_handle(handle), m_path(std::move(path)) {}
    void* m_handle;
    std::string m_path;
};

// This host SDK library's generation and its version text ("15.0.0.0" ...).
extern "C" int HT_SDK_Generation();
extern "C" const char* HT_SDK_Version_Text();
