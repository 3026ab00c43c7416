#include "accessible.h"

#include "controls.h"
#include "numbers.h"
#include "windows_notification.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QPointer>
#include <algorithm>

namespace ui {

// One child of a window: a control, a painted item, or the window's voice: a notification inside a
// status bar. Orca says "notification" before what a notification says, unless it lies in a status bar.
class AccessibleItem : public QAccessibleInterface,
                       public QAccessibleActionInterface,
                       public QAccessibleTextInterface,
                       public QAccessibleEditableTextInterface {
public:
    AccessibleItem(Form& form, Control* control) : form_(form), control_(control) {}
    AccessibleItem(Form& form, PaintedItem* painted) : form_(form), painted_(painted) {}
    enum class Voice { Notification, StatusBar };
    AccessibleItem(Form& form, Voice voice) : form_(form), voice_(voice) {}

    // Makes `child` one of this item's children.
    void adopt(AccessibleItem* child) {
        children_.push_back(child);
        child->container_ = this;
    }

    const void* source() const {
        return control_ != nullptr ? static_cast<const void*>(control_) : static_cast<const void*>(painted_);
    }
    Control* control() const { return control_; }
    void setNotice(const QString& text) { notice_ = text; }

    bool isValid() const override { return true; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return form_.windowHandle(); }
    QAccessibleInterface* parent() const override {
        return container_ != nullptr ? container_ : QAccessible::queryAccessibleInterface(&form_);
    }
    QAccessibleInterface* child(int index) const override {
        return index >= 0 && index < childCount() ? children_[std::size_t(index)] : nullptr;
    }
    int childCount() const override { return int(children_.size()); }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const auto it = std::find(children_.begin(), children_.end(), child);
        return it != children_.end() ? int(it - children_.begin()) : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        for (AccessibleItem* child : children_) {
            if (!child->state().invisible && child->rect().contains(x, y)) {
                return child;
            }
        }
        return nullptr;
    }
    void setText(QAccessible::Text, const QString&) override {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value && field() != nullptr) {
            return field()->text();
        }
        if (t != QAccessible::Name) {
            return QString();
        }
        if (painted_ != nullptr) {
            return painted_->name();
        }
        if (control_ == nullptr) {
            // The bar has a name of its own, so that no screen reader reads its one child for it.
            return voice_ == Voice::StatusBar ? QStringLiteral("Annonces") : notice_;
        }
        if (control_->accessibleName) {
            return control_->accessibleName();
        }
        if (const auto* label = dynamic_cast<const Label*>(control_)) {
            return base::spokenText(label->caption());
        }
        if (const auto* box = dynamic_cast<const CheckBox*>(control_)) {
            return base::spokenText(box->caption());
        }
        return QString();
    }

    QRect rect() const override {
        QRectF widget;
        if (control_ != nullptr) {
            widget = form_.sceneToWidget().mapRect(control_->sceneRect());
        } else if (painted_ != nullptr) {
            widget = QRectF(form_.widgetPointForUnits(painted_->rect().topLeft()),
                            form_.widgetPointForUnits(painted_->rect().bottomRight()));
        } else {
            return QRect(form_.mapToGlobal(QPoint(0, 0)), QSize(0, 0));
        }
        return widget.toAlignedRect().translated(form_.mapToGlobal(QPoint(0, 0)));
    }

    QAccessible::Role role() const override {
        if (painted_ != nullptr) {
            return painted_->role();
        }
        if (control_ == nullptr) {
            return voice_ == Voice::StatusBar ? QAccessible::StatusBar : QAccessible::Notification;
        }
        if (dynamic_cast<const CheckBox*>(control_) != nullptr) {
            return QAccessible::CheckBox;
        }
        if (field() != nullptr) {
            return QAccessible::EditableText;
        }
        if (dynamic_cast<const Image*>(control_) != nullptr) {
            return control_->onClick ? QAccessible::PushButton : QAccessible::Graphic;
        }
        if (dynamic_cast<const PadKey*>(control_) != nullptr ||
            (control_->onClick && control_->tabIndex() > 0)) {
            // A key of the pad, or a word that does something when pressed.
            return QAccessible::PushButton;
        }
        return QAccessible::StaticText;
    }

    QAccessible::State state() const override {
        QAccessible::State s;
        if (control_ != nullptr) {
            s.invisible = !control_->isVisible() || !form_.isVisible();
            s.focusable = control_->tabIndex() > 0;
            s.focused = control_->hasFocus();
            if (const auto* box = dynamic_cast<const CheckBox*>(control_)) {
                s.checkable = true;
                s.checked = box->isChecked();
            }
            s.editable = field() != nullptr;
            if (const auto* box = dynamic_cast<const CheckBox*>(control_);
                box != nullptr && box->isLocked()) {
                s.readOnly = true;
            }
        } else if (painted_ != nullptr) {
            s.invisible = !painted_->isVisible() || !form_.isVisible();
        } else if (voice_ == Voice::Notification) {
            // The window's voice shows nowhere; it is "shown" once it has spoken, for Orca to say it.
            s.invisible = notice_.isEmpty();
        }
        s.readOnly = s.readOnly || role() == QAccessible::StaticText;
        return s;
    }

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::ActionInterface && !actionNames().isEmpty()) {
            return static_cast<QAccessibleActionInterface*>(this);
        }
        if (t == QAccessible::TextInterface && field() != nullptr) {
            return static_cast<QAccessibleTextInterface*>(this);
        }
        if (t == QAccessible::EditableTextInterface && field() != nullptr) {
            return static_cast<QAccessibleEditableTextInterface*>(this);
        }
        return nullptr;
    }

    QStringList actionNames() const override {
        switch (role()) {
        case QAccessible::CheckBox:
            if (const auto* box = dynamic_cast<const CheckBox*>(control_);
                box != nullptr && box->isLocked()) {
                return {};
            }
            return {toggleAction(), pressAction()};
        case QAccessible::PushButton:
            return {pressAction()};
        default:
            return {};
        }
    }

    void doAction(const QString& name) override {
        // What a click does, as the keyboard does it: a hidden control takes no click.
        if (control_ != nullptr && control_->isVisible() && actionNames().contains(name)) {
            form_.clickFromKeyboard(*control_);
        }
    }

    QStringList keyBindingsForAction(const QString& name) const override {
        if (control_ != nullptr && control_->tabIndex() > 0 && actionNames().contains(name)) {
            return {QStringLiteral("Space")};
        }
        return {};
    }

    // A line to type in, as screen readers read and write it: one caret at its end, no selection.
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return characterCount(); }
    void setCursorPosition(int) override {}
    QString text(int start, int end) const override {
        return field() != nullptr ? field()->text().mid(start, end - start) : QString();
    }
    int characterCount() const override { return field() != nullptr ? int(field()->text().size()) : 0; }
    QRect characterRect(int) const override { return rect(); }
    int offsetAtPoint(const QPoint&) const override { return characterCount(); }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return QString();
    }
    void deleteText(int start, int end) override { replaceText(start, end, QString()); }
    void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
    void replaceText(int start, int end, const QString& text) override {
        if (TextField* f = field(); f != nullptr && f->isVisible()) {
            QString t = f->text();
            t.replace(start, end - start, text);
            f->setText(t);
        }
    }

