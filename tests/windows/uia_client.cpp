// Does what a screen reader does first with a program's window: asks it for its UI Automation provider
// (WM_GETOBJECT with UiaRootObjectId), which turns on the program's accessibility.
//
//   uia_client.exe TITLE   status 0 once the window with that title answered, 1 if there is none
#include <windows.h>

int wmain(int argc, wchar_t* argv[]) {
    if (argc != 2) {
        return 2;
    }
    const HWND window = FindWindowW(nullptr, argv[1]);
    if (window == nullptr) {
        return 1;
    }
    constexpr LPARAM uiaRootObjectId = -25;
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, WM_GETOBJECT, 0, uiaRootObjectId, SMTO_ABORTIFHUNG, 10000, &result) !=
                   0
               ? 0
               : 1;
}
