// The host model library's property tree: parser of the DRC text format (outside input: every
// fault is a "file:line: reason" error, never a crash) and compound-text splitting.
#include <set>
#include <sstream>

#include "hdi/PM_DRC_Caps_Loader.h"
#include "platform/FileText.h"

namespace {
constexpr size_t kMaxLine = 8192;
constexpr size_t kMaxProperties = 100000;
constexpr size_t kMaxFileBytes = 16u << 20;

std::string Trim(const std::string& s) {
    const size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return {};
    const size_t e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

bool ValidName(const std::string& n) {
    if (n.empty()) return false;
    for (char c : n)
        if (c == '\\' || c == '[' || c == ']' || c == '=' || c == '"') return false;
    return true;
}

std::string Parent(const std::string& path) {
    const size_t cut = path.rfind('\\');
    return cut == 0 ? "\\" : path.substr(0, cut);
}

std::string Join(const std::string& node, const std::string& name) {
    return node == "\\" ? "\\" + name : node + "\\" + name;
}

struct Parser {
    const std::string& name;
    std::string& error;
    int line = 0;
    bool fail(const std::string& reason) {
        error = name + ":" + std::to_string(line) + ": " + reason;
        return false;
    }
};

// Parses `[\a\b]` into "\a\b".
bool ParseHeader(Parser& p, const std::string& text, std::string& node) {
    if (text.back() != ']') return p.fail("unterminated node header (missing ']')");
    const std::string path = Trim(text.substr(1, text.size() - 2));
    if (path.empty() || path[0] != '\\') return p.fail("node path must start with '\\'");
    if (path == "\\") return p.fail("the root is not a node of its own");
    node.clear();
    size_t pos = 1;
    while (pos <= path.size()) {
        size_t next = path.find('\\', pos);
        if (next == std::string::npos) next = path.size();
        const std::string part = Trim(path.substr(pos, next - pos));
        if (!ValidName(part))
            return p.fail("empty or invalid component in node path '" + path + "'");
        node += "\\" + part;
        pos = next + 1;
    }
    return true;
}

bool ParseValue(Parser& p, const std::string& raw, std::string& value) {
    value.clear();
    if (raw.empty() || raw[0] != '"') {
        value = raw;
        return true;
    }
    size_t i = 1;
    for (; i < raw.size(); ++i) {
        const char c = raw[i];
        if (c == '"') break;
        if (c == '\\') {
            if (i + 1 >= raw.size() || (raw[i + 1] != '"' && raw[i + 1] != '\\'))
                return p.fail("bad escape in quoted value (only \\\" and \\\\)");
            value += raw[++i];
        } else {
            value += c;
        }
    }
    if (i >= raw.size()) return p.fail("unterminated quoted value");
    if (i + 1 != raw.size()) return p.fail("text after the closing quote");
    return true;
}
}  // namespace

bool PM_Object::load(const std::string& path, std::string& error) {
    std::string text;
    int systemError = 0;
    const auto result = xomplatform::ReadFileText(path, kMaxFileBytes, text, &systemError);
    if (result != xomplatform::ReadFileResult::Ok) {
        error = xomplatform::ReadFileErrorText(path, result, systemError, kMaxFileBytes);
        return false;
    }
    return load_text(text, path, error);
}

bool PM_Object::load_text(const std::string& text, const std::string& name, std::string& error) {
    m_properties.clear();
    m_children.clear();
    m_propertyNames.clear();
    m_lines.clear();
    m_name = name;
    error.clear();
    m_nodes.clear();
    std::set<std::string>& nodes = m_nodes;
    Parser p{name, error};
    std::string node;  // the open node; empty before the first header
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string raw = text.substr(start, end - start);
        start = end + 1;
        ++p.line;
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        if (raw.size() > kMaxLine) return p.fail("line longer than " + std::to_string(kMaxLine));
        for (unsigned char c : raw)
            if ((c < 0x20 && c != '\t') || c == 0x7F) return p.fail("control character in line");
        const std::string line = Trim(raw);
        if (line.empty() || line[0] == '#' || line[0] == ';') continue;

        if (line[0] == '[') {
            if (!ParseHeader(p, line, node)) return false;
            // Register the node and its ancestors, each under its parent in file order.
            for (std::string n = node; n != "\\" && !nodes.count(n); n = Parent(n)) {
                if (m_properties.count(n))
                    return p.fail("'" + n + "' is both a node and a property");
                nodes.insert(n);
                m_children[Parent(n)].push_back(n.substr(n.rfind('\\') + 1));
            }
            continue;
        }
        const size_t eq = line.find('=');
        if (eq == std::string::npos) return p.fail("expected 'name = value' or '[\\node]'");
        if (node.empty()) return p.fail("property before the first node header");
        const std::string key = Trim(line.substr(0, eq));
        if (!ValidName(key)) return p.fail("bad property name '" + key + "'");
        std::string value;
        if (!ParseValue(p, Trim(line.substr(eq + 1)), value)) return false;
        const std::string full = Join(node, key);
        if (nodes.count(full)) return p.fail("'" + full + "' is both a node and a property");
        if (m_properties.count(full)) return p.fail("duplicate property '" + full + "'");
        if (m_properties.size() >= kMaxProperties) return p.fail("too many properties");
        m_properties.emplace(full, std::move(value));
        m_propertyNames[node].push_back(key);
        m_lines[full] = p.line;
    }
    return true;
}

bool PM_Object::has_property(const std::string& path) const {
    return m_properties.count(path) != 0;
}

std::string PM_Object::GetProperty(const std::string& path) const {
    auto it = m_properties.find(path);
    return it == m_properties.end() ? std::string() : it->second;
}

std::size_t PM_Object::getPropertySize(const std::string& path) const {
    auto it = m_properties.find(path);
    return it == m_properties.end() ? 0 : it->second.size() + 1;
}

std::vector<std::string> PM_Object::children(const std::string& path) const {
    auto it = m_children.find(path.empty() ? "\\" : path);
    return it == m_children.end() ? std::vector<std::string>() : it->second;
}

std::unique_ptr<PM_Iterator> PM_Object::newIterator(const std::string& path) const {
    const std::string node = path.empty() ? "\\" : path;
    if (node != "\\" && m_nodes.count(node) == 0) return nullptr;
    std::vector<PM_Iterator::Entry> entries;
    for (auto& n : children(node)) entries.push_back({n, kNodeTypeNode});
    for (auto& p : properties(node)) entries.push_back({p, kNodeTypeProperty});
    return std::make_unique<PM_Iterator>(std::move(entries));
}

bool PM_Iterator::nextNode(std::string& name, int& type) {
    if (m_next >= m_entries.size()) return false;
    name = m_entries[m_next].name;
    type = m_entries[m_next].type;
    ++m_next;
    return true;
}

std::vector<std::string> PM_Object::properties(const std::string& path) const {
    auto it = m_propertyNames.find(path);
    return it == m_propertyNames.end() ? std::vector<std::string>() : it->second;
}

int PM_Object::property_line(const std::string& path) const {
    auto it = m_lines.find(path);
    return it == m_lines.end() ? 0 : it->second;
}

bool extract_compound_str_ex(const std::string& compound, std::string& first, std::string& second) {
    const size_t comma = compound.find(',');
    if (comma == std::string::npos) return false;
    first = compound.substr(0, comma);
    second = compound.substr(comma + 1);
    return true;
}
