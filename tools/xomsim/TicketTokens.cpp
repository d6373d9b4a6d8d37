#include "tools/xomsim/TicketTokens.h"

#include <cctype>

#include "platform/Utf8.h"

namespace xomsim {
namespace {

constexpr std::string_view kTicketEnd = "</PrintJob>";
// A ticket is a few kilobytes; the start of a job that has no end tag within this is no ticket.
constexpr std::size_t kMaxTicket = 1 << 20;
// Names in the summary line are cut to this many bytes.
constexpr std::size_t kMaxShownName = 80;

// &amp; &lt; &gt; &quot; &apos; and numeric references; anything else stays as written.
std::string ResolveReferences(std::string_view text) {
    std::wstring out;
    std::string pending;  // plain bytes, converted in runs so that UTF-8 stays whole
    const auto flush = [&] {
        out += xomplatform::FromUtf8(pending);
        pending.clear();
    };
    for (std::size_t at = 0; at < text.size(); ++at) {
        const std::size_t end = text[at] == '&' ? text.find(';', at) : std::string_view::npos;
        if (end == std::string_view::npos || end - at > 12) {
            pending += text[at];
            continue;
        }
        const std::string_view name = text.substr(at + 1, end - at - 1);
        wchar_t resolved = 0;
        if (name == "amp") resolved = L'&';
        if (name == "lt") resolved = L'<';
        if (name == "gt") resolved = L'>';
        if (name == "quot") resolved = L'"';
        if (name == "apos") resolved = L'\'';
        if (name.size() >= 2 && name[0] == '#') {
            const bool hex = name[1] == 'x' || name[1] == 'X';
            const std::string_view digits = name.substr(hex ? 2 : 1);
            std::uint32_t code = 0;
            bool good = !digits.empty();
            for (const char ch : digits) {
                const int digit = std::isdigit(static_cast<unsigned char>(ch)) ? ch - '0'
                                  : hex && std::isxdigit(static_cast<unsigned char>(ch))
                                      ? std::tolower(static_cast<unsigned char>(ch)) - 'a' + 10
                                      : -1;
                good = good && digit >= 0;
                code = code * (hex ? 16 : 10) + static_cast<std::uint32_t>(good ? digit : 0);
                good = good && code <= 0x10FFFF;
            }
            if (good && code != 0) resolved = static_cast<wchar_t>(code);
        }
        if (resolved == 0) {
            pending += text[at];
            continue;
        }
        flush();
        out += resolved;
        at = end;
    }
    flush();
    return xomplatform::ToUtf8(out);
}

// The value of attribute Name in the element's start tag.
std::string_view NameAttribute(std::string_view element) {
    const std::size_t close = element.find('>');
    const std::string_view start = element.substr(0, close);
    const std::size_t at = start.find("Name=\"");
    if (at == std::string_view::npos) return {};
    const std::size_t end = start.find('"', at + 6);
    return end == std::string_view::npos ? std::string_view{} : start.substr(at + 6, end - at - 6);
}

// The text of the first <child>...</child> inside the element; false when there is none.
bool ChildText(std::string_view element, std::string_view child, std::string& out) {
    const std::string open = "<" + std::string(child) + ">";
    const std::string close = "</" + std::string(child) + ">";
    const std::size_t at = element.find(open);
    if (at == std::string_view::npos) return false;
    const std::size_t end = element.find(close, at);
    if (end == std::string_view::npos) return false;
    out = std::string(element.substr(at + open.size(), end - at - open.size()));
    return true;
}

// Control bytes shown as \xNN and long names cut, so that the summary stays one readable line.
std::string Shown(const std::string& name) {
    std::string out;
    for (const unsigned char ch : name.substr(0, kMaxShownName)) {
        if (ch < 0x20 || ch == 0x7F) {
            static const char* digits = "0123456789ABCDEF";
            out += "\\x";
            out += digits[ch >> 4];
            out += digits[ch & 15];
        } else {
            out += static_cast<char>(ch);
        }
    }
    if (name.size() > kMaxShownName) out += "...";
    return out.empty() ? "\"\"" : out;
}

std::string Verdict(const TicketCredential& asked, const std::vector<Credential>* listed) {
    if (listed) {
        for (const Credential& credential : *listed) {
            if (credential.name != asked.name) continue;
            if (!asked.hasToken) return "no token";
            return asked.token == credential.token ? "valid" : "invalid";
        }
    }
    return "unknown";
}

}  // namespace

std::vector<TicketCredential> ReadTicketCredentials(std::string_view job) {
    std::vector<TicketCredential> found;
    const std::size_t first = job.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos || job.substr(first, 5) != "<?xml") return found;
    const std::size_t end = job.substr(0, kMaxTicket).find(kTicketEnd);
    if (end == std::string_view::npos) return found;
    const std::string_view ticket = job.substr(0, end);

    const struct {
        std::string_view open, close;
        TicketCredential::Kind kind;
    } elements[] = {
        {"<User ", "</User>", TicketCredential::Kind::User},
        {"<InformationElement ", "</InformationElement>", TicketCredential::Kind::AccountingValue}};
    // Both kinds in ticket order.
    std::size_t at = 0;
    while (true) {
        std::size_t next = std::string_view::npos;
        const auto* kind = &elements[0];
        for (const auto& element : elements) {
            const std::size_t pos = ticket.find(element.open, at);
            if (pos < next) {
                next = pos;
                kind = &element;
            }
        }
        if (next == std::string_view::npos) break;
        std::size_t close = ticket.find(kind->close, next);
        if (close == std::string_view::npos) close = ticket.size();
        const std::string_view element = ticket.substr(next, close - next);
        TicketCredential credential;
        credential.kind = kind->kind;
        credential.name = ResolveReferences(NameAttribute(element));
        credential.hasToken = ChildText(element, "Token", credential.token);
        std::string typeId;
        if (kind->kind == TicketCredential::Kind::AccountingValue &&
            ChildText(element, "TypeId", typeId) && (typeId == "1" || typeId == "2"))
            credential.field = typeId[0] - '0';
        found.push_back(std::move(credential));
        at = close;
    }
    return found;
}

std::string CheckTicketTokens(const PrinterModel& printer,
                              const std::vector<TicketCredential>& credentials) {
    std::string text;
    for (const TicketCredential& credential : credentials) {
        if (!text.empty()) text += ", ";
        if (credential.kind == TicketCredential::Kind::User) {
            text += "user " + Shown(credential.name) + " " + Verdict(credential, &printer.users);
            continue;
        }
        const bool listed = credential.field >= 1 && static_cast<std::size_t>(credential.field) <=
                                                         printer.accountingFields.size();
        text += "AccountingInfo " + std::to_string(credential.field) + " " +
                Shown(credential.name) + " " +
                Verdict(credential,
                        listed ? &printer.accountingFields[credential.field - 1].values : nullptr);
    }
    return text.empty() ? "none" : text;
}

}  // namespace xomsim
