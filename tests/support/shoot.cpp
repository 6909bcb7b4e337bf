// Walks a launcher's wizard page by page and saves a picture of the frame at
// each page:
//   shoot.exe [--contrast] [--welcome|--password|--backup|--service NAME | --server N] LAUNCHER OUTPUT_PREFIX
//             [LAUNCHER ARGUMENTS...]
// Pictures are 24-bit BMP files OUTPUT_PREFIX-<n>-<page>.bmp. With --server
// only the server pages are taken, numbered from N, the service page with
// its three "Change..." dialogs, and the wizard is cancelled after the
// cluster page. With --welcome only
// the first page is taken, as OUTPUT_PREFIX-NAME.bmp, and the wizard is
// cancelled; with --password the password dialog that Next on the service
// page shows; with --backup the settings backup page once it has measured;
// with --service the service page alone. --contrast shows the wizard as
// high contrast shows it (the prefix holds the high-contrast colours; Wine
// cannot turn high contrast on, so the launcher is told it is on, as
// tests/support/RemoteControls.h does).
#include <windows.h>

#include <cstdio>
#include <initializer_list>
#include <string>

#include "framework/Handles.h"
#include "framework/ResourcePicture.h"
#include "tests/support/RemoteControls.h"
#include "tests/support/WizardDriver.h"

namespace {

bool SaveFrame(HWND frame, const std::wstring& path) {
    RECT rect;
    ::GetWindowRect(frame, &rect);
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    void* bits = nullptr;
    fw::GdiObject bitmap = fw::NewDibSection(width, height, bits);
    DIBSECTION section = {};
    ::GetObjectW(bitmap.get(), sizeof(section), &section);
    BITMAPINFOHEADER& header = section.dsBmih;
    HGDIOBJ old = ::SelectObject(memory, bitmap.get());
    ::BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) & ~3u);
    DWORD imageSize = stride * static_cast<DWORD>(height);
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(header);
    file.bfSize = file.bfOffBits + imageSize;
    fw::FileHandle out(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!out) return false;
    DWORD written = 0;
    ::WriteFile(out.get(), &file, sizeof(file), &written, nullptr);
    ::WriteFile(out.get(), &header, sizeof(header), &written, nullptr);
    ::WriteFile(out.get(), bits, imageSize, &written, nullptr);
    return true;
}

// The pages and dialogs are told apart by their controls, in any language.
constexpr int kNext = 1, kCancel = 2, kBackupSkip = 1155, kServiceTabs = 1411, kServiceChange = 1418,
              kClusterStandalone = 1401;

