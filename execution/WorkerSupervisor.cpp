#include "execution/WorkerSupervisor.h"

#include "engine/CancelFlag.h"
#include "engine/Log.h"

namespace {
bool Reached(DWORD deadline) { return static_cast<LONG>(::GetTickCount() - deadline) >= 0; }

// Dispatches what is queued; false when the quit message came.
bool PumpMessages(HANDLE worker, const WorkerSupervision& supervision) {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            WriteLog(3, L"ZEL (c): Received 'quit' message\r\n");
            // The worker uses the page: it is stopped, and the page returns
            // only once it has ended.
            CancelFlag() = true;
            ::WaitForSingleObject(worker, INFINITE);
            WriteLog(3, L"ZEL (c): Worker-thread stopped\r\n");
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
            CancelFlag() = true;
            continue;
        }
        if (supervision.filter && supervision.filter(msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return true;
}
}  // namespace

bool SuperviseWorker(HANDLE worker, const WorkerSupervision& supervision) {
    DWORD nextRefresh = ::GetTickCount() + supervision.refreshMs;
    while (true) {
        if (!PumpMessages(worker, supervision)) return false;
        if (::MsgWaitForMultipleObjects(1, &worker, FALSE, 50, QS_ALLINPUT) != WAIT_OBJECT_0) {
            if (supervision.refresh && Reached(nextRefresh)) {
                supervision.refresh();
                nextRefresh = ::GetTickCount() + supervision.refreshMs;
            }
            continue;
        }
        WriteLog(3, L"ZEL (c): Worker-thread stopped\r\n");
        if (supervision.refresh) supervision.refresh();
        break;
    }
    // The finished state stays a moment on screen, still answering.
    DWORD lingerUntil = ::GetTickCount() + supervision.lingerMs;
    while (!Reached(lingerUntil)) {
        if (!PumpMessages(worker, supervision)) return false;
        ::Sleep(50);
    }
    return true;
}
