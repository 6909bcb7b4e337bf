// Walks a launcher's wizard page by page and saves a picture of the frame at
// each page:  shoot.exe [--welcome NAME] LAUNCHER OUTPUT_PREFIX [LAUNCHER ARGUMENTS...]
// Pictures are 24-bit BMP files OUTPUT_PREFIX-<n>-<page>.bmp. With
// --welcome only the first page is taken, as OUTPUT_PREFIX-NAME.bmp, and
// the wizard is cancelled.
#include <windows.h>

#include <cstdio>
#include <string>

#include "framework/Handles.h"
#include "tests/support/WizardDriver.h"

namespace {

bool SaveFrame(HWND frame, const std::wstring& path) {
    RECT rect;
    ::GetWindowRect(frame, &rect);
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    fw::GdiObject bitmap(::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    HGDIOBJ old = ::SelectObject(memory, bitmap.get());
    ::BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) & ~3u);
    DWORD imageSize = stride * static_cast<DWORD>(height);
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info.bmiHeader);
    file.bfSize = file.bfOffBits + imageSize;
    fw::FileHandle out(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!out) return false;
    DWORD written = 0;
    ::WriteFile(out.get(), &file, sizeof(file), &written, nullptr);
    ::WriteFile(out.get(), &info.bmiHeader, sizeof(info.bmiHeader), &written, nullptr);
    ::WriteFile(out.get(), bits, imageSize, &written, nullptr);
    return true;
}

void Settle(HWND frame) {
    ::RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASE);
    ::Sleep(700);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring welcomeOnly;
    if (argc > 2 && std::wstring(argv[1]) == L"--welcome") {
        welcomeOnly = argv[2];
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
    std::wstring prefix = argv[2];
    int shot = 0;
    auto take = [&](const wchar_t* name) {
        Settle(wizard.Frame());
        std::wstring path = prefix + L"-" + std::to_wstring(++shot) + L"-" + name + L".bmp";
        SaveFrame(wizard.Frame(), path);
        wprintf(L"%ls\n", path.c_str());
    };
    if (!welcomeOnly.empty()) {
        Settle(wizard.Frame());
        SaveFrame(wizard.Frame(), prefix + L"-" + welcomeOnly + L".bmp");
        wizard.Press(2);
        ::Sleep(500);
        wizard.Press(1);  // Finish on the finish page, if there is one
        ::WaitForSingleObject(processHandle.get(), 20000);
        return 0;
    }
    take(L"welcome");
    wizard.Press(1);
    take(L"subpackages");
    wizard.Press(1);
    // Unpacking and installing run; the frame comes back with the finish page.
    wizard.WaitForPageText(L"Morvex Test Editor 2024", 120000);
    ::Sleep(1500);
    take(L"finish");
    wizard.Press(1);
    ::WaitForSingleObject(processHandle.get(), 20000);
    return 0;
}
