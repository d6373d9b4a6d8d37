#include "Common/XomDialogs/DlgSelect.h"

#include <cwctype>

#include "Common/XOM/LocalizedString.h"
#include "Common/XomDialogs/DialogText.h"

namespace {

constexpr unsigned kIdsPleaseSelect = 221;  // "Please select %s"
constexpr unsigned kIdsSelect = 222;        // "Select %s"

bool StartsWithNoCase(const std::wstring& text, const std::wstring& prefix) {
    if (prefix.size() > text.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (std::towlower(static_cast<wint_t>(text[i])) !=
            std::towlower(static_cast<wint_t>(prefix[i])))
            return false;
    return true;
}

}  // namespace

CDlgSelect::CDlgSelect(std::wstring name, const std::vector<std::wstring>* names,
                       std::wstring& chosen, int& index)
    : CXomDialog(kTemplate),
      m_name(std::move(name)),
      m_names(names),
      m_chosen(chosen),
      m_index(index) {
    m_index = -1;
}

void CDlgSelect::OnInitDialog() {
    W().SetTitle(FormatWith(LocalizedString(kIdsSelect), m_name));
    W().SetText(kPrompt, FormatWith(LocalizedString(kIdsPleaseSelect), m_name));
    W().ClearList(kList);
    W().Show(kFind, false);
    W().Show(kFindLabel, false);
    m_shown = 0;
    if (m_names == nullptr) {
        W().AddListItem(kList, L"Error: No list available", -1);
        return;
    }
    for (std::size_t i = 0; i < m_names->size(); ++i) {
        const std::wstring& name = (*m_names)[i];
        if (name.empty()) continue;
        const int at = W().AddListItem(kList, name, static_cast<std::intptr_t>(i));
        ++m_shown;
        if (name == m_chosen) W().SetListSelection(kList, at);
    }
    if (m_shown >= kFindFrom) {
        W().Show(kFind, true);
        W().Show(kFindLabel, true);
    }
}

void CDlgSelect::OnControl(unsigned id, xomplatform::Notification what) {
    if (id == kList && what == xomplatform::Notification::DoubleClicked) {
        OnOK();
    } else if (id == kFind && what == xomplatform::Notification::Changed) {
        const std::wstring typed = W().GetText(kFind);
        if (typed.empty()) return;
        for (int i = 0; i < W().GetListCount(kList); ++i) {
            if (StartsWithNoCase(W().GetListText(kList, i), typed)) {
                W().SetListSelection(kList, i);
                break;
            }
        }
    }
}

void CDlgSelect::OnOK() {
    const int selected = W().GetListSelection(kList);
    const std::intptr_t data = selected < 0 ? -1 : W().GetListData(kList, selected);
    if (m_names != nullptr && data >= 0 && static_cast<std::size_t>(data) < m_names->size()) {
        m_index = static_cast<int>(data);
        m_chosen = (*m_names)[static_cast<std::size_t>(data)];
    }
    EndDialog(IDOK);
}
