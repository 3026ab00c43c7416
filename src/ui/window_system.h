#pragma once

#include <functional>
#include <memory>

class QAbstractNativeEventFilter;

namespace ui {

// Watches what happens to the program's windows behind its back, from its construction to its
// destruction. A window that another program destroys is closed as if from its frame: its screen
// unloads, and the program ends with its last window, with status 0. A lost connection to the display
// (its server stopped, the session ended) ends the program at once with a line on stderr and status 1:
// nothing is left to show; `avantDeQuitter` runs first, to save what must not be lost, and must not touch
// a window. Built once the application object exists.
class WindowSystemWatch {
public:
    explicit WindowSystemWatch(std::function<void()> avantDeQuitter = {});
    ~WindowSystemWatch();
    WindowSystemWatch(const WindowSystemWatch&) = delete;
    WindowSystemWatch& operator=(const WindowSystemWatch&) = delete;

private:
    std::unique_ptr<QAbstractNativeEventFilter> destroyedWindows_;
    std::function<void()> avantDeQuitter_;
};

} // namespace ui
