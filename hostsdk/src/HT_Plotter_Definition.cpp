// The standard plotter definition and class factory.
#include "hdi/HT_Plotter_Definition.h"

#include <mutex>
#include <new>
#include <utility>

#include "hdi/PM_DRC_Caps_Loader.h"

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

namespace {
// A creator's new object, or null when memory is exhausted.
template <class T, class... Args>
SPMP<T> Make(Args&&... args) {
    return SPMP<T>(new (std::nothrow) T(std::forward<Args>(args)...));
}
}  // namespace

SPMP<PM_DRC_Caps_Loader> HT_Std_Plotter_Class_Factory::HD_Create_Caps_Loader(
    HT_Error_Handler* error_handler) {
    return Make<PM_DRC_Caps_Loader>(error_handler);
}

SPMP<HT_Std_Plotter_Capabilities> HT_Std_Plotter_Class_Factory::HD_Create_Plotter_Capabilities(
    const std::wstring&, const std::wstring&, const std::wstring&) {
    return Make<HT_Std_Plotter_Capabilities>();
}

SPMP<HT_Std_Plotter_Configuration> HT_Std_Plotter_Class_Factory::HD_Create_Plotter_Configuration(
    const std::wstring&, const std::wstring&, const std::wstring&) {
    return Make<HT_Std_Plotter_Configuration>();
}

SPMP<HT_Std_Plotter_Definition> HT_Std_Plotter_Class_Factory::HD_Create_Plotter_Definition(
    HT_Error_Handler* error_handler) {
    return Make<HT_Std_Plotter_Definition>(error_handler);
}

SPMP<HT_Media_Capabilities> HT_Std_Plotter_Class_Factory::HD_Create_Media_Capabilities() {
    return Make<HT_Media_Capabilities>();
}
SPMP<HT_IO_Capabilities> HT_Std_Plotter_Class_Factory::HD_Create_IO_Capabilities() {
    return Make<HT_IO_Capabilities>();
}
SPMP<HT_Phys_Pen_Capabilities> HT_Std_Plotter_Class_Factory::HD_Create_Phys_Pen_Capabilities() {
    return Make<HT_Phys_Pen_Capabilities>();
}
SPMP<HT_Raster_Capabilities> HT_Std_Plotter_Class_Factory::HD_Create_Raster_Capabilities() {
    return Make<HT_Raster_Capabilities>();
}
SPMP<HT_Linetype_Capabilities> HT_Std_Plotter_Class_Factory::HD_Create_Linetype_Capabilities() {
    return Make<HT_Linetype_Capabilities>();
}
SPMP<HT_ResColorMem_Capabilities>
HT_Std_Plotter_Class_Factory::HD_Create_ResColorMem_Capabilities() {
    return Make<HT_ResColorMem_Capabilities>();
}
SPMP<HT_Init_Term_Capabilities> HT_Std_Plotter_Class_Factory::HD_Create_Init_Term_Capabilities() {
    return Make<HT_Init_Term_Capabilities>();
}
SPMP<HT_Custom_Capabilities> HT_Std_Plotter_Class_Factory::HD_Create_Custom_Capabilities() {
    return Make<HT_Custom_Capabilities>();
}
SPMP<HT_Media_Configuration> HT_Std_Plotter_Class_Factory::HD_Create_Media_Configuration() {
    return Make<HT_Media_Configuration>();
}
SPMP<HT_IO_Configuration> HT_Std_Plotter_Class_Factory::HD_Create_IO_Configuration() {
    return Make<HT_IO_Configuration>();
}
SPMP<HT_Phys_Pen_Configuration> HT_Std_Plotter_Class_Factory::HD_Create_Phys_Pen_Configuration() {
    return Make<HT_Phys_Pen_Configuration>();
}
SPMP<HT_ResColorMem_Configuration>
HT_Std_Plotter_Class_Factory::HD_Create_ResColorMem_Configuration() {
    return Make<HT_ResColorMem_Configuration>();
}
SPMP<HT_Init_Term_Configuration> HT_Std_Plotter_Class_Factory::HD_Create_Init_Term_Configuration() {
    return Make<HT_Init_Term_Configuration>();
}
SPMP<HT_Custom_Configuration> HT_Std_Plotter_Class_Factory::HD_Create_Custom_Configuration() {
    return Make<HT_Custom_Configuration>();
}
SPMP<HT_Meta_Capabilities> HT_Std_Plotter_Class_Factory::HD_Create_Meta_Capabilities() {
    return Make<HT_Meta_Capabilities>();
}
SPMP<HT_Model> HT_Std_Plotter_Class_Factory::HD_Create_Model() {
    return Make<HT_Model>();
}
SPMP<HT_Family> HT_Std_Plotter_Class_Factory::HD_Create_Family() {
    return Make<HT_Family>();
}
SPMP<HT_Shoebox_Data> HT_Std_Plotter_Class_Factory::HD_Create_Shoebox_Data() {
    return Make<HT_Shoebox_Data>();
}
SPMP<HT_Shoebox> HT_Std_Plotter_Class_Factory::HD_Create_Shoebox() {
    return Make<HT_Shoebox>();
}

SPMP<HT_Std_Media_Validator> HT_Std_Plotter_Class_Factory::HD_Create_Media_Validator(
    HT_Std_Plotter_Definition* definition) {
    return Make<HT_Std_Media_Validator>(definition);
}
SPMP<HT_Std_ResColorMem_Validator> HT_Std_Plotter_Class_Factory::HD_Create_ResColorMem_Validator(
    HT_Std_Plotter_Definition* definition) {
    return Make<HT_Std_ResColorMem_Validator>(definition);
}
SPMP<HT_Std_Custom_Validator> HT_Std_Plotter_Class_Factory::HD_Create_Custom_Validator(
    HT_Std_Plotter_Definition* definition) {
    return Make<HT_Std_Custom_Validator>(definition);
}
SPMP<HT_Std_Plotter_IO_Validator> HT_Std_Plotter_Class_Factory::HD_Create_Plotter_IO_Validator(
    HT_Std_Plotter_Definition* definition) {
    return Make<HT_Std_Plotter_IO_Validator>(definition);
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
