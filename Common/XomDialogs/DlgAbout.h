#pragma once
// The about box: one list with the driver's and the host's identity, the printer link (when opened
// from the settings dialog with a linked printer) and the recent plot log.
#include <string>
#include <vector>

#include "Common/XomDialogs/XomDialog.h"
#include "Common/XomSettings/DriverSettings.h"
#include "juxcommoncode/PrinterData/XomMachine.h"

class CDlgAbout : public CXomDialog {
  public:
    static constexpr unsigned kTemplate = 502;
    static constexpr unsigned kList = 1169;

    // settings: the settings dialog's record, null when not opened from it; link: the linked
    // printer, whose connection lines show only with settings and an address. logPath empty: the
    // user's plot log.
    CDlgAbout(const DriverSettings* settings, const CSnmpAgent* link, std::wstring logPath = {});

    const std::vector<std::wstring>& Lines() const { return m_lines; }

  protected:
    void OnInitDialog() override;

  private:
    const DriverSettings* m_settings;
    const CSnmpAgent* m_link;
    std::wstring m_logPath;
    std::vector<std::wstring> m_lines;
};

// The lines of the about list, in order.
std::vector<std::wstring> AboutLines(const DriverSettings* settings, const CSnmpAgent* link,
                                     const std::wstring& logPath);
