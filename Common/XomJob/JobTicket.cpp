#include "Common/XomJob/JobTicket.h"

#include <cinttypes>
#include <cstdio>

#include "Common/XomJob/CredentialHash.h"
#include "Common/XomJob/XmlEscape.h"
#include "platform/Utf8.h"

namespace {

// A ticket built from ASCII pieces and escaped (hence ASCII) texts.
class TicketText {
  public:
    TicketText& operator<<(const char* ascii) {
        for (; *ascii != '\0'; ++ascii) m_units += static_cast<char16_t>(*ascii);
        return *this;
    }
    TicketText& operator<<(const std::string& ascii) { return *this << ascii.c_str(); }
    TicketText& operator<<(const std::u16string& units) {
        m_units += units;
        return *this;
    }
    // The wide text escaped for XML.
    TicketText& escaped(const std::wstring& text) {
        m_units += EscapeXmlText(ToUtf16Units(text));
        return *this;
    }
    const std::u16string& units() const { return m_units; }

  private:
    std::u16string m_units;
};

template <class Entry>
const Entry* FindByName(const std::vector<Entry>& entries, const std::wstring& name) {
    for (const Entry& e : entries)
        if (e.m_name == name) return &e;
    return nullptr;
}

template <class Entry>
std::int32_t IdOf(const std::vector<Entry>& entries, const std::wstring& name) {
    const Entry* e = FindByName(entries, name);
    return e ? e->m_id : 0;
}

std::string Decimal(long long v) {
    return std::to_string(v);
}

const char* ColorModeWord(std::uint32_t model) {
    if (model == 2 || model == 3 || model == 5) return "Color";
    if (model == 4) return "Gray";
    return "BlackWhite";
}

const char* RemoveBordersWord(std::int32_t v) {
    return v == 1 ? "AllSides" : v == 2 ? "TrailingEdge" : "None";
}

const char* AlignmentWord(std::int32_t v) {
    return v == 1 ? "Left" : v == 2 ? "Center" : v == 3 ? "Right" : "Default";
}

const char* PrintExitWord(std::int32_t v) {
    switch (v) {
        case 1:
            return "Top";
        case 2:
            return "Rear";
        case 3:
            return "Front";
        case 4:
            return "Below";
        default:
            return "Default";
    }
}

std::string TokenLine(const std::string& token) {
    return token.empty() ? std::string() : "      <Token>" + token + "</Token>\r\n";
}

// The token of an accounting field whose type asks for a password (4).
std::string AccountingTokenLine(const CXomPrinterData& data, std::size_t field,
                                const std::wstring& value, const std::wstring& password,
                                const std::vector<CXomAccountingInformationChildEntry>& entries) {
    if (field >= data.m_accountingInformation.size() ||
        data.m_accountingInformation[field].m_access != 4)
        return {};
    return MakeTokenLine(value, password, data.m_userAccounting.m_sessionSalt, entries);
}

}  // namespace

bool UserSecurityApplies(const DriverSettings& s, const CXomPrinterData& data) {
    return !s.UserName.empty() &&
           (data.m_userAccounting.m_userAccess == 4 || s.UserPrintSecurity == 1);
}

const char* SecurePrintMethod(const DriverSettings& s, const CXomPrinterData& data) {
    if (UserSecurityApplies(s, data) && s.UserPrintSecurity != 0) return "User";
    if (s.JobPin.size() == 4) return "Pin";
    return "Off";
}

// UTF-16 units as UTF-8: pairs join into one character, a lone surrogate becomes U+FFFD.
std::string Utf16ToUtf8(const std::u16string& units) {
    std::wstring text;
    text.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        const std::uint32_t c = units[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            text += static_cast<wchar_t>(0x10000 + ((c - 0xD800) << 10) + (units[i + 1] - 0xDC00u));
            ++i;
        } else {
            text += static_cast<wchar_t>(c);  // a lone surrogate is replaced by ToUtf8
        }
    }
    return xomplatform::ToUtf8(text);
}