private:
    TextField* field() const { return dynamic_cast<TextField*>(control_); }

    Form& form_;
    Control* control_ = nullptr;
    PaintedItem* painted_ = nullptr;
    QString notice_;
    Voice voice_ = Voice::Notification;
    AccessibleItem* container_ = nullptr;
    std::vector<AccessibleItem*> children_;
};

namespace {

// A window as a screen reader sees it: its children are its controls, its painted items and its voice,
// not widgets.
class AccessibleForm : public QAccessibleWidget {
public:
    explicit AccessibleForm(Form* form) : QAccessibleWidget(form, QAccessible::Window) {}

    int childCount() const override { return tree() != nullptr ? tree()->childCount() : 0; }
    QAccessibleInterface* child(int index) const override {
        return tree() != nullptr ? tree()->child(index) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return tree() != nullptr ? tree()->indexOf(child) : -1;
    }
    QAccessibleInterface* focusChild() const override {
        QAccessibleInterface* focused = tree() != nullptr ? tree()->focusChild() : nullptr;
        return focused != nullptr ? focused : QAccessibleWidget::focusChild();
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        for (int i = 0; i < childCount(); ++i) {
            QAccessibleInterface* item = child(i);
            if (!item->state().invisible && item->rect().contains(x, y)) {
                // A legend over a picture before the picture.
                QAccessibleInterface* inner = item->childAt(x, y);
                return inner != nullptr ? inner : item;
            }
        }
        return nullptr;
    }

private:
    WindowTree* tree() const {
        return static_cast<WindowTree*>(static_cast<Form*>(widget())->accessibleTree());
    }
};

QAccessibleInterface* formFactory(const QString& /*className*/, QObject* object) {
    if (auto* form = qobject_cast<Form*>(object); form != nullptr) {
        return new AccessibleForm(form);
    }
    return nullptr;
}

// A screen reader that starts listening after the window became active hears of its focus all the same.
class ActivationObserver : public QAccessible::ActivationObserver {
public:
    explicit ActivationObserver(FormHost& runtime) : runtime_(runtime) {}

