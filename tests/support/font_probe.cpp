// font_probe.dll: loaded into another process by the tests to tell which
// font one of that process's controls draws with. A control's font handle
// means nothing outside its process, so the question is asked inside it.
#include <windows.h>

#include "tests/support/FontProbe.h"

extern "C" __declspec(dllexport) DWORD WINAPI ProbeControlFont(LPVOID parameter) {
    auto* probe = static_cast<testsupport::FontProbe*>(parameter);
    // A timeout rather than a wait: the test gives up on this thread after a
    // while and frees the memory it reads.
    DWORD_PTR answer = 0;
    ::SendMessageTimeoutW(probe->control, WM_GETFONT, 0, 0, SMTO_NORMAL, 5000, &answer);
    auto font = reinterpret_cast<HFONT>(answer);
    probe->found = font && ::GetObjectW(font, sizeof(LOGFONTW), &probe->font) == sizeof(LOGFONTW);
    return probe->found ? 1 : 0;
}