bool WriteJobTicket(const JobTicketInputs& in, std::string& text) {
    text.clear();
    if (in.settings == nullptr || in.printerData == nullptr) return false;
    const DriverSettings& s = *in.settings;
    const CXomPrinterData& data = *in.printerData;
    const std::tm& t = in.localTime;

    char date[64];
    std::snprintf(date, sizeof date, "%04d-%02d-%02dT%02d:%02d:%02d", t.tm_year + 1900,
                  t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);

    TicketText x;
    x << "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n"
      << "<PrintJob xmlns=\"" << kJobTicketNamespace << "\"\r\n"
      << "  xmlns:xs=\"http://www.w3.org/2001/XMLSchema\"\r\n"
      << "  CreationDate=\"" << date << "\"\r\n"
      << "  Version=\"1.0\">\r\n"
      << "  <JobSource>HDI</JobSource>\r\n"
      << "  <SendJobTo>Print</SendJobTo>\r\n";

    const char* method = SecurePrintMethod(s, data);
    x << "  <SecurePrint>\r\n    <Method>" << method << "</Method>\r\n";
    if (std::string(method) == "Pin") {
        // A PIN may come from a configuration or a command line: escaped like any text.
        x << "    <JobPin>";
        x.escaped(s.JobPin) << "</JobPin>\r\n";
    }
    x << "  </SecurePrint>\r\n";

    x << "  <ColorMode>" << ColorModeWord(in.colorModel) << "</ColorMode>\r\n"
      << "  <HpglPresetId>" << Decimal(IdOf(data.m_hpglPresets, s.HpglPresetName))
      << "</HpglPresetId>\r\n"
      << "  <PsPresetId>0</PsPresetId>\r\n"
      << "  <JobName>";
    x.escaped(s.JobName) << "</JobName>\r\n";

    x << "  <AccountingSetting>\r\n";
    const OctetArray& printerSalt = data.m_userAccounting.m_sessionSalt;
    if (!s.UserName.empty()) {
        std::string token;
        if (UserSecurityApplies(s, data)) {
            const int user = [&] {
                for (std::size_t i = 0; i < data.m_users.size(); ++i)
                    if (data.m_users[i].m_name == s.UserName) return static_cast<int>(i);
                return -1;
            }();
            if (user >= 0)
                token = MakeToken(s.UserValidPassword, printerSalt,
                                  data.m_users[static_cast<std::size_t>(user)].m_serverAuthSalt);
        }
        x << "    <User Name=\"";
        x.escaped(s.UserName) << "\">\r\n" << TokenLine(token) << "    </User>\r\n";
    }
    if (!s.AcctInfo0Name.empty()) {
        x << "    <InformationElement Name=\"";
        x.escaped(s.AcctInfo0Name)
            << "\">\r\n"
            << AccountingTokenLine(data, 0, s.AcctInfo0Name, s.AcctInfo0ValidPassword,
                                   data.m_accountingChildren1)
            << "      <TypeId>1</TypeId>\r\n    </InformationElement>\r\n";
    }
    if (!s.AcctInfo1Name.empty()) {
        x << "    <InformationElement Name=\"";
        x.escaped(s.AcctInfo1Name)
            << "\">\r\n"
            << AccountingTokenLine(data, 1, s.AcctInfo1Name, s.AcctInfo1ValidPassword,
                                   data.m_accountingChildren2)
            << "      <TypeId>2</TypeId>\r\n    </InformationElement>\r\n";
    }
    x << "  </AccountingSetting>\r\n";

    x << "  <ImageSetting>\r\n    <Mirror>0</Mirror>\r\n    <Invert>0</Invert>\r\n"
      << "    <RemoveWhiteBorderMethod>" << RemoveBordersWord(s.RemoveBorders)
      << "</RemoveWhiteBorderMethod>\r\n"
      << "    <AlignmentType>" << AlignmentWord(s.AlignmentType) << "</AlignmentType>\r\n"
      << "  </ImageSetting>\r\n";

    const CXomMediaEntry* media = FindByName(data.m_media, s.MediaName);
    x << "  <PrintingSetting>\r\n    <PrintQualityPresetId>"
      << Decimal(IdOf(data.m_printQualityPresets, s.PrintQualityPresetName))
      << "</PrintQualityPresetId>\r\n"
      << "    <TrappingSetting>\r\n      <BlackTrapping>" << Decimal(s.BlackTrapping)
      << "</BlackTrapping>\r\n      <ColorTrapping>" << Decimal(s.ColorTrapping)
      << "</ColorTrapping>\r\n    </TrappingSetting>\r\n"
      << "    <MediaId>" << std::to_string(media ? media->m_id64 : 0ull) << "</MediaId>\r\n"
      << "    <MediaType>" << std::to_string(media ? media->m_type : 0u) << "</MediaType>\r\n"
      << "    <NumberOfCopies>" << Decimal(s.NumberOfCopies) << "</NumberOfCopies>\r\n"
      << "    <Collate>0</Collate>\r\n    <ReversePageOrder>0</ReversePageOrder>\r\n"
      << "    <PrintJobSeparatorSheet>0</PrintJobSeparatorSheet>\r\n"
      << "    <PrintSetSeparatorSheet>0</PrintSetSeparatorSheet>\r\n"
      << "    <PrintExit>" << PrintExitWord(s.PrintExit) << "</PrintExit>\r\n"
      << "    <BannerSetting>\r\n      <TextSize>0</TextSize>\r\n"
      << "      <TextPosition>None</TextPosition>\r\n    </BannerSetting>\r\n"
      << "    <FoldingPresetId>" << Decimal(IdOf(data.m_folderPresets, s.FolderPresetName))
      << "</FoldingPresetId>\r\n"
      << "    <StampPresetId>" << Decimal(IdOf(data.m_stamps, s.StampName))
      << "</StampPresetId>\r\n"
      << "    <MediaFeed>Roll</MediaFeed>\r\n  </PrintingSetting>\r\n";

    x << "  <ColorSetting>\r\n    <Brightness>" << Decimal(s.Brightness) << "</Brightness>\r\n"
      << "    <ColorAdjustGreenRed>" << Decimal(s.GreenRedShift) << "</ColorAdjustGreenRed>\r\n"
      << "    <ColorAdjustBlueYellow>" << Decimal(s.BlueYellowShift)
      << "</ColorAdjustBlueYellow>\r\n  </ColorSetting>\r\n"
      << "</PrintJob>\r\n";

    text = Utf16ToUtf8(x.units());
    return true;
}
