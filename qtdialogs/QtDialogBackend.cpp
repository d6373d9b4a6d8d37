#include "qtdialogs/QtDialogBackend.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSlider>
#include <QTreeWidget>
#include <deque>
#include <functional>
#include <map>
#include <vector>

#include "platform/MessageService.h"

namespace xomqt {
namespace {

using xomplatform::ControlKind;
using xomplatform::Notification;

QString ToQ(const std::wstring& text) {
    return QString::fromStdWString(text);
}

// The application object, made once when the process has none (a host with its own Qt
// application keeps it). Arguments must outlive it.
bool EnsureApplication() {
    if (QApplication::instance() != nullptr) return true;
    if (!xomplatform::DisplayAvailable()) return false;
    static int argc = 1;
    static char name[] = "xomdialogs";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);  // lives to the process's end
    return app != nullptr;
}

// A colour scale for the bitmap controls (514-516: brightness, green-red, blue-yellow).
QPixmap ScalePicture(unsigned bitmapId, int width, int height) {
    QPixmap picture(std::max(width, 1), std::max(height, 1));
    QPainter painter(&picture);
    QLinearGradient gradient(0, 0, width, 0);
    switch (bitmapId) {
        case 515:
            gradient.setColorAt(0, Qt::green);
            gradient.setColorAt(1, Qt::red);
            break;
        case 516:
            gradient.setColorAt(0, Qt::blue);
            gradient.setColorAt(1, Qt::yellow);
            break;
        default:
            gradient.setColorAt(0, Qt::black);
            gradient.setColorAt(1, Qt::white);
            break;
    }
    painter.fillRect(picture.rect(), gradient);
    return picture;
}

// Cancel and the window's close button reach the dialog class as the Cancel command, which
// decides whether the window ends.
// Work posted to the window runs from its event loop, one event per piece of work, in order.
class Window final : public QDialog {
  public:
    explicit Window(xomplatform::DialogEvents& events) : m_events(events) {}
    void reject() override { m_events.OnCommand(2, Notification::Clicked); }
    void accept() override { m_events.OnCommand(1, Notification::Clicked); }

    void Post(std::function<void()> work) {
        m_posted.push_back(std::move(work));
        QCoreApplication::postEvent(this, new QEvent(kRunPosted));  // the queue owns the event
    }

  protected:
    bool event(QEvent* e) override {
        if (e->type() != kRunPosted) return QDialog::event(e);
        if (!m_posted.empty()) {
            std::function<void()> work = std::move(m_posted.front());
            m_posted.pop_front();
            work();
        }
        return true;
    }

  private:
    static constexpr QEvent::Type kRunPosted = static_cast<QEvent::Type>(QEvent::User + 1);
    xomplatform::DialogEvents& m_events;
    std::deque<std::function<void()>> m_posted;
};

class QtDialogWindow final : public xomplatform::DialogWindow {
  public:
    QtDialogWindow(const xomplatform::DialogTemplate& dialog, xomplatform::DialogEvents& events)
        : m_events(events), m_window(events) {
        m_window.setWindowTitle(ToQ(dialog.caption));
        m_window.setFixedSize(dialog.width, dialog.height);
        for (const auto& control : dialog.controls) Build(control);
    }

    void SetTitle(const std::wstring& text) override { m_window.setWindowTitle(ToQ(text)); }

    void SetText(unsigned id, const std::wstring& text) override {
        QWidget* w = Find(id);
        if (auto* e = dynamic_cast<QLineEdit*>(w)) {
            e->setText(ToQ(text));
        } else if (auto* c = dynamic_cast<QComboBox*>(w)) {
            c->setEditText(ToQ(text));
        } else if (auto* b = dynamic_cast<QAbstractButton*>(w)) {
            b->setText(ToQ(text));
        } else if (auto* l = dynamic_cast<QLabel*>(w)) {
            l->setText(ToQ(text));
            // A status text changes during long work on this thread (a search, a wake-up) that
            // lets no event run: it is painted at once.
            if (l->isVisible()) l->repaint();
        } else if (auto* g = dynamic_cast<QGroupBox*>(w)) {
            g->setTitle(ToQ(text));
        }
    }

