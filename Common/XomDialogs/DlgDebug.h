#pragma once
// The debug options, opened by the hidden code: the XML-in-plot-file switch and the diagnostic
// header file, whose path must be writable (tested on OK) and is stored as its full path. The log
// file path rides along in a hidden field and is never stored from it.
#include <string>

#include "Common/XomDialogs/XomDialog.h"
#include "Common/XomSettings/DriverSettings.h"

class CDlgDebug : public CXomDialog {
  public:
    static constexpr unsigned kTemplate = 545;
    static constexpr unsigned kPutXml = 1268, kHeaderFile = 1263, kHeaderLabel = 1264;
    static constexpr unsigned kLogFile = 1266, kLogLabel = 1265, kLogGroup = 1267;
    static constexpr int kMaxPathChars = 299;

    explicit CDlgDebug(DriverSettings& settings);

  protected:
    void OnInitDialog() override;
    void OnOK() override;

  private:
    DriverSettings& m_settings;
};

// Whether a file can be written at path without harming it: an existing file is opened for
// writing (not truncated); a missing one is created, its full path taken, and removed again. The
// full path on success, else the system's error text in error.
bool TestWritablePath(const std::wstring& path, std::wstring& fullPath, std::wstring& error);
