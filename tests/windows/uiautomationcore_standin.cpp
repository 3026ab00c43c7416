// A stand-in for Windows' UIAutomationCore.dll, for the Windows build's tests under Wine (whose own copy
// lacks UiaRaiseNotificationEvent): each notification event is appended to the file that
// KOVRANT_UIA_RECORD names, one UTF-8 line per call:
//
//   <kind> TAB <processing> TAB <title of the provider's window, or "null"> TAB <text> TAB <activity>
//
// The functions that Qt's own bridge resolves answer as a system with a client listening would, so that
// the bridge runs as it does under a screen reader.
#include <string>
#include <windows.h>

namespace {

// The provider of a window's frame, as UiaHostProviderFromHwnd gives it: only its IUnknown side is used.
class HostProvider final : public IUnknown {
public:
    explicit HostProvider(HWND window) : window(window) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) {
            delete this;
        }
        return ULONG(left);
    }
    const HWND window;

private:
    LONG references_ = 1;
};

std::string utf8(const wchar_t* text, int length) {
    const int size =
        length > 0 ? WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr) : 0;
    std::string out(std::size_t(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), size, nullptr, nullptr);
    return out;
}

std::string utf8(BSTR text) {
    return text != nullptr ? utf8(text, int(SysStringLen(text))) : std::string();
}

} // namespace

extern "C" {

__declspec(dllexport) HRESULT WINAPI UiaHostProviderFromHwnd(HWND window, IUnknown** provider) {
    *provider = window != nullptr ? new HostProvider(window) : nullptr;
    return window != nullptr ? S_OK : E_INVALIDARG;
}

__declspec(dllexport) HRESULT WINAPI
    UiaRaiseNotificationEvent(IUnknown* provider, int kind, int processing, BSTR text, BSTR activity) {
    std::string from = "null";
    if (provider != nullptr) {
        wchar_t title[256];
        from = utf8(title, GetWindowTextW(static_cast<HostProvider*>(provider)->window, title, 256));
    }
    const std::string line = std::to_string(kind) + '\t' + std::to_string(processing) + '\t' + from + '\t' +
                             utf8(text) + '\t' + utf8(activity) + '\n';
    wchar_t path[MAX_PATH];
    if (GetEnvironmentVariableW(L"KOVRANT_UIA_RECORD", path, MAX_PATH) != 0) {
        const HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        WriteFile(file, line.data(), DWORD(line.size()), &written, nullptr);
        CloseHandle(file);
    }
    return S_OK;
}

// What Qt's bridge needs to be ready.
__declspec(dllexport) LRESULT WINAPI UiaReturnRawElementProvider(HWND, WPARAM, LPARAM, IUnknown*) {
    return 0;
}
__declspec(dllexport) HRESULT WINAPI UiaRaiseAutomationEvent(IUnknown*, int) {
    return S_OK;
}
__declspec(dllexport) HRESULT WINAPI
    UiaRaiseAutomationPropertyChangedEvent(IUnknown*, int, VARIANT, VARIANT) {
    return S_OK;
}
__declspec(dllexport) BOOL WINAPI UiaClientsAreListening() {
    return TRUE;
}

} // extern "C"
