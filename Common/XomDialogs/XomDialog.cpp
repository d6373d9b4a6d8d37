#include "Common/XomDialogs/XomDialog.h"

#include "Common/XomDialogs/DialogTemplates.h"

namespace {
DialogShownHook g_shownHook;
}

CXomDialog::~CXomDialog() = default;

int CXomDialog::DoModal() {
    xomplatform::DialogBackend* backend = xomplatform::GetDialogBackend();
    xomplatform::DialogTemplate dialog;
    if (backend == nullptr || !LoadDialogTemplate(m_templateId, dialog)) return kDialogNotShown;
    m_window = backend->CreateWindow(dialog, *this);
    if (!m_window) return kDialogNotShown;
    m_initializing = true;
    OnInitDialog();
    m_initializing = false;
    if (g_shownHook) {
        DialogShownHook hook = g_shownHook;
        PostToSelf([this, hook] { hook(*this); });
    }
    const int result = m_window->RunModal();
    m_window.reset();
    return result;
}

void CXomDialog::EndDialog(int result) {
    if (m_window) m_window->EndDialog(result);
}

void CXomDialog::PostToSelf(std::function<void()> work) {
    if (m_window) m_window->Post(std::move(work));
}

void CXomDialog::OnCommand(unsigned id, xomplatform::Notification what) {
    if (m_initializing) return;
    if (id == IDOK && what == xomplatform::Notification::Clicked) {
        OnOK();
    } else if (id == IDCANCEL && what == xomplatform::Notification::Clicked) {
        OnCancel();
    } else {
        OnControl(id, what);
    }
}

CWaitCursor::CWaitCursor(CXomDialog& dialog) : m_window(dialog.Window()) {
    if (m_window) m_window->SetWaitCursor(true);
}

CWaitCursor::~CWaitCursor() {
    if (m_window) m_window->SetWaitCursor(false);
}

DialogShownHook SetDialogShownHook(DialogShownHook hook) {
    DialogShownHook previous = std::move(g_shownHook);
    g_shownHook = std::move(hook);
    return previous;
}