    std::wstring GetText(unsigned id) const override {
        QWidget* w = Find(id);
        if (auto* e = dynamic_cast<QLineEdit*>(w)) return e->text().toStdWString();
        if (auto* c = dynamic_cast<QComboBox*>(w)) return c->currentText().toStdWString();
        if (auto* b = dynamic_cast<QAbstractButton*>(w)) return b->text().toStdWString();
        if (auto* l = dynamic_cast<QLabel*>(w)) return l->text().toStdWString();
        if (auto* g = dynamic_cast<QGroupBox*>(w)) return g->title().toStdWString();
        return {};
    }

    void SetTextLimit(unsigned id, int characters) override {
        if (auto* e = Edit(id)) e->setMaxLength(characters);
    }
    void SetPasswordMode(unsigned id, bool hidden) override {
        if (auto* e = Edit(id)) e->setEchoMode(hidden ? QLineEdit::Password : QLineEdit::Normal);
    }
    bool IsPasswordMode(unsigned id) const override {
        auto* e = Edit(id);
        return e != nullptr && e->echoMode() == QLineEdit::Password;
    }
    void SetCaret(unsigned id, int position) override {
        if (auto* e = Edit(id)) {
            if (position < 0) {
                e->selectAll();
            } else {
                e->setCursorPosition(position);
            }
        }
    }
    void SetCheck(unsigned id, bool checked) override {
        if (auto* b = dynamic_cast<QAbstractButton*>(Find(id))) b->setChecked(checked);
    }
    bool GetCheck(unsigned id) const override {
        auto* b = dynamic_cast<QAbstractButton*>(Find(id));
        return b != nullptr && b->isChecked();
    }
    void ClearList(unsigned id) override {
        if (auto* l = List(id)) l->clear();
        if (auto* c = Combo(id)) {
            Quiet quiet(*this);
            c->clear();
        }
    }
    int AddListItem(unsigned id, const std::wstring& text, std::intptr_t data) override {
        return InsertListItem(id, GetListCount(id), text, data);
    }
    int InsertListItem(unsigned id, int index, const std::wstring& text,
                       std::intptr_t data) override {
        const int count = GetListCount(id);
        if (index < 0 || index > count) index = count;
        const QVariant value = QVariant::fromValue<qlonglong>(data);
        if (auto* l = List(id)) {
            auto* item = new QListWidgetItem(ToQ(text));
            item->setData(Qt::UserRole, value);
            l->insertItem(index, item);  // the list owns the item
            return index;
        }
        if (auto* c = Combo(id)) {
            Quiet quiet(*this);
            // Inserting must not change the text the user sees in the edit.
            const QString shown = c->currentText();
            c->insertItem(index, ToQ(text), value);
            c->setEditText(shown);
            return index;
        }
        return -1;
    }
    void DeleteListItem(unsigned id, int index) override {
        if (auto* l = List(id)) delete l->takeItem(index);
        if (auto* c = Combo(id)) {
            Quiet quiet(*this);
            const QString shown = c->currentText();
            c->removeItem(index);
            c->setEditText(shown);
        }
    }
    int GetListCount(unsigned id) const override {
        if (auto* l = List(id)) return l->count();
        if (auto* c = Combo(id)) return c->count();
        return 0;
    }
    std::wstring GetListText(unsigned id, int index) const override {
        if (auto* c = Combo(id))
            return index < 0 || index >= c->count() ? std::wstring()
                                                    : c->itemText(index).toStdWString();
        auto* l = List(id);
        auto* item = l == nullptr ? nullptr : l->item(index);
        return item == nullptr ? std::wstring() : item->text().toStdWString();
    }
    std::intptr_t GetListData(unsigned id, int index) const override {
        if (auto* c = Combo(id))
            return index < 0 || index >= c->count()
                       ? -1
                       : static_cast<std::intptr_t>(c->itemData(index).toLongLong());
        auto* l = List(id);
        auto* item = l == nullptr ? nullptr : l->item(index);
        return item == nullptr ? -1
                               : static_cast<std::intptr_t>(item->data(Qt::UserRole).toLongLong());
    }
    void SetListSelection(unsigned id, int index) override {
        Quiet quiet(*this);
        if (auto* l = List(id)) {
            l->setCurrentRow(index);
            if (index < 0) l->clearSelection();
        }
        if (auto* c = Combo(id)) c->setCurrentIndex(index);
    }
    int GetListSelection(unsigned id) const override {
        if (auto* c = Combo(id)) return c->currentIndex();
        auto* l = List(id);
        if (l == nullptr || l->selectedItems().isEmpty()) return -1;
        return l->currentRow();
    }

