#include "windows_notification.h"

#include <QString>
#include <QWidget>
#include <windows.h>
// After windows.h, which it needs first.
#include <oleauto.h>

namespace ui {

namespace {

// UI Automation's notification event as Windows 10 1709 declares it in uiautomationcoreapi.h; the MinGW-w64
// headers of Debian 12 have neither the function nor its enumerations.
enum NotificationKind : int {
    NotificationKind_ItemAdded = 0,
    NotificationKind_ItemRemoved = 1,
    NotificationKind_ActionCompleted = 2,
    NotificationKind_ActionAborted = 3,
    NotificationKind_Other = 4,
};
enum NotificationProcessing : int {
    NotificationProcessing_ImportantAll = 0,
    NotificationProcessing_ImportantMostRecent = 1,
    NotificationProcessing_All = 2,
    NotificationProcessing_MostRecent = 3,
    NotificationProcessing_CurrentThenMostRecent = 4,
};

// The provider is an IRawElementProviderSimple; all this file does with it is hand it on and release it.
using RaiseNotificationEvent = HRESULT(WINAPI*)(IUnknown* provider, NotificationKind kind,
                                                NotificationProcessing processing, BSTR text, BSTR activity);
using HostProviderFromHwnd = HRESULT(WINAPI*)(HWND window, IUnknown** provider);

struct UiAutomation {
    RaiseNotificationEvent raise = nullptr;
    HostProviderFromHwnd hostProvider = nullptr;
};

template <typename Function> Function resolve(HMODULE module, const char* name) {
    // Through the one function type that GCC lets any other be cast from.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

const UiAutomation& uiAutomation() {
    static const UiAutomation functions = [] {
        UiAutomation found;
        // Only the system's copy: a DLL of that name in the current folder (a class's shared folder, a USB
        // key) is never loaded. The module stays loaded for the program's life, as Qt's bridge keeps it too.
        if (HMODULE module = LoadLibraryExW(L"UIAutomationCore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
            found.raise = resolve<RaiseNotificationEvent>(module, "UiaRaiseNotificationEvent");
            found.hostProvider = resolve<HostProviderFromHwnd>(module, "UiaHostProviderFromHwnd");
        }
        return found;
    }();
    return functions;
}

} // namespace

void raiseWindowsNotification(QWidget& window, const QString& text) {
    const UiAutomation& uia = uiAutomation();
    if (uia.raise == nullptr || uia.hostProvider == nullptr || text.isEmpty()) {
        return;
    }
    // The event comes from the window itself, as the system sees its frame: Qt keeps its own provider of
    // the window private, and a screen reader speaks a notification from any element of the foreground
    // window.
    IUnknown* provider = nullptr;
    const auto handle = reinterpret_cast<HWND>(window.window()->winId());
    if (FAILED(uia.hostProvider(handle, &provider)) || provider == nullptr) {
        return;
    }
    BSTR spoken = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.utf16()), UINT(text.size()));
    BSTR activity = SysAllocString(L"fr.leskovrant.Kovrant.annonce");
    if (spoken != nullptr && activity != nullptr) {
        // Every announcement in full and in order, as Orca says them: a verdict is never cut by the next.
        uia.raise(provider, NotificationKind_Other, NotificationProcessing_ImportantAll, spoken, activity);
    }
    SysFreeString(activity);
    SysFreeString(spoken);
    provider->Release();
}

} // namespace ui
