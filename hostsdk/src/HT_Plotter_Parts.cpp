// Plotter definition parts: construction with standard parts, deep copies, look-ups through the
// parts and the configuration accessors.
#include "hdi/HT_Plotter_Parts.h"

#include <algorithm>

namespace {
template <class T>
const T* FindByName(const std::vector<T>& items, const std::wstring& name) {
    auto it = std::find_if(items.begin(), items.end(), [&](const T& t) { return t.name == name; });
    return it == items.end() ? nullptr : &*it;
}

template <class Part>
SPMP<Part> CopyOf(const SPMP<Part>& part) {
    return part ? part->copy() : SPMP<Part>();
}

template <class Part>
void Replace(SPMP<Part>& slot, SPMP<Part> part) {
    if (part) slot = std::move(part);
}
}  // namespace

const HT_Media_Size* HT_Media_Capabilities::find_size(const std::wstring& name) const {
    return FindByName(sizes, name);
}
const HT_Resolution* HT_ResColorMem_Capabilities::find_resolution(const std::wstring& name) const {
    return FindByName(resolutions, name);
}
const HT_Color_Mode* HT_ResColorMem_Capabilities::find_color_mode(const std::wstring& name) const {
    return FindByName(color_modes, name);
}
const HT_Custom_Item* HT_Custom_Capabilities::find(const std::wstring& key) const {
    auto it = std::find_if(items.begin(), items.end(),
                           [&](const HT_Custom_Item& i) { return i.key == key; });
    return it == items.end() ? nullptr : &*it;
}

// ---------------------------------------------------------------------------------------------
// Capabilities

HT_Std_Plotter_Capabilities::HT_Std_Plotter_Capabilities()
    : m_media(new HT_Media_Capabilities),
      m_io(new HT_IO_Capabilities),
      m_physPen(new HT_Phys_Pen_Capabilities),
      m_raster(new HT_Raster_Capabilities),
      m_linetype(new HT_Linetype_Capabilities),
      m_rcm(new HT_ResColorMem_Capabilities),
      m_initTerm(new HT_Init_Term_Capabilities),
      m_custom(new HT_Custom_Capabilities) {}

HT_Std_Plotter_Capabilities::HT_Std_Plotter_Capabilities(const HT_Std_Plotter_Capabilities& other)
    : HT_Counted(other),
      m_media(CopyOf(other.m_media)),
      m_io(CopyOf(other.m_io)),
      m_physPen(CopyOf(other.m_physPen)),
      m_raster(CopyOf(other.m_raster)),
      m_linetype(CopyOf(other.m_linetype)),
      m_rcm(CopyOf(other.m_rcm)),
      m_initTerm(CopyOf(other.m_initTerm)),
      m_custom(CopyOf(other.m_custom)) {}

SPMP<HT_Std_Plotter_Capabilities> HT_Std_Plotter_Capabilities::copy() const {
    return SPMP<HT_Std_Plotter_Capabilities>(new HT_Std_Plotter_Capabilities(*this));
}

void HT_Std_Plotter_Capabilities::set_media_capabilities(SPMP<HT_Media_Capabilities> part) {
    Replace(m_media, std::move(part));
}
void HT_Std_Plotter_Capabilities::set_io_capabilities(SPMP<HT_IO_Capabilities> part) {
    Replace(m_io, std::move(part));
}
void HT_Std_Plotter_Capabilities::set_phys_pen_capabilities(SPMP<HT_Phys_Pen_Capabilities> part) {
    Replace(m_physPen, std::move(part));
}
void HT_Std_Plotter_Capabilities::set_raster_capabilities(SPMP<HT_Raster_Capabilities> part) {
    Replace(m_raster, std::move(part));
}
void HT_Std_Plotter_Capabilities::set_linetype_capabilities(SPMP<HT_Linetype_Capabilities> part) {
    Replace(m_linetype, std::move(part));
}
void HT_Std_Plotter_Capabilities::set_res_color_mem_capabilities(
    SPMP<HT_ResColorMem_Capabilities> part) {
    Replace(m_rcm, std::move(part));
}
void HT_Std_Plotter_Capabilities::set_init_term_capabilities(SPMP<HT_Init_Term_Capabilities> part) {
    Replace(m_initTerm, std::move(part));
}
void HT_Std_Plotter_Capabilities::set_custom_capabilities(SPMP<HT_Custom_Capabilities> part) {
    Replace(m_custom, std::move(part));
}

const HT_Media_Size* HT_Std_Plotter_Capabilities::find_media(const std::wstring& name) const {
    return m_media->find_size(name);
}
const HT_Resolution* HT_Std_Plotter_Capabilities::find_resolution(const std::wstring& name) const {
    return m_rcm->find_resolution(name);
}
const HT_Color_Mode* HT_Std_Plotter_Capabilities::find_color_mode(const std::wstring& name) const {
    return m_rcm->find_color_mode(name);
}
const HT_Custom_Item* HT_Std_Plotter_Capabilities::find_custom(const std::wstring& key) const {
    return m_custom->find(key);
}

