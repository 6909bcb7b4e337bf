#include "framework/CommonControls.h"

#include <windows.h>
#include <commctrl.h>

namespace fw {

bool InitCommonControls() {
    static const bool ready = [] {
        // A bare name lets the side-by-side redirection pick version 6; the
        // search itself is limited to the system folder.
        HMODULE module = ::LoadLibraryExW(L"comctl32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (!module) return false;
        using InitFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
        auto init = reinterpret_cast<InitFn>(reinterpret_cast<void*>(::GetProcAddress(module, "InitCommonControlsEx")));
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
        return init && init(&controls);
    }();
    return ready;
}

}  // namespace fw
