#pragma once
// Offers a list of names. OK, or a double click in the list, stores the selected name and its
// index in the given list; with 10 or more names a find box selects the first name that begins
// with the typed text. Without a list it shows one error line and OK chooses nothing.
#include <string>
#include <vector>

#include "Common/XomDialogs/XomDialog.h"

class CDlgSelect : public CXomDialog {
  public:
    static constexpr unsigned kTemplate = 503;
    static constexpr unsigned kPrompt = 1100, kList = 1101, kFind = 1145, kFindLabel = 1146;
    static constexpr int kFindFrom = 10;  // names shown at which the find box appears

    // names may be null (no list); chosen is in and out, index out (-1 until a choice is made).
    CDlgSelect(std::wstring name, const std::vector<std::wstring>* names, std::wstring& chosen,
               int& index);

    int ShownCount() const { return m_shown; }

  protected:
    void OnInitDialog() override;
    void OnControl(unsigned id, xomplatform::Notification what) override;
    void OnOK() override;

  private:
    std::wstring m_name;
    const std::vector<std::wstring>* m_names;
    std::wstring& m_chosen;
    int& m_index;
    int m_shown = 0;
};