    void ClearTree(unsigned id) override {
        Quiet quiet(*this);
        if (auto* t = Tree(id)) t->clear();
        m_treeItems[id].clear();
    }
    int InsertTreeItem(unsigned id, int parent, const std::wstring& text,
                       std::intptr_t data) override {
        auto* t = Tree(id);
        if (t == nullptr) return -1;
        QTreeWidgetItem* above = parent == kTreeRoot ? nullptr : TreeItem(id, parent);
        if (parent != kTreeRoot && above == nullptr) return -1;
        Quiet quiet(*this);
        // Owned by the tree, or by the entry above, which the tree owns.
        auto* item = above == nullptr ? new QTreeWidgetItem(t) : new QTreeWidgetItem(above);
        item->setText(0, ToQ(text));
        auto& items = m_treeItems[id];
        const int handle = static_cast<int>(items.size());
        item->setData(0, kHandleRole, handle);
        item->setData(0, Qt::UserRole, QVariant::fromValue<qlonglong>(data));
        items.push_back(item);
        return handle;
    }
    std::vector<int> GetTreeChildren(unsigned id, int parent) const override {
        std::vector<int> children;
        auto* t = Tree(id);
        if (t == nullptr) return children;
        QTreeWidgetItem* above =
            parent == kTreeRoot ? t->invisibleRootItem() : TreeItem(id, parent);
        for (int i = 0; above != nullptr && i < above->childCount(); ++i)
            children.push_back(above->child(i)->data(0, kHandleRole).toInt());
        return children;
    }
    int GetTreeParent(unsigned id, int item) const override {
        QTreeWidgetItem* entry = TreeItem(id, item);
        if (entry == nullptr || entry->parent() == nullptr) return kTreeRoot;
        return entry->parent()->data(0, kHandleRole).toInt();
    }
    std::wstring GetTreeItemText(unsigned id, int item) const override {
        QTreeWidgetItem* entry = TreeItem(id, item);
        return entry == nullptr ? std::wstring() : entry->text(0).toStdWString();
    }
    std::intptr_t GetTreeItemData(unsigned id, int item) const override {
        QTreeWidgetItem* entry = TreeItem(id, item);
        return entry == nullptr
                   ? -1
                   : static_cast<std::intptr_t>(entry->data(0, Qt::UserRole).toLongLong());
    }
    void ExpandTreeItem(unsigned id, int item, bool expanded) override {
        if (QTreeWidgetItem* entry = TreeItem(id, item)) entry->setExpanded(expanded);
    }
    bool IsTreeItemExpanded(unsigned id, int item) const override {
        QTreeWidgetItem* entry = TreeItem(id, item);
        return entry != nullptr && entry->isExpanded();
    }
    void SelectTreeItem(unsigned id, int item) override {
        auto* t = Tree(id);
        if (t == nullptr) return;
        Quiet quiet(*this);
        QTreeWidgetItem* entry = TreeItem(id, item);
        t->setCurrentItem(entry);
        if (entry == nullptr) t->clearSelection();
    }
    int GetTreeSelection(unsigned id) const override {
        auto* t = Tree(id);
        if (t == nullptr || t->currentItem() == nullptr || t->selectedItems().isEmpty()) return -1;
        return t->currentItem()->data(0, kHandleRole).toInt();
    }

