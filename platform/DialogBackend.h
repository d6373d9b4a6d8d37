#pragma once
// The dialog layer's window system: a backend builds a window from a dialog template whose
// captions are already in the user's language, addresses its controls by id, runs it modally and
// reports what the user does as commands. The dialog classes see only this interface; the Qt
// backend (qtdialogs/) is one implementation, registered by the programs that link it.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace xomplatform {

enum class ControlKind {
    Static,
    Group,
    Button,
    DefaultButton,
    Edit,
    CheckBox,
    Radio,
    ListBox,
    Slider,
    Bitmap,
    Tree,      // entries with entries beneath them
    ComboBox,  // an edit with a drop-down list of texts to pick from
};

// Style bits of a control in a template.
inline constexpr unsigned kControlHidden = 1u;      // not shown until shown by id
inline constexpr unsigned kControlGroupStart = 2u;  // a radio button that starts a group
inline constexpr unsigned kControlPassword = 4u;    // an edit that shows '*' for each character
inline constexpr unsigned kControlDigitsOnly = 8u;  // an edit that takes only the digits 0-9

struct ControlTemplate {
    unsigned id = 0;
    ControlKind kind = ControlKind::Static;
    std::wstring caption;
    int x = 0, y = 0, width = 0, height = 0;  // pixels from the dialog's top left
    unsigned style = 0;
    unsigned bitmapId = 0;  // ControlKind::Bitmap: which picture
};

struct DialogTemplate {
    unsigned id = 0;
    std::wstring caption;
    int width = 0, height = 0;
    std::vector<ControlTemplate> controls;
};

// What the user did to a control.
enum class Notification { Clicked, Changed, DoubleClicked, SelectionChanged };

// The dialog side of a window: receives the user's actions.
class DialogEvents {
  public:
    virtual ~DialogEvents() = default;
    virtual void OnCommand(unsigned id, Notification what) = 0;
};

// One dialog window. Control ids are the template's; an unknown id is ignored (getters give empty
// values), as a Windows dialog ignores messages to a missing control.
class DialogWindow {
  public:
    virtual ~DialogWindow() = default;

    virtual void SetTitle(const std::wstring& text) = 0;
    virtual void SetText(unsigned id, const std::wstring& text) = 0;
    virtual std::wstring GetText(unsigned id) const = 0;
    virtual void SetTextLimit(unsigned id, int characters) = 0;
    virtual void SetPasswordMode(unsigned id, bool hidden) = 0;
    virtual bool IsPasswordMode(unsigned id) const = 0;
    // Caret after character `position` (no selection); a full selection when position is -1.
    virtual void SetCaret(unsigned id, int position) = 0;
    virtual void SetCheck(unsigned id, bool checked) = 0;
    virtual bool GetCheck(unsigned id) const = 0;
    // The list operations serve list boxes and combo boxes alike. A combo box's text is its edit's
    // (SetText, GetText); selecting an item puts the item's text there.
    virtual void ClearList(unsigned id) = 0;
    // Appends an item with its data; returns its index.
    virtual int AddListItem(unsigned id, const std::wstring& text, std::intptr_t data) = 0;
    // Inserts an item before index (at the end when index is out of range); returns its index.
    virtual int InsertListItem(unsigned id, int index, const std::wstring& text,
                               std::intptr_t data) = 0;
    virtual void DeleteListItem(unsigned id, int index) = 0;
    virtual int GetListCount(unsigned id) const = 0;
    virtual std::wstring GetListText(unsigned id, int index) const = 0;
    virtual std::intptr_t GetListData(unsigned id, int index) const = 0;
    virtual void SetListSelection(unsigned id, int index) = 0;  // -1 selects nothing
    virtual int GetListSelection(unsigned id) const = 0;
    // Tree entries are named by handles (0 and up, in order of insertion since the last clear);
    // kTreeRoot stands for the tree itself as a parent. Getters of a missing entry give empty
    // values.
    static constexpr int kTreeRoot = -1;
    virtual void ClearTree(unsigned id) = 0;
    // Appends an entry beneath parent; returns its handle, or -1 when parent is missing.
    virtual int InsertTreeItem(unsigned id, int parent, const std::wstring& text,
                               std::intptr_t data) = 0;
    virtual std::vector<int> GetTreeChildren(unsigned id, int parent) const = 0;
    virtual int GetTreeParent(unsigned id, int item) const = 0;  // kTreeRoot for a top entry
    virtual std::wstring GetTreeItemText(unsigned id, int item) const = 0;
    virtual std::intptr_t GetTreeItemData(unsigned id, int item) const = 0;
    virtual void ExpandTreeItem(unsigned id, int item, bool expanded) = 0;
    virtual bool IsTreeItemExpanded(unsigned id, int item) const = 0;
    virtual void SelectTreeItem(unsigned id, int item) = 0;  // -1 selects nothing
    virtual int GetTreeSelection(unsigned id) const = 0;     // -1 when nothing is selected