struct ControlSearch {
    int id;
    HWND found;
};
BOOL CALLBACK MatchVisibleControl(HWND child, LPARAM data) {
    auto* search = reinterpret_cast<ControlSearch*>(data);
    if (::GetDlgCtrlID(child) != search->id || !::IsWindowVisible(child)) return TRUE;
    search->found = child;
    return FALSE;
}
HWND VisibleControl(HWND frame, int id) {
    ControlSearch search{id, nullptr};
    ::EnumChildWindows(frame, MatchVisibleControl, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct DialogSearch {
    DWORD pid;
    HWND frame, found;
};
BOOL CALLBACK MatchDialog(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<DialogSearch*>(data);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    wchar_t name[16] = {};
    ::GetClassNameW(window, name, 16);
    if (pid != search->pid || window == search->frame || !::IsWindowVisible(window) || std::wstring(name) != L"#32770")
        return TRUE;
    search->found = window;
    return FALSE;
}
// A dialog of the launcher above its frame.
HWND WaitForDialog(DWORD pid, HWND frame) {
    DialogSearch search{pid, frame, nullptr};
    for (int i = 0; i < 400 && !search.found; ++i) {
        ::EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
        if (!search.found) ::Sleep(50);
    }
    return search.found;
}

// Waits until one of the controls shows; its id, or 0.
int WaitForAnyControl(HWND frame, std::initializer_list<int> ids, DWORD timeoutMs) {
    for (DWORD waited = 0; waited < timeoutMs; waited += 100) {
        for (int id : ids)
            if (VisibleControl(frame, id)) return id;
        ::Sleep(100);
    }
    return 0;
}

void Settle(HWND frame) {
    ::RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASE);
    ::Sleep(700);
}

// Cancel, and Finish on the finish page if there is one.
void EndWizard(const testsupport::WizardDriver& wizard, HANDLE process) {
    wizard.Press(kCancel);
    ::Sleep(500);
    wizard.Press(kNext);
    ::WaitForSingleObject(process, 20000);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring welcomeOnly, passwordOnly, backupOnly, serviceOnly, serverFirst;
    bool contrast = argc > 1 && std::wstring(argv[1]) == L"--contrast";
    if (contrast) {
        --argc;
        ++argv;
    }
    if (argc > 2 && (std::wstring(argv[1]) == L"--welcome" || std::wstring(argv[1]) == L"--password" ||
                     std::wstring(argv[1]) == L"--backup" || std::wstring(argv[1]) == L"--service" ||
                     std::wstring(argv[1]) == L"--server")) {
        std::wstring option = argv[1];
        (option == L"--welcome"    ? welcomeOnly
         : option == L"--password" ? passwordOnly
         : option == L"--backup"   ? backupOnly
         : option == L"--service"  ? serviceOnly
                                   : serverFirst) = argv[2];
        argc -= 2;
        argv += 2;
    }
    if (argc < 3) {
        fwprintf(stderr, L"usage: shoot LAUNCHER OUTPUT_PREFIX [ARGS...]\n");
        return 2;
    }
    std::wstring commandLine = L"\"" + std::wstring(argv[1]) + L"\"";
    for (int i = 3; i < argc; ++i) commandLine += L" " + std::wstring(argv[i]);
    STARTUPINFOW startup = {sizeof(startup)};
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessW(argv[1], commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return 2;
    fw::KernelHandle processHandle(process.hProcess), thread(process.hThread);
    testsupport::WizardDriver wizard(process.dwProcessId, 30000);
    if (!wizard.Found()) return 3;
    if (contrast && !testsupport::TurnHighContrastOn(wizard.Frame())) return 4;
    std::wstring prefix = argv[2];
    int shot = 0;
    auto takeWindow = [&](HWND window, const wchar_t* name) {
        Settle(window);
        std::wstring path = prefix + L"-" + std::to_wstring(++shot) + L"-" + name + L".bmp";
        SaveFrame(window, path);
        wprintf(L"%ls\n", path.c_str());
    };
    auto take = [&](const wchar_t* name) { takeWindow(wizard.Frame(), name); };
    if (!welcomeOnly.empty()) {
        Settle(wizard.Frame());
        SaveFrame(wizard.Frame(), prefix + L"-" + welcomeOnly + L".bmp");
        EndWizard(wizard, processHandle.get());
        return 0;
    }
    if (!passwordOnly.empty() || !backupOnly.empty() || !serviceOnly.empty()) {
        int target = backupOnly.empty() ? kServiceTabs : kBackupSkip;
        for (int i = 0; i < 5 && !VisibleControl(wizard.Frame(), target); ++i) {
            wizard.PressPosted(kNext);
            WaitForAnyControl(wizard.Frame(), {target}, 30000);
        }
        if (!backupOnly.empty()) {
            wizard.WaitForEnabled(kNext, 60000);
            Settle(wizard.Frame());
            SaveFrame(wizard.Frame(), prefix + L"-" + backupOnly + L".bmp");
        } else if (!serviceOnly.empty()) {
            Settle(wizard.Frame());
            SaveFrame(wizard.Frame(), prefix + L"-" + serviceOnly + L".bmp");
        } else {
            wizard.PressPosted(kNext);
            HWND dialog = WaitForDialog(process.dwProcessId, wizard.Frame());
            if (dialog) {
                Settle(dialog);
                SaveFrame(dialog, prefix + L"-" + passwordOnly + L".bmp");
                ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                ::Sleep(500);
            }
        }
        EndWizard(wizard, processHandle.get());
        return 0;
    }
    if (serverFirst.empty()) {
        take(L"welcome");
        wizard.Press(kNext);
        take(L"subpackages");
        wizard.Press(kNext);
        // Unpacking and installing run; the frame comes back with the finish page.
        wizard.WaitForPageText(L"Morvex Test Editor 2024", 120000);
        ::Sleep(1500);
        take(L"finish");
        wizard.Press(kNext);
        ::WaitForSingleObject(processHandle.get(), 20000);
        return 0;
    }
    shot = std::stoi(serverFirst) - 1;
    wizard.PressPosted(kNext);
    // Unpacking runs; then the service page and the cluster page.
    if (WaitForAnyControl(wizard.Frame(), {kServiceTabs}, 60000)) {
        take(L"service");
        const wchar_t* dialogs[] = {L"connection", L"ssl-connection", L"service-details"};
        for (int i = 0; i < 3; ++i) {
            HWND change = VisibleControl(wizard.Frame(), kServiceChange + i);
            if (!change) continue;
            ::PostMessageW(change, BM_CLICK, 0, 0);
            HWND dialog = WaitForDialog(process.dwProcessId, wizard.Frame());
            if (!dialog) continue;
            takeWindow(dialog, dialogs[i]);
            ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
            for (int wait = 0; wait < 100 && ::IsWindow(dialog); ++wait) ::Sleep(50);
        }
        wizard.PressPosted(kNext);
    }
    if (WaitForAnyControl(wizard.Frame(), {kClusterStandalone}, 20000)) take(L"cluster");
    EndWizard(wizard, processHandle.get());
    return 0;
}