    void SetSliderRange(unsigned id, int low, int high, int tickEvery, int pageSize) override {
        if (auto* s = Slider(id)) {
            s->setRange(low, high);
            s->setTickInterval(tickEvery);
            s->setTickPosition(QSlider::TicksBelow);
            s->setPageStep(pageSize);
        }
    }
    void SetSliderPosition(unsigned id, int position) override {
        if (auto* s = Slider(id)) {
            Quiet quiet(*this);
            s->setValue(position);
        }
    }
    int GetSliderPosition(unsigned id) const override {
        auto* s = Slider(id);
        return s == nullptr ? 0 : s->value();
    }
    void Enable(unsigned id, bool enabled) override {
        if (QWidget* w = Find(id)) w->setEnabled(enabled);
    }
    bool IsEnabled(unsigned id) const override {
        QWidget* w = Find(id);
        return w != nullptr && w->isEnabled();
    }
    void Show(unsigned id, bool shown) override {
        if (QWidget* w = Find(id)) w->setVisible(shown);
    }
    bool IsShown(unsigned id) const override {
        QWidget* w = Find(id);
        return w != nullptr && !w->isHidden();
    }
    void SetFocus(unsigned id) override {
        if (QWidget* w = Find(id)) w->setFocus();
    }
    void SetDefaultButton(unsigned id) override {
        for (const auto& [other, w] : m_controls)
            if (auto* b = dynamic_cast<QPushButton*>(w)) b->setDefault(other == id);
    }
    void SetErrorTip(unsigned id, const std::wstring& text) override {
        QWidget* w = Find(id);
        if (w == nullptr) return;
        QLabel*& tip = m_errorTips[id];
        if (tip == nullptr) {
            // Beneath the control, as wide as the dialog allows.
            tip = new QLabel(&m_window);  // owned by the window
            tip->setStyleSheet(QStringLiteral("QLabel { color: #c00000 }"));
            tip->setGeometry(w->x(), w->y() + w->height() + 2, m_window.width() - w->x() - 8, 20);
        }
        tip->setText(ToQ(text));
        tip->setVisible(!text.empty());
        w->setToolTip(ToQ(text));
    }
    std::wstring GetErrorTip(unsigned id) const override {
        auto it = m_errorTips.find(id);
        return it == m_errorTips.end() || it->second->isHidden()
                   ? std::wstring()
                   : it->second->text().toStdWString();
    }
    unsigned GetFocus() const override {
        QWidget* focus = m_window.focusWidget();
        for (const auto& [id, w] : m_controls)
            if (w == focus) return id;
        return 0;
    }

    int RunModal() override { return m_window.exec(); }
    void EndDialog(int result) override { m_window.done(result); }
    void Post(std::function<void()> work) override { m_window.Post(std::move(work)); }
    void SetWaitCursor(bool on) override {
        if (on) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
        } else {
            QApplication::restoreOverrideCursor();
        }
    }
    bool SaveScreenshot(const std::string& path) override {
        return m_window.grab().save(QString::fromStdString(path), "PNG");
    }

    void TypeText(unsigned id, const std::wstring& text) override {
        if (auto* c = Combo(id)) {
            if (!c->isEnabled()) return;
            c->setFocus();
            c->lineEdit()->selectAll();
            c->lineEdit()->insert(ToQ(text));
            return;
        }
        auto* e = Edit(id);
        if (e == nullptr || !e->isEnabled()) return;
        e->setFocus();
        e->selectAll();
        // As typed: the edit's length limit and validator apply, and it reports the change.
        e->insert(ToQ(text));
    }
    void Click(unsigned id) override {
        auto* b = dynamic_cast<QAbstractButton*>(Find(id));
        if (b != nullptr && b->isEnabled()) b->click();
    }
    void SelectItem(unsigned id, int index) override {
        if (auto* c = Combo(id)) {
            if (c->isEnabled() && index >= 0 && index < c->count()) c->setCurrentIndex(index);
            return;
        }
        if (auto* t = Tree(id)) {
            QTreeWidgetItem* entry = TreeItem(id, index);
            if (t->isEnabled() && entry != nullptr) t->setCurrentItem(entry);
            return;
        }
        auto* l = List(id);
        if (l != nullptr && l->isEnabled()) l->setCurrentRow(index);
    }
    void DoubleClickItem(unsigned id, int index) override {
        auto* l = List(id);
        if (l == nullptr || !l->isEnabled() || l->item(index) == nullptr) return;
        l->setCurrentRow(index);
        emit l->itemDoubleClicked(l->item(index));
    }
    void MoveSlider(unsigned id, int position) override {
        auto* s = Slider(id);
        if (s != nullptr && s->isEnabled()) s->setValue(position);
    }