    void accessibilityActiveChanged(bool active) override {
        auto* form = qobject_cast<Form*>(QApplication::activeWindow());
        if (active && form != nullptr && form->isLoaded() && &form->runtime() == &runtime_) {
            if (AccessibleTree* tree = form->accessibleTree()) {
                tree->windowActivated();
            }
        }
    }

    ~ActivationObserver() override { QAccessible::removeActivationObserver(this); }

private:
    FormHost& runtime_;
};

class QtAccessibility final : public Runtime::Accessibility {
public:
    explicit QtAccessibility(Runtime& runtime) : observer_(runtime) {
        QAccessible::installFactory(formFactory);
        QAccessible::installActivationObserver(&observer_);
    }
    std::unique_ptr<AccessibleTree> treeFor(Form& form) override {
        return std::make_unique<WindowTree>(form);
    }

private:
    ActivationObserver observer_;
};

} // namespace

std::unique_ptr<Runtime::Accessibility> makeAccessibility(Runtime& runtime) {
    return std::make_unique<QtAccessibility>(runtime);
}

namespace {

// Top, then left, as designed.
void sortInReadingOrder(std::vector<Control*>& controls) {
    std::stable_sort(controls.begin(), controls.end(), [](const Control* a, const Control* b) {
        return a->top() != b->top() ? a->top() < b->top() : a->left() < b->left();
    });
}

} // namespace

WindowTree::WindowTree(Form& form) : form_(form) {
    // The controls in reading order, then what the window paints with the controls it holds.
    std::vector<Control*> held;
    for (const auto& painted : form.paintedItems()) {
        held.insert(held.end(), painted->held().begin(), painted->held().end());
    }
    std::vector<Control*> controls;
    for (const auto& control : form.controls()) {
        if (dynamic_cast<const Shape*>(control.get()) == nullptr &&
            dynamic_cast<const PadKey*>(control.get()) == nullptr &&
            std::find(held.begin(), held.end(), control.get()) == held.end()) {
            controls.push_back(control.get());
        }
    }
    sortInReadingOrder(controls);
    // A pad's keys after the window's own controls, in the pad's order, wherever the pad stands.
    controls.insert(controls.end(), form.padKeys().begin(), form.padKeys().end());
    for (Control* control : controls) {
        items_.push_back(new AccessibleItem(form, control));
        all_.push_back(items_.back());
        QAccessible::registerAccessibleInterface(items_.back());
    }
    for (const auto& painted : form.paintedItems()) {
        add(*painted);
    }
    auto* bar = new AccessibleItem(form, AccessibleItem::Voice::StatusBar);
    notification_ = new AccessibleItem(form, AccessibleItem::Voice::Notification);
    bar->adopt(notification_);
    items_.push_back(bar);
    for (AccessibleItem* item : {bar, notification_}) {
        all_.push_back(item);
        QAccessible::registerAccessibleInterface(item);
    }
}

WindowTree::~WindowTree() {
    for (AccessibleItem* item : all_) {
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(item));
    }
}

void WindowTree::add(PaintedItem& painted) {
    auto* item = new AccessibleItem(form_, &painted);
    // Before the voice, which stays last.
    items_.insert(notification_ != nullptr ? items_.end() - 1 : items_.end(), item);
    all_.push_back(item);
    std::vector<Control*> held = painted.held();
    sortInReadingOrder(held);
    QAccessible::registerAccessibleInterface(item);
    for (Control* control : held) {
        auto* child = new AccessibleItem(form_, control);
        item->adopt(child);
        all_.push_back(child);
        QAccessible::registerAccessibleInterface(child);
    }
}

