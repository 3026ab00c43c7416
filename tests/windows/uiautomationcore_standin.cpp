// A stand-in for Windows' UIAutomationCore.dll, for the Windows build's tests under Wine (whose own copy
// lacks UiaRaiseNotificationEvent): each notification event is appended to the file that
// KOVRANT_UIA_RECORD names, one UTF-8 line per call:
//
//   <kind> TAB <processing> TAB <provider> TAB <text> TAB <activity>
//
// <provider> is the title of the window whose host provider this library handed out, "null" for none and
// "foreign" for a provider it did not make. The functions that Qt's own bridge resolves answer as a
// system with a client listening would, so that the bridge runs as it does under a screen reader.
#include <string>
#include <windows.h>

namespace {

// The provider of a window's frame, as UiaHostProviderFromHwnd gives it: only its IUnknown side is used.
class HostProvider final : public IUnknown {
public:
    explicit HostProvider(HWND window) : window_(window) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        *object = IsEqualIID(id, IID_IUnknown) ? this : nullptr;
        if (*object == nullptr) {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override;
    HWND window() const { return window_; }
    static HostProvider* from(IUnknown* provider);

private:
    HWND window_;
    LONG references_ = 1;
};

// The providers handed out and not yet released, to tell one of ours from any other pointer. A program
// that keeps them all would find no slot left, and its later providers recorded as foreign.
CRITICAL_SECTION lock;
HostProvider* live[16];

ULONG STDMETHODCALLTYPE HostProvider::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) {
        EnterCriticalSection(&lock);
        for (HostProvider*& slot : live) {
            if (slot == this) {
                slot = nullptr;
            }
        }
        LeaveCriticalSection(&lock);
        delete this;
    }
    return ULONG(left);
}

HostProvider* HostProvider::from(IUnknown* provider) {
    for (HostProvider* known : live) {
        if (known != nullptr && static_cast<IUnknown*>(known) == provider) {
            return known;
        }
    }
    return nullptr;
}

std::string utf8(const wchar_t* text, int length) {
    if (text == nullptr || length <= 0) {
        return {};
    }
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(std::size_t(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), size, nullptr, nullptr);
    return out;
}

void record(const std::string& line) {
    wchar_t path[MAX_PATH];
    if (GetEnvironmentVariableW(L"KOVRANT_UIA_RECORD", path, MAX_PATH) == 0) {
        return;
    }
    const HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD written = 0;
    WriteFile(file, line.data(), DWORD(line.size()), &written, nullptr);
    CloseHandle(file);
}

} // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        InitializeCriticalSection(&lock);
    }
    return TRUE;
}

__declspec(dllexport) HRESULT WINAPI UiaHostProviderFromHwnd(HWND window, IUnknown** provider) {
    if (provider == nullptr || window == nullptr) {
        return E_INVALIDARG;
    }
    auto* made = new HostProvider(window);
    EnterCriticalSection(&lock);
    for (HostProvider*& slot : live) {
        if (slot == nullptr) {
            slot = made;
            break;
        }
    }
    LeaveCriticalSection(&lock);
    *provider = made;
    return S_OK;
}

__declspec(dllexport) HRESULT WINAPI
    UiaRaiseNotificationEvent(IUnknown* provider, int kind, int processing, BSTR text, BSTR activity) {
    std::string from = "null";
    if (provider != nullptr) {
        EnterCriticalSection(&lock);
        HostProvider* ours = HostProvider::from(provider);
        LeaveCriticalSection(&lock);
        from = "foreign";
        if (ours != nullptr) {
            wchar_t title[256];
            from = utf8(title, GetWindowTextW(ours->window(), title, 256));
        }
    }
    record(std::to_string(kind) + '\t' + std::to_string(processing) + '\t' + from + '\t' +
           utf8(text, text != nullptr ? int(SysStringLen(text)) : 0) + '\t' +
           utf8(activity, activity != nullptr ? int(SysStringLen(activity)) : 0) + '\n');
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