  private:
    // Changes made by the dialog class itself are not reported back to it.
    struct Quiet {
        explicit Quiet(QtDialogWindow& w) : window(w), was(w.m_quiet) { w.m_quiet = true; }
        ~Quiet() { window.m_quiet = was; }
        Quiet(const Quiet&) = delete;
        Quiet& operator=(const Quiet&) = delete;
        QtDialogWindow& window;
        bool was;
    };

    void Notify(unsigned id, Notification what) {
        if (!m_quiet) m_events.OnCommand(id, what);
    }

    void Build(const xomplatform::ControlTemplate& c) {
        QWidget* w = nullptr;
        const QString caption = ToQ(c.caption);
        const unsigned id = c.id;
        switch (c.kind) {
            case ControlKind::Static: {
                auto* label = new QLabel(caption, &m_window);
                label->setWordWrap(c.height > 24);
                label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
                w = label;
                break;
            }
            case ControlKind::Group:
                w = new QGroupBox(caption, &m_window);
                break;
            case ControlKind::Button:
            case ControlKind::DefaultButton: {
                auto* button = new QPushButton(caption, &m_window);
                button->setAutoDefault(false);
                button->setDefault(c.kind == ControlKind::DefaultButton);
                QObject::connect(button, &QPushButton::clicked,
                                 [this, id] { Notify(id, Notification::Clicked); });
                w = button;
                break;
            }
            case ControlKind::CheckBox:
            case ControlKind::Radio: {
                QAbstractButton* button = nullptr;
                if (c.kind == ControlKind::CheckBox) {
                    button = new QCheckBox(caption, &m_window);
                } else {
                    button = new QRadioButton(caption, &m_window);
                }
                QObject::connect(button, &QAbstractButton::clicked,
                                 [this, id] { Notify(id, Notification::Clicked); });
                w = button;
                break;
            }
            case ControlKind::Edit: {
                auto* edit = new QLineEdit(caption, &m_window);
                if ((c.style & xomplatform::kControlPassword) != 0)
                    edit->setEchoMode(QLineEdit::Password);
                if ((c.style & xomplatform::kControlDigitsOnly) != 0)
                    edit->setValidator(new QRegularExpressionValidator(
                        QRegularExpression(QStringLiteral("[0-9]*")), edit));
                // The echo character the dialogs promise, whatever the style's default.
                edit->setStyleSheet(
                    QStringLiteral("QLineEdit { lineedit-password-character: 42 }"));
                QObject::connect(edit, &QLineEdit::textChanged,
                                 [this, id] { Notify(id, Notification::Changed); });
                w = edit;
                break;
            }
            case ControlKind::ListBox: {
                auto* list = new QListWidget(&m_window);
                QObject::connect(list, &QListWidget::currentRowChanged,
                                 [this, id] { Notify(id, Notification::SelectionChanged); });
                QObject::connect(list, &QListWidget::itemDoubleClicked,
                                 [this, id] { Notify(id, Notification::DoubleClicked); });
                w = list;
                break;
            }
            case ControlKind::Slider: {
                auto* slider = new QSlider(Qt::Horizontal, &m_window);
                QObject::connect(slider, &QSlider::valueChanged,
                                 [this, id] { Notify(id, Notification::Changed); });
                w = slider;
                break;
            }
            case ControlKind::Tree: {
                auto* tree = new QTreeWidget(&m_window);
                tree->setHeaderHidden(true);
                QObject::connect(tree, &QTreeWidget::currentItemChanged,
                                 [this, id] { Notify(id, Notification::SelectionChanged); });
                w = tree;
                break;
            }
            case ControlKind::ComboBox: {
                auto* combo = new QComboBox(&m_window);
                combo->setEditable(true);
                // The dialog decides which texts are kept in the list, not the Enter key.
                combo->setInsertPolicy(QComboBox::NoInsert);
                QObject::connect(combo, &QComboBox::currentIndexChanged,
                                 [this, id] { Notify(id, Notification::SelectionChanged); });
                QObject::connect(combo, &QComboBox::editTextChanged,
                                 [this, id] { Notify(id, Notification::Changed); });
                w = combo;
                break;
            }
            case ControlKind::Bitmap: {
                auto* picture = new QLabel(&m_window);
                picture->setPixmap(ScalePicture(c.bitmapId, c.width, c.height));
                w = picture;
                break;
            }
        }
        w->setGeometry(c.x, c.y, c.width, c.height);
        if ((c.style & xomplatform::kControlHidden) != 0) w->setVisible(false);
        m_controls[id] = w;
    }

