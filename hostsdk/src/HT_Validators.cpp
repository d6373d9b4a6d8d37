// The host's standard validation rules.
#include "hdi/HT_Validators.h"

#include <cwctype>

#include "hdi/HT_Plotter_Definition.h"

namespace {
struct Parts {
    HT_Std_Plotter_Capabilities* caps;
    HT_Std_Plotter_Configuration* config;
};

// Both sides of the definition; a definition lacking either is invalid.
bool PartsOf(const HT_Std_Plotter_Definition* definition, Parts& parts) {
    parts.caps = definition ? definition->get_plotter_capabilities() : nullptr;
    parts.config = definition ? definition->get_plotter_configuration() : nullptr;
    return parts.caps != nullptr && parts.config != nullptr;
}

bool SameSize(const HT_Media_Size& a, const HT_Media_Size& b) {
    return a.name == b.name && a.width_mm == b.width_mm && a.length_mm == b.length_mm &&
           a.margin_left == b.margin_left && a.margin_right == b.margin_right &&
           a.margin_bottom == b.margin_bottom && a.margin_top == b.margin_top;
}

bool Blank(const std::wstring& text) {
    for (wchar_t c : text)
        if (!std::iswspace(static_cast<wint_t>(c))) return false;
    return true;
}
}  // namespace

HT_Std_Validator::HT_Std_Validator(HT_Std_Plotter_Definition* definition)
    : m_definition(definition) {}

HT_Std_Validator::~HT_Std_Validator() = default;

bool HT_Std_Media_Validator::validate_size(HT_Validation_Strategy strategy) {
    Parts p{};
    if (!PartsOf(definition(), p)) return false;
    HT_Media_Size& size = p.config->get_media_configuration()->size;
    const HT_Media_Size* offered = p.caps->find_media(size.name);
    if (offered != nullptr && SameSize(*offered, size)) return true;
    if (strategy == HT_Validation_Strategy::Correct) {
        const HT_Media_Size* fallback =
            offered ? offered : p.caps->find_media(p.caps->default_media());
        if (fallback != nullptr) size = *fallback;
    }
    return false;
}

bool HT_Std_Media_Validator::validate_source(HT_Validation_Strategy strategy) {
    Parts p{};
    if (!PartsOf(definition(), p)) return false;
    std::wstring& source = p.config->get_media_configuration()->source;
    if (source.empty()) return true;
    for (const auto& s : p.caps->get_media_capabilities()->sources)
        if (s == source) return true;
    if (strategy == HT_Validation_Strategy::Correct) source.clear();
    return false;
}

bool HT_Std_Media_Validator::validate_source_entry(HT_Validation_Strategy strategy) {
    Parts p{};
    if (!PartsOf(definition(), p)) return false;
    HT_Media_Configuration& media = *p.config->get_media_configuration();
    bool valid = true;
    if (media.copies < 1 || media.copies > 999) {
        valid = false;
        if (strategy == HT_Validation_Strategy::Correct) media.copies = media.copies < 1 ? 1 : 999;
    }
    const HT_Media_Size& s = media.size;
    // Non-finite dimensions fail every comparison, so they are invalid too.
    const bool printable = s.width_mm > 0 && s.length_mm > 0 && s.margin_left >= 0 &&
                           s.margin_right >= 0 && s.margin_bottom >= 0 && s.margin_top >= 0 &&
                           s.margin_left + s.margin_right < s.width_mm &&
                           s.margin_bottom + s.margin_top < s.length_mm;
    return valid && printable;
}

bool HT_Std_ResColorMem_Validator::validate_res_color_mem(HT_Validation_Strategy strategy) {
    Parts p{};
    if (!PartsOf(definition(), p)) return false;
    HT_ResColorMem_Configuration& rcm = *p.config->get_res_color_mem_configuration();
    const HT_Resolution* res = p.caps->find_resolution(rcm.resolution.name);
    const HT_Color_Mode* mode = p.caps->find_color_mode(rcm.color_mode.name);
    const bool resOk = res != nullptr && res->dpi == rcm.resolution.dpi;
    const bool modeOk = mode != nullptr && mode->color_system == rcm.color_mode.color_system;
    if (strategy == HT_Validation_Strategy::Correct) {
        if (!resOk) {
            const HT_Resolution* r =
                res ? res : p.caps->find_resolution(p.caps->default_resolution());
            if (r != nullptr) rcm.resolution = *r;
        }
        if (!modeOk) {
            const HT_Color_Mode* m =
                mode ? mode : p.caps->find_color_mode(p.caps->default_color_mode());
            if (m != nullptr) rcm.color_mode = *m;
        }
    }
    return resOk && modeOk;
}

bool HT_Std_Custom_Validator::validate_all_custom(HT_Validation_Strategy strategy) {
    Parts p{};
    if (!PartsOf(definition(), p)) return false;
    bool valid = true;
    HT_Custom_Config_List& items = p.config->custom_items();
    std::vector<std::pair<std::wstring, SPMP<HT_Custom_Data>>> corrections;
    for (const auto& item : items.items()) {
        const HT_Custom_Item* declared = p.caps->find_custom(item.name);
        if (declared == nullptr) {
            valid = false;
            continue;
        }
        const bool wantLong = declared->type == L"long";
        if (item.data && item.data->is_long() == wantLong) continue;
        valid = false;
        if (strategy == HT_Validation_Strategy::Correct)
            corrections.emplace_back(item.name, declared->default_data());
    }
    for (auto& [name, data] : corrections) items.find(name)->data = std::move(data);
    return valid;
}

bool HT_Std_Plotter_IO_Validator::validate_portname_and_type(HT_Validation_Strategy) {
    Parts p{};
    if (!PartsOf(definition(), p)) return false;
    const HT_IO_Configuration& io = *p.config->get_io_configuration();
    const HT_IO_Capabilities& allowed = *p.caps->get_io_capabilities();
    if (io.plot_to_file) return allowed.plot_to_file && !Blank(io.output_file);
    if (!allowed.plot_to_port || Blank(io.port)) return false;
    return io.port[0] != L'|' || !Blank(io.port.substr(1));
}

bool HT_Std_Plotter_Validator::validate_all(HT_Std_Plotter_Class_Factory& factory,
                                            HT_Validation_Strategy strategy) {
    SPMP<HT_Std_Media_Validator> media = factory.HD_Create_Media_Validator(m_definition);
    SPMP<HT_Std_ResColorMem_Validator> rcm = factory.HD_Create_ResColorMem_Validator(m_definition);
    SPMP<HT_Std_Custom_Validator> custom = factory.HD_Create_Custom_Validator(m_definition);
    SPMP<HT_Std_Plotter_IO_Validator> io = factory.HD_Create_Plotter_IO_Validator(m_definition);
    if (!media || !rcm || !custom || !io) return false;
    // Every validator runs, so that correcting puts right all it can in one pass.
    bool valid = media->validate_size(strategy);
    valid = media->validate_source(strategy) && valid;
    valid = media->validate_source_entry(strategy) && valid;
    valid = rcm->validate_res_color_mem(strategy) && valid;
    valid = custom->validate_all_custom(strategy) && valid;
    valid = io->validate_portname_and_type(strategy) && valid;
    return valid;
}