// ---------------------------------------------------------------------------------------------
// Configuration

HT_Std_Plotter_Configuration::HT_Std_Plotter_Configuration()
    : m_media(new HT_Media_Configuration),
      m_io(new HT_IO_Configuration),
      m_physPen(new HT_Phys_Pen_Configuration),
      m_rcm(new HT_ResColorMem_Configuration),
      m_initTerm(new HT_Init_Term_Configuration),
      m_custom(new HT_Custom_Configuration) {}

HT_Std_Plotter_Configuration::HT_Std_Plotter_Configuration(
    const HT_Std_Plotter_Configuration& other)
    : HT_Counted(other),
      raster_opaque(other.raster_opaque),
      raster_enabled(other.raster_enabled),
      raster_enabled_kind1(other.raster_enabled_kind1),
      m_media(CopyOf(other.m_media)),
      m_io(CopyOf(other.m_io)),
      m_physPen(CopyOf(other.m_physPen)),
      m_rcm(CopyOf(other.m_rcm)),
      m_initTerm(CopyOf(other.m_initTerm)),
      m_custom(CopyOf(other.m_custom)) {}

SPMP<HT_Std_Plotter_Configuration> HT_Std_Plotter_Configuration::copy() const {
    return SPMP<HT_Std_Plotter_Configuration>(new HT_Std_Plotter_Configuration(*this));
}

void HT_Std_Plotter_Configuration::set_media_configuration(SPMP<HT_Media_Configuration> part) {
    Replace(m_media, std::move(part));
}
void HT_Std_Plotter_Configuration::set_io_configuration(SPMP<HT_IO_Configuration> part) {
    Replace(m_io, std::move(part));
}
void HT_Std_Plotter_Configuration::set_phys_pen_configuration(
    SPMP<HT_Phys_Pen_Configuration> part) {
    Replace(m_physPen, std::move(part));
}
void HT_Std_Plotter_Configuration::set_res_color_mem_configuration(
    SPMP<HT_ResColorMem_Configuration> part) {
    Replace(m_rcm, std::move(part));
}
void HT_Std_Plotter_Configuration::set_init_term_configuration(
    SPMP<HT_Init_Term_Configuration> part) {
    Replace(m_initTerm, std::move(part));
}
void HT_Std_Plotter_Configuration::set_custom_configuration(SPMP<HT_Custom_Configuration> part) {
    Replace(m_custom, std::move(part));
}

void HT_Std_Plotter_Configuration::get_resolution(double& horizontal, double& vertical) const {
    horizontal = m_rcm->resolution.dpi;
    vertical = m_rcm->resolution.dpi;
}

void HT_Std_Plotter_Configuration::get_media_size(double& width_mm, double& length_mm) const {
    width_mm = m_media->size.width_mm;
    length_mm = m_media->size.length_mm;
}

void HT_Std_Plotter_Configuration::get_printable_area(double& left, double& right, double& bottom,
                                                      double& top) const {
    // Coordinates from the media origin (lower left), so right/top are positions, not margins.
    const HT_Media_Size& media = m_media->size;
    left = media.margin_left;
    right = media.width_mm - media.margin_right;
    bottom = media.margin_bottom;
    top = media.length_mm - media.margin_top;
}

bool HT_Std_Plotter_Configuration::select(const HT_Std_Plotter_Capabilities& caps,
                                          const std::wstring& media_name,
                                          const std::wstring& resolution_name,
                                          const std::wstring& color_mode_name) {
    const HT_Media_Size* m = caps.find_media(media_name);
    const HT_Resolution* r = caps.find_resolution(resolution_name);
    const HT_Color_Mode* c = caps.find_color_mode(color_mode_name);
    if (!m || !r || !c) return false;  // nothing changes on a partial match
    m_media->size = *m;
    m_rcm->resolution = *r;
    m_rcm->color_mode = *c;
    return true;
}

// ---------------------------------------------------------------------------------------------
// Meta capabilities and shoebox

HT_Meta_Capabilities::HT_Meta_Capabilities(const HT_Meta_Capabilities& other)
    : HT_Counted(other),
      version_text(other.version_text),
      driver_path(other.driver_path),
      maker(other.maker),
      model(CopyOf(other.model)),
      family(CopyOf(other.family)) {}

SPMP<HT_Meta_Capabilities> HT_Meta_Capabilities::copy() const {
    return SPMP<HT_Meta_Capabilities>(new HT_Meta_Capabilities(*this));
}

SPMP<HT_Shoebox> HT_Shoebox::copy() const {
    SPMP<HT_Shoebox> made(new HT_Shoebox(*this));
    made->data = CopyOf(data);
    return made;
}
