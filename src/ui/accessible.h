#pragma once

#include "form.h"
#include "runtime.h"

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

class AccessibleItem;

// The accessibility layer, for a runtime to be handed (Runtime::setAccessibility): every Form answers
// accessibility queries through the interfaces below, and the runtime's active window is told when a
// screen reader starts listening. Qt keeps one factory however often it is installed.
std::unique_ptr<Runtime::Accessibility> makeAccessibility(Runtime& runtime);

// The accessible children of one window and its announcer. It exists only once an assistive technology
// has asked about the window or the window has had something to say to one.
class WindowTree final : public AccessibleTree {
public:
    explicit WindowTree(Form& form);
    ~WindowTree() override;
    WindowTree(const WindowTree&) = delete;
    WindowTree& operator=(const WindowTree&) = delete;

    int childCount() const { return int(items_.size()); }
    QAccessibleInterface* child(int index) const;
    int indexOf(const QAccessibleInterface* child) const;
    // The interface of a control or a painted item of the window.
    QAccessibleInterface* interfaceOf(const void* source) const override;
    QAccessibleInterface* focusChild() const;

    // A painted item declared after the tree was made.
    void add(PaintedItem& item) override;
    // `source` (a control or a painted item) changed in a way that `what` tells.
    void changed(const void* source, QAccessible::Event what) override;
    // Says `text` through the window's notification once the window is the active one; what one handler
    // says is said at once, in order. A window that is not the program's active one says nothing.
    void announce(const QString& text) override;
    // The window system made the window active: what waited is said, the focus told.
    void windowActivated() override;

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
