#include "Common/XomDialogs/DlgDebug.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "Common/XOM/LocalizedString.h"
#include "platform/MessageService.h"
#include "platform/Utf8.h"

namespace {

constexpr unsigned kIdsError = 204;  // "Error"

std::wstring FullPath(const std::string& path) {
    char* resolved = realpath(path.c_str(), nullptr);
    if (resolved == nullptr) return xomplatform::FromUtf8(path);
    std::wstring full = xomplatform::FromUtf8(resolved);
    std::free(resolved);
    return full;
}

}  // namespace

bool TestWritablePath(const std::wstring& path, std::wstring& fullPath, std::wstring& error) {
    const std::string bytes = xomplatform::ToUtf8(path);
    int fd = open(bytes.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
    bool created = false;
    if (fd < 0 && errno == ENOENT) {
        fd = open(bytes.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        created = fd >= 0;
    }
    if (fd < 0) {
        error = xomplatform::FromUtf8(std::strerror(errno));
        return false;
    }
    fullPath = FullPath(bytes);
    close(fd);
    if (created) unlink(bytes.c_str());
    return true;
}

CDlgDebug::CDlgDebug(DriverSettings& settings) : CXomDialog(kTemplate), m_settings(settings) {}

void CDlgDebug::OnInitDialog() {
    W().SetCheck(kPutXml, m_settings.PutXMLinPlotFile != 0);
    W().SetTextLimit(kHeaderFile, kMaxPathChars);
    W().SetText(kHeaderFile, m_settings.DebugHeaderFilePath);
    W().SetText(kLogFile, m_settings.LogFilePath);
    W().Show(kLogFile, false);
    W().Show(kLogLabel, false);
    W().Show(kLogGroup, false);
}

void CDlgDebug::OnOK() {
    // Nothing is stored while the dialog stays open: a Cancel after an error changes nothing.
    const std::int32_t putXml = W().GetCheck(kPutXml) ? 1 : 0;
    const std::wstring path = W().GetText(kHeaderFile);
    if (path.empty()) {
        m_settings.PutXMLinPlotFile = putXml;
        m_settings.DebugHeaderFilePath.clear();
        EndDialog(IDOK);
        return;
    }
    std::wstring full;
    std::wstring error;
    if (!TestWritablePath(path, full, error)) {
        xomplatform::ShowMessage(L"Diagnostic plot header file: \n" + error,
                                 LocalizedString(kIdsError), xomplatform::MessageIcon::Stop);
        W().SetFocus(kHeaderFile);
        return;
    }
    m_settings.PutXMLinPlotFile = putXml;
    m_settings.DebugHeaderFilePath = full;
    EndDialog(IDOK);
}
