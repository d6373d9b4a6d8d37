// The standard plotter definition and class factory.
#include "hdi/HT_Plotter_Definition.h"

#include <mutex>

#include "hdi/HT_Plotter_IO.h"

HT_Std_Plotter_Definition::HT_Std_Plotter_Definition(HT_Error_Handler* error_handler)
    : m_errorHandler(error_handler) {}

HT_Std_Plotter_Definition::~HT_Std_Plotter_Definition() = default;

void HT_Std_Plotter_Definition::set_meta_capabilities(SPMP<HT_Meta_Capabilities> meta) {
    m_meta = std::move(meta);
}
void HT_Std_Plotter_Definition::set_plotter_capabilities(SPMP<HT_Std_Plotter_Capabilities> caps) {
    m_caps = std::move(caps);
}
void HT_Std_Plotter_Definition::set_plotter_configuration(
    SPMP<HT_Std_Plotter_Configuration> config) {
    m_config = std::move(config);
}
void HT_Std_Plotter_Definition::set_shoebox(SPMP<HT_Shoebox> shoebox) {
    m_shoebox = std::move(shoebox);
}

bool HT_Std_Plotter_Definition::get_driver_hints_helpfile(std::wstring& file, std::wstring& topic) {
    file.clear();
    topic.clear();
    return false;
}

SPMP<HT_Std_Plotter_Capabilities> HT_Std_Plotter_Class_Factory::HD_Create_Plotter_Capabilities(
    const std::wstring&, const std::wstring&, const std::wstring&) {
    return SPMP<HT_Std_Plotter_Capabilities>(new HT_Std_Plotter_Capabilities());
}

SPMP<HT_Std_Plotter_Configuration> HT_Std_Plotter_Class_Factory::HD_Create_Plotter_Configuration(
    const std::wstring&, const std::wstring&, const std::wstring&) {
    return SPMP<HT_Std_Plotter_Configuration>(new HT_Std_Plotter_Configuration());
}

SPMP<HT_Std_Plotter_Definition> HT_Std_Plotter_Class_Factory::HD_Create_Plotter_Definition(
    HT_Error_Handler* error_handler) {
    return SPMP<HT_Std_Plotter_Definition>(new HT_Std_Plotter_Definition(error_handler));
}

SPMP<HT_Meta_Capabilities> HT_Std_Plotter_Class_Factory::HD_Create_Meta_Capabilities() {
    return SPMP<HT_Meta_Capabilities>(new HT_Meta_Capabilities());
}

SPMP<HT_Shoebox> HT_Std_Plotter_Class_Factory::HD_Create_Shoebox() {
    return SPMP<HT_Shoebox>(new HT_Shoebox());
}

namespace {
struct IoObserver {
    std::mutex lock;
    HT_Plotter_IO_Observer fn = nullptr;
    void* context = nullptr;
};
IoObserver& Observer() {
    static IoObserver o;
    return o;
}
}  // namespace

void HT_Set_Plotter_IO_Observer(HT_Plotter_IO_Observer observer, void* context) {
    std::lock_guard<std::mutex> g(Observer().lock);
    Observer().fn = observer;
    Observer().context = context;
}

SPMP<HT_Plotter_IO> HT_Std_Plotter_Class_Factory::create_plotter_io(
    HT_Error_Handler* error_handler) {
    SPMP<HT_Plotter_IO> io(new HT_Plotter_IO(error_handler));
    HT_Plotter_IO_Observer fn;
    void* context;
    {
        std::lock_guard<std::mutex> g(Observer().lock);
        fn = Observer().fn;
        context = Observer().context;
    }
    if (fn) fn(io.get(), context);
    return io;
}