    virtual void SetSliderRange(unsigned id, int low, int high, int tickEvery, int pageSize) = 0;
    virtual void SetSliderPosition(unsigned id, int position) = 0;
    virtual int GetSliderPosition(unsigned id) const = 0;
    virtual void Enable(unsigned id, bool enabled) = 0;
    virtual bool IsEnabled(unsigned id) const = 0;
    virtual void Show(unsigned id, bool shown) = 0;
    virtual bool IsShown(unsigned id) const = 0;
    virtual void SetFocus(unsigned id) = 0;
    virtual unsigned GetFocus() const = 0;  // 0 when no control of the dialog has it
    // The button that Enter presses.
    virtual void SetDefaultButton(unsigned id) = 0;
    // Shows text beside the control as its error tip (bad input); empty text takes it away.
    virtual void SetErrorTip(unsigned id, const std::wstring& text) = 0;
    virtual std::wstring GetErrorTip(unsigned id) const = 0;

    // Runs the window modally; returns the result given to EndDialog.
    virtual int RunModal() = 0;
    virtual void EndDialog(int result) = 0;
    // Runs work from the window's event loop once the window is shown and idle.
    virtual void Post(std::function<void()> work) = 0;
    virtual void SetWaitCursor(bool on) = 0;
    // Writes a picture of the window as it looks now; false when it cannot.
    virtual bool SaveScreenshot(const std::string& path) = 0;

    // Input as a user makes it (scripted tests, automation): each behaves like the real action,
    // with its limits, filters and notifications.
    // Replaces the text of an edit or of a combo box's edit.
    virtual void TypeText(unsigned id, const std::wstring& text) = 0;
    virtual void Click(unsigned id) = 0;  // a button, check box or radio button
    // An item of a list or combo box by index, an entry of a tree by handle.
    virtual void SelectItem(unsigned id, int index) = 0;
    virtual void DoubleClickItem(unsigned id, int index) = 0;
    virtual void MoveSlider(unsigned id, int position) = 0;
};

class DialogBackend {
  public:
    virtual ~DialogBackend() = default;
    virtual std::unique_ptr<DialogWindow> CreateWindow(const DialogTemplate& dialog,
                                                       DialogEvents& events) = 0;
};

// The backend is made on first use by the registered factory, which returns null when it cannot
// show windows (no display). Null also without a factory.
using DialogBackendFactory = std::function<std::unique_ptr<DialogBackend>()>;
void SetDialogBackendFactory(DialogBackendFactory factory);
DialogBackend* GetDialogBackend();
// Whether a factory is registered (asks nothing of the window system).
bool HasDialogBackendFactory();
// Forgets the backend made so far (tests that switch backends).
void ResetDialogBackend();

// Whether a window system can be reached: a Qt platform of its own (QT_QPA_PLATFORM=offscreen,
// ...), or the display the toolkit would open (the X display of DISPLAY, or with
// QT_QPA_PLATFORM=wayland the Wayland display) accepts a connection. Without one, no toolkit may
// be started: it would abort the process (a stale DISPLAY of an ended ssh session too).
bool DisplayAvailable();
// Whether the X display named as in DISPLAY ([host]:number[.screen]) accepts a connection: its
// local socket, or TCP port 6000 + number of its host (within a second).
bool XDisplayReachable(const std::string& display);
// Whether the Wayland display named as in WAYLAND_DISPLAY ("wayland-0" when empty; relative to
// XDG_RUNTIME_DIR) accepts a connection.
bool WaylandDisplayReachable(const std::string& display);

}  // namespace xomplatform
