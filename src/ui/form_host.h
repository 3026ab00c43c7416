#pragma once

#include <functional>
#include <memory>

class QAccessibleEvent;

namespace ui {

class AccessibleTree;
class Fonts;
class Form;
class Pictures;

// What a window, its timers and its accessible tree ask of the runtime that delivers their events. The
// runtime (runtime.h) is the one implementation; windows know it by this alone, so that the runtime,
// which holds the windows, sits above them and no header of the two includes the other.
class FormHost {
public:
    // What every window of the program shares.
    virtual Fonts& fonts() = 0;
    virtual Pictures& pictures() = 0;

    // An event from outside (a key, a click, a tick, a window switch): runs now, or after the handler
    // that is running.
    virtual void dispatch(const std::function<void()>& handler) = 0;

    virtual Form* activeForm() const = 0;
    // Makes `form` the active window, running its Activate, unless it already is.
    virtual void activate(Form& form) = 0;
    // The window system or the player made `form` active (a click, a window switch).
    virtual void activatedFromOutside(Form& form) = 0;
    // Stale activations from the window system are told apart from the player's own.
    virtual void expectWindowSystemActivation(Form& form) = 0;
    // The window system closed `form`: it unloads, and the program ends with its last window.
    virtual void closedByWindowSystem(Form& form) = 0;
    // Every window is destroyed at once and no further event runs.
    virtual void end() = 0;

    // Whether the windows draw the mark of the keyboard focus: not for a player who only points, from
    // the first key that moves or uses the focus on, in every window, for the rest of the run.
    virtual bool focusMarksShown() const = 0;
    virtual void showFocusMarks() = 0;

    // Whether an assistive technology listens. While none does, the windows create nothing, send nothing
    // and compute no names for it.
    virtual bool accessibilityActive() const = 0;
    virtual void sendAccessibilityEvent(QAccessibleEvent& event) const = 0;
    // What screen readers see of `form`'s children, from the accessibility layer the runtime was handed;
    // none without one.
    virtual std::unique_ptr<AccessibleTree> accessibleTreeFor(Form& form) = 0;

protected:
    ~FormHost() = default;
};

} // namespace ui
