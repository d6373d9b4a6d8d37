#pragma once
// Asks for one text value, plain or hidden like a password (with a box that shows the characters).
// OK stores the edited text, trimmed, into the value; Cancel leaves it unchanged.
#include <string>

#include "Common/XomDialogs/XomDialog.h"

class CDlgEnter : public CXomDialog {
  public:
    static constexpr unsigned kTemplate = 504;
    static constexpr unsigned kPrompt = 1106, kEdit = 1107, kClear = 1102, kShow = 1260;

    CDlgEnter(std::wstring& value, std::wstring name, bool hidden);
    // The edit then takes at most maxDigits characters, digits only (a PIN).
    void SetDigitsOnly(int maxDigits) { m_maxDigits = maxDigits; }

  protected:
    void OnInitDialog() override;
    void OnControl(unsigned id, xomplatform::Notification what) override;
    void OnOK() override;

  private:
    std::wstring& m_value;
    std::wstring m_name;
    bool m_hidden;
    int m_maxDigits = 0;
};
