// Plotter definition parts: copies, capability look-ups and the configuration accessors.
#include "hdi/HT_Plotter_Parts.h"

#include <algorithm>

namespace {
template <class T>
const T* FindByName(const std::vector<T>& items, const std::wstring& name) {
    auto it = std::find_if(items.begin(), items.end(), [&](const T& t) { return t.name == name; });
    return it == items.end() ? nullptr : &*it;
}
}  // namespace

SPMP<HT_Std_Plotter_Capabilities> HT_Std_Plotter_Capabilities::copy() const {
    return SPMP<HT_Std_Plotter_Capabilities>(new HT_Std_Plotter_Capabilities(*this));
}

const HT_Media_Size* HT_Std_Plotter_Capabilities::find_media(const std::wstring& name) const {
    return FindByName(media_sizes, name);
}
const HT_Resolution* HT_Std_Plotter_Capabilities::find_resolution(const std::wstring& name) const {
    return FindByName(resolutions, name);
}
const HT_Color_Mode* HT_Std_Plotter_Capabilities::find_color_mode(const std::wstring& name) const {
    return FindByName(color_modes, name);
}

const HT_Custom_Item* HT_Std_Plotter_Capabilities::find_custom(const std::wstring& key) const {
    auto it = std::find_if(custom_items.begin(), custom_items.end(),
                           [&](const HT_Custom_Item& i) { return i.key == key; });
    return it == custom_items.end() ? nullptr : &*it;
}

SPMP<HT_Std_Plotter_Configuration> HT_Std_Plotter_Configuration::copy() const {
    return SPMP<HT_Std_Plotter_Configuration>(new HT_Std_Plotter_Configuration(*this));
}

void HT_Std_Plotter_Configuration::get_resolution(double& horizontal, double& vertical) const {
    horizontal = resolution.dpi;
    vertical = resolution.dpi;
}

void HT_Std_Plotter_Configuration::get_media_size(double& width_mm, double& length_mm) const {
    width_mm = media.width_mm;
    length_mm = media.length_mm;
}

void HT_Std_Plotter_Configuration::get_printable_area(double& left, double& right, double& bottom,
                                                      double& top) const {
    // Coordinates from the media origin (lower left), so right/top are positions, not margins.
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
    media = *m;
    resolution = *r;
    color_mode = *c;
    return true;
}

SPMP<HT_Meta_Capabilities> HT_Meta_Capabilities::copy() const {
    return SPMP<HT_Meta_Capabilities>(new HT_Meta_Capabilities(*this));
}

SPMP<HT_Shoebox> HT_Shoebox::copy() const {
    return SPMP<HT_Shoebox>(new HT_Shoebox(*this));
}
