#include "Common/XomDialogs/DlgEnter.h"

#include "Common/XOM/LocalizedString.h"
#include "Common/XomDialogs/DialogText.h"

namespace {
constexpr unsigned kIdsPleaseEnter = 223;  // "Please enter %s"
}

CDlgEnter::CDlgEnter(std::wstring& value, std::wstring name, bool hidden)
    : CXomDialog(kTemplate), m_value(value), m_name(std::move(name)), m_hidden(hidden) {}

void CDlgEnter::OnInitDialog() {
    W().SetTitle(m_name);
    W().SetText(kPrompt, FormatWith(LocalizedString(kIdsPleaseEnter), m_name));
    W().Show(kShow, m_hidden);
    W().SetCheck(kShow, false);
    W().SetPasswordMode(kEdit, m_hidden);
    if (m_maxDigits > 0) W().SetTextLimit(kEdit, m_maxDigits);
    W().SetText(kEdit, m_value);
    W().SetFocus(kEdit);
    W().SetCaret(kEdit, -1);
}

void CDlgEnter::OnControl(unsigned id, xomplatform::Notification what) {
    if (id == kClear && what == xomplatform::Notification::Clicked) {
        W().SetText(kEdit, L"");
        W().SetFocus(kEdit);
    } else if (id == kShow && what == xomplatform::Notification::Clicked) {
        W().SetPasswordMode(kEdit, !W().GetCheck(kShow));
    } else if (id == kEdit && what == xomplatform::Notification::Changed && m_maxDigits > 0) {
        // A pasted or typed non-digit is dropped at once; the edit's limit keeps the length.
        const std::wstring text = W().GetText(kEdit);
        std::wstring digits;
        for (wchar_t c : text)
            if (c >= L'0' && c <= L'9') digits += c;
        if (digits != text) {
            W().SetText(kEdit, digits);
            W().SetCaret(kEdit, static_cast<int>(digits.size()));
        }
    }
}

void CDlgEnter::OnOK() {
    m_value = Trimmed(W().GetText(kEdit));
    EndDialog(IDOK);
}