    QWidget* Find(unsigned id) const {
        auto it = m_controls.find(id);
        return it == m_controls.end() ? nullptr : it->second;
    }
    QLineEdit* Edit(unsigned id) const { return dynamic_cast<QLineEdit*>(Find(id)); }
    QListWidget* List(unsigned id) const { return dynamic_cast<QListWidget*>(Find(id)); }
    QSlider* Slider(unsigned id) const { return dynamic_cast<QSlider*>(Find(id)); }
    QComboBox* Combo(unsigned id) const { return dynamic_cast<QComboBox*>(Find(id)); }
    QTreeWidget* Tree(unsigned id) const { return dynamic_cast<QTreeWidget*>(Find(id)); }
    QTreeWidgetItem* TreeItem(unsigned id, int handle) const {
        auto it = m_treeItems.find(id);
        if (it == m_treeItems.end() || handle < 0 ||
            static_cast<std::size_t>(handle) >= it->second.size())
            return nullptr;
        return it->second[static_cast<std::size_t>(handle)];
    }

    static constexpr int kHandleRole = Qt::UserRole + 1;

    xomplatform::DialogEvents& m_events;
    Window m_window;
    std::map<unsigned, QWidget*> m_controls;  // children of m_window, which owns them
    // Each tree's entries by handle, owned by the tree.
    std::map<unsigned, std::vector<QTreeWidgetItem*>> m_treeItems;
    std::map<unsigned, QLabel*> m_errorTips;  // children of m_window
    bool m_quiet = false;
};

class QtDialogBackend final : public xomplatform::DialogBackend {
  public:
    std::unique_ptr<xomplatform::DialogWindow> CreateWindow(
        const xomplatform::DialogTemplate& dialog, xomplatform::DialogEvents& events) override {
        return std::make_unique<QtDialogWindow>(dialog, events);
    }
};

void MessageBoxSink(const std::wstring& text, const std::wstring& caption,
                    xomplatform::MessageIcon icon) {
    QMessageBox::Icon qicon = QMessageBox::NoIcon;
    switch (icon) {
        case xomplatform::MessageIcon::Stop:
            qicon = QMessageBox::Critical;
            break;
        case xomplatform::MessageIcon::Warning:
            qicon = QMessageBox::Warning;
            break;
        case xomplatform::MessageIcon::Info:
            qicon = QMessageBox::Information;
            break;
        case xomplatform::MessageIcon::None:
            break;
    }
    QMessageBox box(qicon, ToQ(caption), ToQ(text), QMessageBox::Ok);
    box.exec();
}

xomplatform::MessageAnswer QuestionBoxSink(const std::wstring& text, const std::wstring& caption,
                                           xomplatform::MessageIcon icon) {
    QMessageBox box(
        icon == xomplatform::MessageIcon::Stop ? QMessageBox::Critical : QMessageBox::Warning,
        ToQ(caption), ToQ(text));
    QPushButton* cancel = box.addButton(QMessageBox::Cancel);
    QPushButton* tryAgain = box.addButton(QStringLiteral("&Try Again"), QMessageBox::ActionRole);
    QPushButton* carryOn = box.addButton(QStringLiteral("C&ontinue"), QMessageBox::AcceptRole);
    box.setDefaultButton(cancel);
    box.exec();
    if (box.clickedButton() == tryAgain) return xomplatform::MessageAnswer::TryAgain;
    if (box.clickedButton() == carryOn) return xomplatform::MessageAnswer::Continue;
    return xomplatform::MessageAnswer::Cancel;
}

}  // namespace

std::unique_ptr<xomplatform::DialogBackend> CreateQtDialogBackend() {
    if (!EnsureApplication()) return nullptr;
    // Once dialogs can be shown, messages are message boxes too.
    xomplatform::SetMessageSink(&MessageBoxSink);
    xomplatform::SetQuestionSink(&QuestionBoxSink);
    xomplatform::SetBeepSink([] { QApplication::beep(); });
    return std::make_unique<QtDialogBackend>();
}

void RegisterQtDialogs() {
    xomplatform::SetDialogBackendFactory(&CreateQtDialogBackend);
}

}  // namespace xomqt
