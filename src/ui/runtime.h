#pragma once

#include "fonts.h"
#include "form.h"
#include "form_host.h"
#include "picture.h"
#include "runtime_error.h"

#include <QAccessible>
#include <QPointer>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

namespace ui {

class Runtime;

// The one place that holds a window: created and loaded on first reference, destroyed when unloaded,
// created afresh by a later reference. The game's screens are each one of these.
class FormSlot {
public:
    using Factory = std::function<std::unique_ptr<Form>()>;
    FormSlot(Runtime& runtime, Factory factory);
    ~FormSlot();
    FormSlot(const FormSlot&) = delete;
    FormSlot& operator=(const FormSlot&) = delete;

    // The window, loaded first if it is not (its Load handler runs once per loading).
    Form& get();
    template <typename T> T& as() { return static_cast<T&>(get()); }
    bool isLoaded() const { return form_ != nullptr; }

    // Loads if needed, makes visible, brings to the front and activates: Activate runs after the
    // handler that asked for it, each time the window becomes the active one.
    void show();
    // Destroys the window and its controls; nothing happens if it is not loaded.
    void unload();

private:
    friend class Runtime;
    Runtime& runtime_;
    Factory factory_;
    std::unique_ptr<Form> form_;
};

// The forms runtime of one program. It delivers the program's events one at a time: a handler always
// runs to its end before the next one starts, and what a handler causes (an activation, the destruction
// of a window it still runs in) takes effect right after it. It also holds what every window of the
// program shares: the bundled fonts and the pictures.
//
// The order of events: an outside event (key, click, tick, window switch) runs its handler at once, or
// queues behind the handler that is running. What a handler causes (Activate after a show, a window's
// destruction after its own handler unloads it) runs after the outermost handler returns, in the order
// it was caused. After end(), nothing runs.
class Runtime final : public FormHost {
public:
    Runtime();
    ~Runtime();
    Runtime(const Runtime&) = delete;
    Runtime& operator=(const Runtime&) = delete;

    Fonts& fonts() override { return fonts_; }
    Pictures& pictures() override { return pictures_; }

    // An event from outside (a key, a click, a tick, a window switch): runs now, or after the handler
    // that is running.
    void dispatch(const std::function<void()>& handler) override;
    Form* activeForm() const override { return active_; }
    // Makes `form` the active window, running its Activate, unless it already is.
    void activate(Form& form) override;
    // The window system or the player made `form` active (a click, a window switch).
    void activatedFromOutside(Form& form) override;
    // Stale activations from the window system are told apart from the player's own.
    void expectWindowSystemActivation(Form& form) override { expected_ = &form; }
    // The window system closed `form`: its slot unloads it, and the program ends with its last window.
    void closedByWindowSystem(Form& form) override;

    // Every window is destroyed at once and no further event runs.
    void end() override;
    bool focusMarksShown() const override { return focusMarks_; }
    void showFocusMarks() override;
    // What end() does after destroying the windows: by default, leave the event loop with status 0.
    void setEndHandler(std::function<void()> handler) { endHandler_ = std::move(handler); }

    // Whether an assistive technology listens. While none does, the windows create nothing, send nothing
    // and compute no names for it.
    bool accessibilityActive() const override;
    // Something inside the process that hears every accessibility event the windows send, as a bridge
    // would; while one is set the windows speak as for an assistive technology. Tests use it: Qt's own
    // update handler stays deaf where no bridge is active, as on the offscreen platform. Empty to stop.
    using AccessibilityListener = std::function<void(QAccessibleEvent* event)>;
    void setAccessibilityListener(AccessibilityListener listener) { listener_ = std::move(listener); }
    // To the listener, if any, and to the platform's bridge.
    void sendAccessibilityEvent(QAccessibleEvent& event) const override;

    // The accessibility layer (accessible.h), handed to the runtime by whoever builds the program: the
    // runtime holds it for as long as it lives and asks it for each window's tree, and knows it by this
    // alone. Without one, windows have no tree and screen readers see only the bare widgets.
    class Accessibility {
    public:
        virtual ~Accessibility() = default;
        virtual std::unique_ptr<AccessibleTree> treeFor(Form& form) = 0;
    };
    void setAccessibility(std::unique_ptr<Accessibility> accessibility) {
        accessibility_ = std::move(accessibility);
    }
    std::unique_ptr<AccessibleTree> accessibleTreeFor(Form& form) override;

    // When false, only the program's own show() and the player's clicks activate windows: the window
    // system's activation events are ignored. Tests that do not exercise activation switch it off so
    // that the offscreen platform's late activation events cannot re-run a window's Activate.
    void setFollowWindowSystem(bool follow) { followWindowSystem_ = follow; }

    // Destroys every window: for the end of main().
    void shutdown();

    // A runtime error in a handler stops the program (the default). Tests turn this off to see the error
    // thrown instead.
    void setStopOnError(bool stop) { stopOnError_ = stop; }

private:
    friend class FormSlot;
    class Scope;

    // Something a handler causes, run after it ends.
    void post(std::function<void()> handler);
    bool hasEnded() const { return ended_; }
    // Whether any window is loaded: when the player has closed the last one, the program ends.
    bool anyLoaded() const;

    void run(const std::function<void()>& handler);
    // Shows, raises and activates the window on screen once the handlers it came from have all run.
    void mapWhenSettled(Form& form);
    void retire(std::unique_ptr<Form> form);
    void drain();
    void registerSlot(FormSlot* slot) { slots_.push_back(slot); }
    void forgetSlot(FormSlot* slot);
    void slotUnloaded(Form* form);

    int depth_ = 0;
    bool ended_ = false;
    bool followWindowSystem_ = true;
    bool stopOnError_ = true;
    bool focusMarks_ = false;
    Form* active_ = nullptr;
    Form* expected_ = nullptr;
    std::deque<std::function<void()>> queue_;
    std::vector<std::unique_ptr<Form>> retired_;
    std::vector<QPointer<Form>> toMap_;
    std::vector<FormSlot*> slots_;
    std::function<void()> endHandler_;
    Fonts fonts_;
    Pictures pictures_;
    AccessibilityListener listener_;
    std::unique_ptr<Accessibility> accessibility_;
};

// Ends the process at once: the message goes to stderr and, on a real screen, to a dialog.
[[noreturn]] void stopProgram(const base::RuntimeErrorException& error);

} // namespace ui
