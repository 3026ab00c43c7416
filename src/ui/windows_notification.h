#pragma once

class QString;
class QWidget;

namespace ui {

// Says `text` at once to Windows screen readers, through UI Automation's notification event: Qt 6.4's
// bridge forwards neither the notification role nor an object being shown, so NVDA and the Narrator would
// otherwise hear none of a window's announcements. Where the system lacks the event (Windows 10 before
// 1709), and on every other system, it does nothing.
#if defined(_WIN32)
void raiseWindowsNotification(QWidget& window, const QString& text);
#else
inline void raiseWindowsNotification(QWidget& /*window*/, const QString& /*text*/) {}
#endif

} // namespace ui
