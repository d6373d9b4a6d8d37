// Fills plotter capabilities from a DRC file. The nodes it reads:
//   \DPIA_directory\<node>   descriptor = family,model   info = family text,model text
//   \defaults                media, resolution, color_mode (names of entries below)
//   \media_sizes\<name>      display (string id), width, length (mm), margins = l,r,b,t (mm)
//   \resolutions\<name>      display, dpi
//   \color_modes\<name>      display, color_system (0 mapped, 1 RGB, 2 bitonal)
//   \media_sources\<name>    display
//   \custom\<key>            type (long | string), default
#include <charconv>
#include <cmath>
#include <vector>

#include "HostText.h"
#include "hdi/PM_DRC_Caps_Loader.h"

namespace {

class CapsReader {
  public:
    CapsReader(const PM_Object& drc, std::string& error) : m_drc(drc), m_error(error) {}

    bool fail(const std::string& path, const std::string& reason) {
        const int line = m_drc.property_line(path);
        m_error = m_drc.name() + (line > 0 ? ":" + std::to_string(line) : "") + ": " + reason;
        return false;
    }

    bool text(const std::string& node, const std::string& key, std::string& out) {
        const std::string path = node + "\\" + key;
        if (!m_drc.has_property(path)) return fail(node, "missing property '" + path + "'");
        out = m_drc.GetProperty(path);
        return true;
    }

    bool integer(const std::string& node, const std::string& key, int lo, int hi, int& out) {
        std::string t;
        if (!text(node, key, t)) return false;
        const char* end = t.data() + t.size();
        auto [ptr, ec] = std::from_chars(t.data(), end, out);
        if (ec != std::errc() || ptr != end || out < lo || out > hi)
            return fail(node + "\\" + key, "'" + key + "' must be a whole number from " +
                                               std::to_string(lo) + " to " + std::to_string(hi));
        return true;
    }

    static bool ParseNumber(const std::string& t, double& out) {
        const char* end = t.data() + t.size();
        auto [ptr, ec] = std::from_chars(t.data(), end, out);
        return ec == std::errc() && ptr == end && std::isfinite(out);
    }

    bool millimetres(const std::string& node, const std::string& key, double& out) {
        std::string t;
        if (!text(node, key, t)) return false;
        if (!ParseNumber(t, out) || out <= 0 || out > 100000)
            return fail(node + "\\" + key, "'" + key + "' must be a length in mm above 0");
        return true;
    }

    bool margins(const std::string& node, HT_Media_Size& m) {
        std::string t;
        if (!text(node, "margins", t)) return false;
        std::vector<std::string> parts;
        size_t pos = 0;
        while (true) {
            const size_t comma = t.find(',', pos);
            parts.push_back(
                t.substr(pos, comma == std::string::npos ? std::string::npos : comma - pos));
            if (comma == std::string::npos) break;
            pos = comma + 1;
        }
        double v[4];
        bool ok = parts.size() == 4;
        for (size_t i = 0; ok && i < 4; ++i) ok = ParseNumber(parts[i], v[i]) && v[i] >= 0;
        if (!ok)
            return fail(node + "\\margins",
                        "margins must be four lengths in mm: left,right,bottom,top");
        m.margin_left = v[0];
        m.margin_right = v[1];
        m.margin_bottom = v[2];
        m.margin_top = v[3];
        if (v[0] + v[1] >= m.width_mm || v[2] + v[3] >= m.length_mm)
            return fail(node + "\\margins", "margins leave no printable area");
        return true;
    }

  private:
    const PM_Object& m_drc;
    std::string& m_error;
};

std::wstring W(const std::string& s) {
    return hostsdk::FromUtf8(s);
}

}  // namespace

PM_DRC_Caps_Loader::PM_DRC_Caps_Loader(HT_Error_Handler* error_handler)
    : m_errorHandler(error_handler) {}

