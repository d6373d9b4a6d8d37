#include "tools/xomplot/PrinterConfig.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/FileText.h"
#include "platform/Utf8.h"

namespace xomplot {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kMaxConfigBytes = 1 << 20;

std::string Trim(const std::string& s) {
    const std::size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return {};
    const std::size_t e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

bool ValidUtf8(const std::string& s) {
    return xomplatform::ToUtf8(xomplatform::FromUtf8(s)) == s;
}

bool Unescape(const std::string& raw, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] != '\\') {
            out += raw[i];
            continue;
        }
        if (++i == raw.size()) return false;
        switch (raw[i]) {
            case '\\':
                out += '\\';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            default:
                return false;
        }
    }
    return true;
}

std::string Escape(const std::string& value) {
    std::string out;
    for (char c : value) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                out += c;
        }
    }
    return out;
}

bool WholeInt32(const std::string& text) {
    long long v = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, v);
    return !text.empty() && ec == std::errc() && ptr == end && v >= -2147483648LL &&
           v <= 2147483647LL;
}

bool ValidKey(const std::string& key) {
    return !key.empty() && key.size() <= 100 && std::all_of(key.begin(), key.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
               c == '_';
    });
}

}  // namespace

const std::string* PrinterConfig::find(const std::string& key) const {
    for (const auto& [k, v] : items)
        if (k == key) return &v;
    return nullptr;
}

void PrinterConfig::set(const std::string& key, const std::string& value) {
    for (auto& [k, v] : items) {
        if (k == key) {
            v = value;
            return;
        }
    }
    items.emplace_back(key, value);
}

bool IsHostConfigKey(const std::string& key) {
    return key == "media" || key == "resolution" || key == "color_mode";
}

bool IsValidConfigName(const std::string& name) {
    return !name.empty() && name.size() <= 100 && name[0] != '.' &&
           std::all_of(name.begin(), name.end(), [](char c) {
               return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                      c == '.' || c == '_' || c == '-';
           });
}

std::string ConfigDirectory() {
    fs::path base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg == '/') {
        base = xdg;
    } else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        base = fs::path(home) / ".config";
    } else {
        base = "/tmp";
    }
    return (base / "xomplot" / "printers").string();
}

std::string ConfigPath(const std::string& name) {
    return (fs::path(ConfigDirectory()) / (name + ".conf")).string();
}

std::vector<std::string> ListConfigNames() {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(ConfigDirectory(), ec)) {
        const fs::path& p = entry.path();
        if (p.extension() == ".conf" && IsValidConfigName(p.stem().string()))
            names.push_back(p.stem().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

PrinterConfig ParsePrinterConfig(const std::string& text, const std::string& source,
                                 std::vector<std::string>& problems) {
    PrinterConfig config;
    std::size_t pos = 0;
    int lineNumber = 0;
    auto problem = [&](const std::string& reason) {
        if (problems.size() < 100)
            problems.push_back(source + ":" + std::to_string(lineNumber) + ": " + reason);
    };
    while (pos < text.size()) {
        ++lineNumber;
        const std::size_t nl = text.find('\n', pos);
        const bool cut = nl == std::string::npos;
        std::string line = text.substr(pos, cut ? std::string::npos : nl - pos);
        pos = cut ? text.size() : nl + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::string trimmed = Trim(line);
        if (trimmed.empty() || trimmed[0] == '#') continue;
        if (line.find('\0') != std::string::npos || !ValidUtf8(line)) {
            problem("not a text line (binary data), skipped");
            continue;
        }
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos) {
            problem(cut ? "line cut short (no '='), skipped" : "expected KEY = VALUE, skipped");
            continue;
        }
        const std::string key = Trim(line.substr(0, eq));
        std::string value;
        if (!ValidKey(key)) {
            problem("'" + key + "' is not a key, skipped");
            continue;
        }
        if (!Unescape(Trim(line.substr(eq + 1)), value)) {
            problem("bad escape in the value of '" + key + "', skipped");
            continue;
        }
        config.set(key, value);
    }
    return config;
}

bool ReadPrinterConfig(const std::string& path, PrinterConfig& config,
                       std::vector<std::string>& problems, std::string& error) {
    std::string text;
    if (!xomplatform::ReadFileOrError(path, kMaxConfigBytes, text, error)) return false;
    config = ParsePrinterConfig(text, fs::path(path).filename().string(), problems);
    return true;
}

std::string FormatPrinterConfig(const PrinterConfig& config, const std::string& name) {
    std::string text = "# xomplot printer configuration \"" + name + "\" (xomplot config set)\n";
    for (const auto& [k, v] : config.items) text += k + " = " + Escape(v) + "\n";
    return text;
}

bool WritePrinterConfig(const std::string& path, const PrinterConfig& config,
                        const std::string& name, std::string& error) {
    const fs::path target(path);
    std::error_code ec;
    fs::create_directories(target.parent_path(), ec);
    if (ec) {
        error = target.parent_path().string() + ": " + ec.message();
        return false;
    }
    std::string temp =
        (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        error = temp + ": " + std::strerror(errno);
        return false;
    }
    ::fchmod(fd, 0600);
    const std::string text = FormatPrinterConfig(config, name);
    std::size_t done = 0;
    bool ok = true;
    while (ok && done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) done += static_cast<std::size_t>(n);
    }
    ok = ok && ::fsync(fd) == 0;
    const int failure = errno;
    ok = ::close(fd) == 0 && ok;
    if (ok && ::rename(temp.c_str(), path.c_str()) == 0) return true;
    error = path + ": " + std::strerror(ok ? errno : failure);
    ::unlink(temp.c_str());
    return false;
}

std::string CheckConfigItem(const HT_Std_Plotter_Capabilities& caps, const std::string& key,
                            const std::string& value) {
    if (IsHostConfigKey(key)) return {};
    const HT_Custom_Item* item = caps.find_custom(xomplatform::FromUtf8(key));
    if (item == nullptr) return "unknown key '" + key + "'";
    if (item->type == L"long" && !WholeInt32(value))
        return "'" + key + "' takes a whole number, not '" + value + "'";
    return {};
}

void ApplyPrinterConfig(const PrinterConfig& config, const HT_Std_Plotter_Capabilities& caps,
                        HT_Std_Plotter_Configuration& target, const std::string& source,
                        std::vector<std::string>& problems) {
    for (const auto& [key, value] : config.items) {
        if (IsHostConfigKey(key)) continue;
        if (const std::string reason = CheckConfigItem(caps, key, value); !reason.empty()) {
            problems.push_back(source);
            problems.back().append(": ").append(reason).append(", ignored");
            continue;
        }
        const std::wstring wkey = xomplatform::FromUtf8(key);
        SPMP<HT_Custom_Data> data;
        if (caps.find_custom(wkey)->type == L"long")
            data = SPMP<HT_Custom_Data>(new HT_Std_Long_Custom_Data(std::stoi(value)));
        else
            data =
                SPMP<HT_Custom_Data>(new HT_Std_String_Custom_Data(xomplatform::FromUtf8(value)));
        if (HT_Custom_Config_Item* existing = target.custom_items().find(wkey))
            existing->data = data;
        else
            target.custom_items().append({wkey, data});
    }
}

}  // namespace xomplot
