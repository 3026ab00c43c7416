#include "runtime.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPointer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <utility>

namespace ui {

namespace {

bool hasRealScreen() {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        return false;
    }
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

} // namespace

void stopProgram(const base::RuntimeErrorException& error) {
    const QString text = QString::fromStdString(error.what());
    std::fprintf(stderr, "Les Kovrant : %s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
    if (hasRealScreen()) {
        QMessageBox::critical(nullptr, QStringLiteral("Les Kovrant"), text);
    }
    // Not exit(): destructors would tear down windows while a handler is still on the stack.
    std::_Exit(EXIT_FAILURE);
}

// Marks a handler as running; the outermost one, on leaving, runs what its handlers caused.
class Runtime::Scope {
public:
    explicit Scope(Runtime& rt) : rt_(rt), exceptions_(std::uncaught_exceptions()) { ++rt_.depth_; }
    ~Scope() {
        if (--rt_.depth_ != 0) {
            return;
        }
        if (std::uncaught_exceptions() > exceptions_) {
            // A test's runtime-error handler is unwinding: drop what was pending rather than run it.
            rt_.queue_.clear();
            rt_.retired_.clear();
            return;
        }
        rt_.drain();
    }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

private:
    Runtime& rt_;
    int exceptions_;
};

FormSlot::FormSlot(Runtime& runtime, Factory factory) : runtime_(runtime), factory_(std::move(factory)) {
    runtime_.registerSlot(this);
}

FormSlot::~FormSlot() {
    runtime_.forgetSlot(this);
    if (form_ && QCoreApplication::instance() == nullptr) {
        // Too late to destroy a window once the application object is gone; the process is ending.
        (void)form_.release();
    }
}

Form& FormSlot::get() {
    if (!form_) {
        Runtime::Scope scope(runtime_);
        form_ = factory_();
        form_->attach(this);
        form_->load();
    }
    return *form_;
}

void FormSlot::show() {
    Runtime& rt = runtime_;
    if (rt.hasEnded()) {
        return;
    }
    Runtime::Scope scope(rt);
    Form& form = get();
    rt.mapWhenSettled(form);
    rt.activate(form);
}

void FormSlot::unload() {
    if (!form_) {
        return;
    }
    Runtime& rt = runtime_;
    Runtime::Scope scope(rt);
    form_->detach();
    form_->hide();
    rt.slotUnloaded(form_.get());
    rt.retire(std::move(form_));
}

Runtime::Runtime() = default;

std::unique_ptr<AccessibleTree> Runtime::accessibleTreeFor(Form& form) {
    return accessibility_ ? accessibility_->treeFor(form) : nullptr;
}

bool Runtime::accessibilityActive() const {
    return listener_ || QAccessible::isActive();
}

void Runtime::sendAccessibilityEvent(QAccessibleEvent& event) const {
    if (listener_) {
        listener_(&event);
    }
    QAccessible::updateAccessibility(&event);
}

Runtime::~Runtime() {
    shutdown();
}

void Runtime::run(const std::function<void()>& handler) {
    if (!stopOnError_) {
        handler();
        return;
    }
    try {
        handler();
    } catch (const base::RuntimeErrorException& error) {
        stopProgram(error);
    }
}

void Runtime::dispatch(const std::function<void()>& handler) {
    if (ended_) {
        return;
    }
    if (depth_ > 0) {
        queue_.push_back(handler);
        return;
    }
    Scope scope(*this);
    run(handler);
}

void Runtime::post(std::function<void()> handler) {
    if (ended_) {
        return;
    }
    queue_.push_back(std::move(handler));
    if (depth_ == 0) {
        Scope scope(*this);
    }
}

void Runtime::activate(Form& form) {
    if (active_ == &form) {
        return;
    }
    active_ = &form;
    QPointer<Form> target(&form);
    post([target] {
        if (target && target->isLoaded()) {
            target->activate();
        }
    });
}

void Runtime::activatedFromOutside(Form& form) {
    if (!followWindowSystem_ || !form.isLoaded()) {
        return;
    }
    if (&form == active_) {
        expected_ = nullptr;
        return;
    }
    if (expected_ != nullptr) {
        // The window system is still catching up with a window the program activated itself.
        expected_ = nullptr;
        return;
    }
    dispatch([this, target = QPointer<Form>(&form)] {
        if (target && target->isLoaded()) {
            activate(*target);
        }
    });
}

void Runtime::closedByWindowSystem(Form& form) {
    const auto holder = std::find_if(slots_.begin(), slots_.end(),
                                     [&form](const FormSlot* slot) { return slot->form_.get() == &form; });
    if (holder == slots_.end()) {
        return;
    }
    dispatch([this, slot = *holder] {
        slot->unload();
        if (!anyLoaded()) {
            end();
        }
    });
}

void Runtime::end() {
    if (ended_) {
        return;
    }
    Scope scope(*this);
    for (FormSlot* slot : slots_) {
        slot->unload();
    }
    ended_ = true;
    queue_.clear();
    active_ = nullptr;
    if (endHandler_) {
        endHandler_();
    } else {
        QCoreApplication::exit(0);
    }
}

void Runtime::showFocusMarks() {
    if (focusMarks_) {
        return;
    }
    focusMarks_ = true;
    for (FormSlot* slot : slots_) {
        if (slot->form_) {
            slot->form_->update();
        }
    }
}

void Runtime::shutdown() {
    {
        Scope scope(*this);
        for (FormSlot* slot : slots_) {
            slot->unload();
        }
        queue_.clear();
    }
    retired_.clear();
    queue_.clear();
    active_ = nullptr;
    expected_ = nullptr;
    ended_ = false;
}

void Runtime::retire(std::unique_ptr<Form> form) {
    retired_.push_back(std::move(form));
}

void Runtime::drain() {
    ++depth_;
    while ((!queue_.empty() || !toMap_.empty()) && !ended_) {
        if (!queue_.empty()) {
            std::function<void()> next = std::move(queue_.front());
            queue_.pop_front();
            run(next);
            continue;
        }
        // Only now that every handler has run: a window unloaded by a later handler of the same chain
        // (the welcome screen, gone as soon as the presentation is up) never reaches the screen.
        for (const QPointer<Form>& form : std::exchange(toMap_, {})) {
            if (form && form->isLoaded()) {
                form->openWindow();
            }
        }
    }
    queue_.clear();
    toMap_.clear();
    // Windows unloaded while their own handler ran are destroyed only now that nothing runs.
    retired_.clear();
    --depth_;
}

void Runtime::mapWhenSettled(Form& form) {
    if (std::find(toMap_.begin(), toMap_.end(), &form) == toMap_.end()) {
        toMap_.emplace_back(&form);
    }
}

void Runtime::forgetSlot(FormSlot* slot) {
    std::erase(slots_, slot);
}

void Runtime::slotUnloaded(Form* form) {
    if (active_ == form) {
        active_ = nullptr;
    }
    if (expected_ == form) {
        expected_ = nullptr;
    }
}

bool Runtime::anyLoaded() const {
    for (const FormSlot* slot : slots_) {
        if (slot->isLoaded()) {
            return true;
        }
    }
    return false;
}

} // namespace ui