bool PM_DRC_Caps_Loader::load(const std::string& drc_path, HT_Std_Plotter_Capabilities& caps,
                              std::string& error) {
    auto failed = [&](const std::string& item) {
        if (m_errorHandler)
            m_errorHandler->report(HT_MSG_FILE_OR_VALUE_MISSING, "PM_DRC_Caps_Loader::load", item);
        return false;
    };
    PM_Object drc;
    if (!drc.load(drc_path, error)) return failed(error);
    CapsReader r(drc, error);
    // Read into parts of our own; the capabilities change only when the whole file is good.
    HT_Media_Capabilities media;
    HT_ResColorMem_Capabilities rcm;
    HT_Custom_Capabilities custom;

    bool identified = false;
    for (const auto& n : drc.children("\\DPIA_directory")) {
        const std::string node = "\\DPIA_directory\\" + n;
        std::string d, i, a, b;
        if (!drc.has_property(node + "\\descriptor") || !drc.has_property(node + "\\info"))
            continue;
        if (!extract_compound_str_ex(drc.GetProperty(node + "\\descriptor"), a, b) ||
            !extract_compound_str_ex(drc.GetProperty(node + "\\info"), a, b))
            return failed(
                (r.fail(node + "\\descriptor", "descriptor and info must be 'family,model' texts"),
                 error));
        identified = true;
    }
    if (!identified) {
        error = drc_path + ": no \\DPIA_directory node with descriptor and info";
        return failed(error);
    }

    for (const auto& n : drc.children("\\media_sizes")) {
        const std::string node = "\\media_sizes\\" + n;
        HT_Media_Size m;
        m.name = W(n);
        if (!r.integer(node, "display", 0, 65535, m.display_string) ||
            !r.millimetres(node, "width", m.width_mm) ||
            !r.millimetres(node, "length", m.length_mm) || !r.margins(node, m))
            return failed(error);
        media.sizes.push_back(m);
    }
    for (const auto& n : drc.children("\\resolutions")) {
        const std::string node = "\\resolutions\\" + n;
        HT_Resolution res;
        res.name = W(n);
        if (!r.integer(node, "display", 0, 65535, res.display_string) ||
            !r.integer(node, "dpi", 1, 9600, res.dpi))
            return failed(error);
        rcm.resolutions.push_back(res);
    }
    for (const auto& n : drc.children("\\color_modes")) {
        const std::string node = "\\color_modes\\" + n;
        HT_Color_Mode c;
        c.name = W(n);
        if (!r.integer(node, "display", 0, 65535, c.display_string) ||
            !r.integer(node, "color_system", HT_COLOR_SYSTEM_MAPPED, HT_COLOR_SYSTEM_BITONAL,
                       c.color_system))
            return failed(error);
        rcm.color_modes.push_back(c);
    }
    for (const auto& n : drc.children("\\media_sources")) media.sources.push_back(W(n));
    for (const auto& n : drc.children("\\custom")) {
        const std::string node = "\\custom\\" + n;
        std::string type, def;
        if (!r.text(node, "type", type) || !r.text(node, "default", def)) return failed(error);
        if (type != "long" && type != "string")
            return failed(
                (r.fail(node + "\\type", "custom item type must be 'long' or 'string'"), error));
        if (type == "long") {
            int v;
            if (!r.integer(node, "default", -2147483647 - 1, 2147483647, v)) return failed(error);
        }
        custom.items.push_back({W(n), W(type), W(def)});
    }
    if (media.sizes.empty() || rcm.resolutions.empty() || rcm.color_modes.empty()) {
        error = drc_path + ": media sizes, resolutions and colour modes must not be empty";
        return failed(error);
    }

    // Defaults name entries above; without them the first entries serve.
    struct Default {
        const char* key;
        std::wstring* target;
        bool known;
    };
    const auto defaultOf = [&](const char* key) {
        const std::string path = std::string("\\defaults\\") + key;
        return drc.has_property(path) ? W(drc.GetProperty(path)) : std::wstring();
    };
    media.default_size = defaultOf("media");
    rcm.default_resolution = defaultOf("resolution");
    rcm.default_color_mode = defaultOf("color_mode");
    const Default defaults[] = {
        {"media", &media.default_size, media.find_size(media.default_size) != nullptr},
        {"resolution", &rcm.default_resolution,
         rcm.find_resolution(rcm.default_resolution) != nullptr},
        {"color_mode", &rcm.default_color_mode,
         rcm.find_color_mode(rcm.default_color_mode) != nullptr},
    };
    for (const auto& d : defaults) {
        if (d.target->empty() || d.known) continue;
        const std::string path = std::string("\\defaults\\") + d.key;
        return failed((r.fail(path, std::string("default ") + d.key + " names no entry"), error));
    }
    if (media.default_size.empty()) media.default_size = media.sizes.front().name;
    if (rcm.default_resolution.empty()) rcm.default_resolution = rcm.resolutions.front().name;
    if (rcm.default_color_mode.empty()) rcm.default_color_mode = rcm.color_modes.front().name;

    HT_Media_Capabilities& mediaOut = *caps.get_media_capabilities();
    mediaOut.sizes = std::move(media.sizes);
    mediaOut.sources = std::move(media.sources);
    mediaOut.default_size = std::move(media.default_size);
    HT_ResColorMem_Capabilities& rcmOut = *caps.get_res_color_mem_capabilities();
    rcmOut.resolutions = std::move(rcm.resolutions);
    rcmOut.color_modes = std::move(rcm.color_modes);
    rcmOut.default_resolution = std::move(rcm.default_resolution);
    rcmOut.default_color_mode = std::move(rcm.default_color_mode);
    caps.get_custom_capabilities()->items = std::move(custom.items);
    return true;
}
