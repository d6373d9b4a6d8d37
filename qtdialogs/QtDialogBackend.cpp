#include "qtdialogs/QtDialogBackend.h"

#include <QApplication>
#include <QCheckBox>
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
#include <deque>
#include <functional>
#include <map>

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
        } else if (auto* b = dynamic_cast<QAbstractButton*>(w)) {
            b->setText(ToQ(text));
        } else if (auto* l = dynamic_cast<QLabel*>(w)) {
            l->setText(ToQ(text));
        } else if (auto* g = dynamic_cast<QGroupBox*>(w)) {
            g->setTitle(ToQ(text));
        }
    }

    std::wstring GetText(unsigned id) const override {
        QWidget* w = Find(id);
        if (auto* e = dynamic_cast<QLineEdit*>(w)) return e->text().toStdWString();
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
    }
    int AddListItem(unsigned id, const std::wstring& text, std::intptr_t data) override {
        auto* l = List(id);
        if (l == nullptr) return -1;
        auto* item = new QListWidgetItem(ToQ(text), l);  // owned by the list
        item->setData(Qt::UserRole, QVariant::fromValue<qlonglong>(data));
        return l->count() - 1;
    }
    int GetListCount(unsigned id) const override {
        auto* l = List(id);
        return l == nullptr ? 0 : l->count();
    }
    std::wstring GetListText(unsigned id, int index) const override {
        auto* l = List(id);
        auto* item = l == nullptr ? nullptr : l->item(index);
        return item == nullptr ? std::wstring() : item->text().toStdWString();
    }
    std::intptr_t GetListData(unsigned id, int index) const override {
        auto* l = List(id);
        auto* item = l == nullptr ? nullptr : l->item(index);
        return item == nullptr ? -1
                               : static_cast<std::intptr_t>(item->data(Qt::UserRole).toLongLong());
    }
    void SetListSelection(unsigned id, int index) override {
        if (auto* l = List(id)) {
            Quiet quiet(*this);
            l->setCurrentRow(index);
            if (index < 0) l->clearSelection();
        }
    }
    int GetListSelection(unsigned id) const override {
        auto* l = List(id);
        if (l == nullptr || l->selectedItems().isEmpty()) return -1;
        return l->currentRow();
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

    xomplatform::DialogEvents& m_events;
    Window m_window;
    std::map<unsigned, QWidget*> m_controls;  // children of m_window, which owns them
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
