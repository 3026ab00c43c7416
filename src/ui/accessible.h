#pragma once

#include <QAccessible>
#include <QRectF>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

// What screen readers see of a window: the window itself, each of its controls, the things it paints
// that a screen would otherwise keep to itself, and a voice for what happens without the focus moving.
// Everything here goes through Qt's accessibility, so one implementation serves AT-SPI, UI Automation
// and NSAccessibility alike.
namespace ui {

class Control;
class Form;
class AccessibleItem;

class Runtime;

// Makes every Form answer accessibility queries through the interfaces below, and tells a runtime's
// active window when a screen reader starts listening. Done by each runtime for as long as it lives;
// Qt keeps one factory however often it is installed.
std::unique_ptr<QAccessible::ActivationObserver> installAccessibility(Runtime& runtime);

// Something the window paints rather than shows as a control (a line of text, a picture), known to
// screen readers by a role, a name and the place where it is painted. It is invisible until shown.
class PaintedItem {
public:
    PaintedItem(Form& form, QAccessible::Role role, std::function<QString()> name);
    PaintedItem(const PaintedItem&) = delete;
    PaintedItem& operator=(const PaintedItem&) = delete;

    QAccessible::Role role() const { return role_; }
    QString name() const { return name_ ? name_() : QString(); }
    bool isVisible() const { return visible_; }
    // In the window's drawing units.
    const QRectF& rect() const { return rect_; }

    // Painted there now, its name perhaps changed too.
    void show(const QRectF& units);
    // Painted over, or about to be.
    void hide();
    // Its name says something new (the place and the painting unchanged).
    void renamed();

    // A control shown over the item and part of it, as the legend of a picture: screen readers find it
    // inside the item rather than beside it. Declared with the item, before anything asks.
    void holds(Control& control) { held_.push_back(&control); }
    const std::vector<Control*>& held() const { return held_; }

private:
    Form& form_;
    QAccessible::Role role_;
    std::function<QString()> name_;
    std::vector<Control*> held_;
    QRectF rect_;
    bool visible_ = false;
};

// The accessible children of one window and its announcer. It exists only once an assistive technology
// has asked about the window or the window has had something to say to one.
class AccessibleTree {
public:
    explicit AccessibleTree(Form& form);
    ~AccessibleTree();
    AccessibleTree(const AccessibleTree&) = delete;
    AccessibleTree& operator=(const AccessibleTree&) = delete;

    int childCount() const { return int(items_.size()); }
    QAccessibleInterface* child(int index) const;
    int indexOf(const QAccessibleInterface* child) const;
    // The interface of a control or a painted item of the window.
    QAccessibleInterface* interfaceOf(const void* source) const;
    QAccessibleInterface* focusChild() const;

    // A painted item declared after the tree was made.
    void add(PaintedItem& item);
    // `source` (a control or a painted item) changed in a way that `what` tells.
    void changed(const void* source, QAccessible::Event what);
    // Says `text` through the window's notification once the window is the active one; what one handler
    // says is said at once, in order. A window that is not the program's active one says nothing.
    void announce(const QString& text);
    // The window system made the window active: what waited is said, the focus told.
    void windowActivated();

private:
    void schedule();
    void flush();
    void send(AccessibleItem* item, QAccessible::Event what);

    Form& form_;
    std::vector<AccessibleItem*> items_; // the window's children
    std::vector<AccessibleItem*> all_;   // and theirs; registered with QAccessible, deleted by us
    AccessibleItem* notification_ = nullptr;
    QString pending_;
    bool scheduled_ = false;
};

} // namespace ui
