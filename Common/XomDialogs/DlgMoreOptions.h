#pragma once
// Plot-time prompting, the media warning switch and the output path of the settings record. In
// the plot-time copy the prompting box cannot be changed. OK writes the three values back.
#include "Common/XomDialogs/XomDialog.h"
#include "Common/XomSettings/DriverSettings.h"

class CDlgMoreOptions : public CXomDialog {
  public:
    static constexpr unsigned kTemplate = 519;
    static constexpr unsigned kPromptAtPlotTime = 1162, kDisableMediaWarning = 1253;
    static constexpr unsigned kDirectToIp = 1245, kToPort = 1251;

    explicit CDlgMoreOptions(DriverSettings& settings);

  protected:
    void OnInitDialog() override;
    void OnOK() override;

  private:
    DriverSettings& m_settings;
};
