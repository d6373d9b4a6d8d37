#include "Common/XomDialogs/TerminalPrompts.h"

#include <termios.h>
#include <unistd.h>

#include <vector>

#include "Common/XomDialogs/DialogText.h"
#include "Common/XomDialogs/DlgIdentify.h"
#include "Common/XomJob/CredentialValidation.h"
#include "platform/DialogBackend.h"
#include "platform/Utf8.h"

namespace {

constexpr int kRounds = 3;

void Print(std::FILE* out, const std::wstring& text) {
    std::fputs(xomplatform::ToUtf8(text).c_str(), out);
    std::fflush(out);
}

bool Ask(std::FILE* in, std::FILE* out, const std::wstring& prompt, bool hidden,
         std::wstring& answer) {
    bool read = false;
    if (hidden) {
        // Echo goes off before the prompt shows: turning it off drops what was typed so far,
        // which must not be the answer to the prompt.
        CTerminalEchoOff echoOff(fileno(in));
        Print(out, prompt + L": ");
        read = ReadTerminalLine(in, answer);
        Print(out, L"\n");  // the user's Enter was not echoed either
    } else {
        Print(out, prompt + L": ");
        read = ReadTerminalLine(in, answer);
    }
    if (read) answer = Trimmed(answer);
    return read;
}

// One field: its value from the list (by name or number) or typed freely, then its password
// when the mode wants one.
template <class Entry>
bool AskField(std::FILE* in, std::FILE* out, int mode, const std::wstring& label,
              const std::vector<Entry>& entries, std::wstring& value, std::wstring& password) {
    std::wstring answer;
    if (mode == 3 || mode == 4) {
        if (entries.empty()) {
            Print(out, label + L": the printer lists no values\n");
            return false;
        }
        for (std::size_t i = 0; i < entries.size(); ++i)
            Print(out, L"  " + std::to_wstring(i + 1) + L". " + entries[i].m_name + L"\n");
    }
    if (!Ask(in, out, label, false, answer)) return false;
    if (mode == 3 || mode == 4) {
        for (std::size_t i = 0; i < entries.size(); ++i)
            if (answer == std::to_wstring(i + 1)) answer = entries[i].m_name;
    }
    value = answer;
    if (mode == 4) {
        if (!Ask(in, out, label + L" password", true, answer)) return false;
        password = answer;
    }
    return true;
}

}  // namespace

CTerminalEchoOff::CTerminalEchoOff(int fd) : m_fd(fd) {
    termios settings{};
    if (isatty(fd) == 0 || tcgetattr(fd, &settings) != 0) return;
    m_savedFlags = settings.c_lflag;
    settings.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    m_restore = tcsetattr(fd, TCSAFLUSH, &settings) == 0;
}

CTerminalEchoOff::~CTerminalEchoOff() {
    termios settings{};
    if (!m_restore || tcgetattr(m_fd, &settings) != 0) return;
    settings.c_lflag = m_savedFlags;
    tcsetattr(m_fd, TCSAFLUSH, &settings);
}

bool ReadTerminalLine(std::FILE* in, std::wstring& line) {
    std::string bytes;
    int c = 0;
    bool any = false;
    while ((c = std::fgetc(in)) != EOF) {
        any = true;
        if (c == '\n') break;
        bytes += static_cast<char>(c);
    }
    if (!bytes.empty() && bytes.back() == '\r') bytes.pop_back();
    line = xomplatform::FromUtf8(bytes);
    return any;
}

bool CompletePlotIdentificationOnTerminal(DriverSettings& s, const CXomPrinterData& data,
                                          std::FILE* in, std::FILE* out) {
    const OctetArray& salt = data.m_userAccounting.m_sessionSalt;
    const auto& fields = data.m_accountingInformation;
    // The fields are named as the identification dialog names them.
    s.UserPrompt = IdentifyUserLabel(data);
    s.AcctInfo0Prompt = IdentifyAccountingLabel(data, 0);
    s.AcctInfo1Prompt = IdentifyAccountingLabel(data, 1);
    for (int round = 0; round < kRounds; ++round) {
        std::wstring message;
        if (ValidateCredentials(s, &data, &message)) return true;
        Print(out, message.empty() ? std::wstring(L"Plot identification\n") : message + L"\n");
        std::wstring ignored;
        const int userMode = EffectiveUserMode(s, data);
        if (!ValidateUser(userMode, s.UserName, s.UserValidPassword, L"", ignored, data.m_users,
                          salt) &&
            !AskField(in, out, userMode, s.UserPrompt, data.m_users, s.UserName,
                      s.UserValidPassword))
            return false;
        if (fields.size() >= 1 &&
            !ValidateAccountingField(fields[0].m_access, s.AcctInfo0Name, s.AcctInfo0ValidPassword,
                                     L"", ignored, data.m_accountingChildren1, salt) &&
            !AskField(in, out, fields[0].m_access, s.AcctInfo0Prompt, data.m_accountingChildren1,
                      s.AcctInfo0Name, s.AcctInfo0ValidPassword))
            return false;
        if (fields.size() >= 2 &&
            !ValidateAccountingField(fields[1].m_access, s.AcctInfo1Name, s.AcctInfo1ValidPassword,
                                     L"", ignored, data.m_accountingChildren2, salt) &&
            !AskField(in, out, fields[1].m_access, s.AcctInfo1Prompt, data.m_accountingChildren2,
                      s.AcctInfo1Name, s.AcctInfo1ValidPassword))
            return false;
    }
    return ValidateCredentials(s, &data);
}

bool PlotTimePromptAvailable() {
    return xomplatform::GetDialogBackend() != nullptr || isatty(STDIN_FILENO) != 0;
}

bool CompletePlotIdentificationInteractively(DriverSettings& settings,
                                             const CXomPrinterData& printerData) {
    if (xomplatform::GetDialogBackend() != nullptr)
        return CompletePlotIdentification(settings, printerData);
    if (isatty(STDIN_FILENO) != 0)
        return CompletePlotIdentificationOnTerminal(settings, printerData, stdin, stderr);
    return false;
}
