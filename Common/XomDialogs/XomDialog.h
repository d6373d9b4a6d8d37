#pragma once
// The base of every dialog: built from its template in the resource library, controls addressed
// by id through the window, run modally on the caller's thread. A derived dialog fills its controls
// in OnInitDialog (changes made there are not reported back as commands), reacts in OnControl,
// and decides in OnOK and OnCancel whether the dialog ends. It never sees the toolkit.
#include <functional>
#include <memory>
#include <string>

#include "platform/DialogBackend.h"

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
// DoModal's result when no dialog can be shown (no template, or no window system).
inline constexpr int kDialogNotShown = -1;

class CXomDialog : private xomplatform::DialogEvents {
  public:
    explicit CXomDialog(unsigned templateId) : m_templateId(templateId) {}
    ~CXomDialog() override;
    CXomDialog(const CXomDialog&) = delete;
    CXomDialog& operator=(const CXomDialog&) = delete;

    // Shows the dialog until it ends; the button that ended it (IDOK, IDCANCEL or another id), or
    // kDialogNotShown.
    int DoModal();
    unsigned TemplateId() const { return m_templateId; }
    // The open window; null outside DoModal.
    xomplatform::DialogWindow* Window() { return m_window.get(); }

  protected:
    virtual void OnInitDialog() {}
    virtual void OnControl(unsigned /*id*/, xomplatform::Notification /*what*/) {}
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }

    xomplatform::DialogWindow& W() { return *m_window; }
    void EndDialog(int result);
    // Runs work from the dialog's event loop, after the dialog is shown.
    void PostToSelf(std::function<void()> work);

  private:
    void OnCommand(unsigned id, xomplatform::Notification what) override;

    unsigned m_templateId;
    std::unique_ptr<xomplatform::DialogWindow> m_window;
    bool m_initializing = false;
};

// Shows the wait cursor over the application while it lives (a long read from the printer).
class CWaitCursor {
  public:
    explicit CWaitCursor(CXomDialog& dialog);
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

  private:
    xomplatform::DialogWindow* m_window;
};

// Called for every dialog once it is shown and idle (scripted tests and automation drive the
// dialog through its window from here). Replaces the hook and returns the previous one.
using DialogShownHook = std::function<void(CXomDialog& dialog)>;
DialogShownHook SetDialogShownHook(DialogShownHook hook);