QAccessibleInterface* WindowTree::child(int index) const {
    return index >= 0 && index < childCount() ? items_[std::size_t(index)] : nullptr;
}

int WindowTree::indexOf(const QAccessibleInterface* child) const {
    const auto it = std::find(items_.begin(), items_.end(), child);
    return it != items_.end() ? int(it - items_.begin()) : -1;
}

QAccessibleInterface* WindowTree::interfaceOf(const void* source) const {
    for (AccessibleItem* item : all_) {
        if (item->source() != nullptr && item->source() == source) {
            return item;
        }
    }
    return nullptr;
}

QAccessibleInterface* WindowTree::focusChild() const {
    for (AccessibleItem* item : all_) {
        if (item->control() != nullptr && item->control()->hasFocus() && item->control()->isVisible()) {
            return item;
        }
    }
    return nullptr;
}

void WindowTree::send(AccessibleItem* item, QAccessible::Event what) {
    if (what == QAccessible::StateChanged) {
        QAccessible::State checked;
        checked.checked = true;
        QAccessibleStateChangeEvent event(item, checked);
        form_.runtime().sendAccessibilityEvent(event);
        return;
    }
    if (what == QAccessible::TextUpdated) {
        if (const auto* field = dynamic_cast<const TextField*>(item->control())) {
            QAccessibleTextUpdateEvent event(item, 0, field->previousText(), field->text());
            form_.runtime().sendAccessibilityEvent(event);
        }
        return;
    }
    QAccessibleEvent event(item, what);
    form_.runtime().sendAccessibilityEvent(event);
}

void WindowTree::changed(const void* source, QAccessible::Event what) {
    auto* item = static_cast<AccessibleItem*>(interfaceOf(source));
    if (item == nullptr) {
        return;
    }
    if (what != QAccessible::Focus) {
        send(item, what);
        return;
    }
    // Qt tells the focus of the window itself after the key or the activation that moved it; the control's
    // own focus goes after that, or the window's would hide it.
    QMetaObject::invokeMethod(
        &form_,
        [form = QPointer<Form>(&form_), source] {
            auto* tree = form ? static_cast<WindowTree*>(form->accessibleTree()) : nullptr;
            auto* item = tree != nullptr ? static_cast<AccessibleItem*>(tree->interfaceOf(source)) : nullptr;
            if (item != nullptr && item->control()->hasFocus()) {
                tree->send(item, QAccessible::Focus);
            }
        },
        Qt::QueuedConnection);
}

void WindowTree::announce(const QString& text) {
    if (text.isEmpty() || form_.runtime().activeForm() != &form_) {
        return;
    }
    if (pending_.size() > 400) {
        // A window the window system keeps from being active would pile up what it cannot say yet.
        pending_.clear();
    }
    if (!pending_.isEmpty()) {
        pending_ += QLatin1Char(' ');
    }
    pending_ += text;
    schedule();
}

void WindowTree::schedule() {
    if (scheduled_) {
        return;
    }
    scheduled_ = true;
    QMetaObject::invokeMethod(
        &form_,
        [form = QPointer<Form>(&form_)] {
            if (auto* tree = form ? static_cast<WindowTree*>(form->accessibleTree()) : nullptr) {
                tree->flush();
            }
        },
        Qt::QueuedConnection);
}

void WindowTree::flush() {
    scheduled_ = false;
    if (pending_.isEmpty()) {
        return;
    }
    if (form_.runtime().activeForm() != &form_) {
        // Another window took over before this one could speak.
        pending_.clear();
        return;
    }
    if (!form_.isActiveWindow()) {
        // Said as soon as the window system makes the window active: before, a screen reader would cut it.
        return;
    }
    notification_->setNotice(pending_);
    pending_.clear();
    send(notification_, QAccessible::NameChanged);
    send(notification_, QAccessible::ObjectShow);
    raiseWindowsNotification(form_, notification_->text(QAccessible::Name));
}

void WindowTree::windowActivated() {
    schedule();
    if (QAccessibleInterface* focused = focusChild()) {
        changed(static_cast<AccessibleItem*>(focused)->control(), QAccessible::Focus);
    }
}

} // namespace ui
