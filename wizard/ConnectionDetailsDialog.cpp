#include "wizard/ConnectionDetailsDialog.h"

#include <commdlg.h>

#include <vector>

#include "catalogue/LanguageTable.h"
#include "engine/Log.h"
#include "framework/SystemApi.h"
#include "framework/Window.h"
#include "resources/ResourceIds.h"
#include "server/ServicePrefill.h"

using namespace service_config;

namespace {
constexpr int kFileRowControls[] = {IDC_CONNECTION_CERT_LABEL, IDC_CONNECTION_CERT, IDC_CONNECTION_CERT_BROWSE,
                                    IDC_CONNECTION_KEY_LABEL, IDC_CONNECTION_KEY, IDC_CONNECTION_KEY_BROWSE};
}  // namespace

CConnectionDetailsDlg::CConnectionDetailsDlg(const LanguageTable& texts)
    : fw::CDialog(IDD_CONNECTION_DETAILS, texts.Current().languageId), texts_(texts) {}

INT_PTR CConnectionDetailsDlg::Edit(HWND parent, Mode mode, ServiceSettings& entry, ServiceSettings& linked) {
    mode_ = mode;
    entry_ = &entry;
    linked_ = &linked;
    SetTemplateLanguage(texts_.Current().languageId);
    INT_PTR answer = DoModal(parent);
    entry_ = linked_ = nullptr;
    return answer;
}

void CConnectionDetailsDlg::SetTexts() {
    auto text = [this](UINT id) { return texts_.LoadLocalizedString(id); };
    bool ssl = mode_ == Mode::Ssl;
    SetWindowText(text(ssl ? 1178 : 1177));
    SetDlgItemText(IDC_CONNECTION_CAPTION, entry_->caption);
    SetDlgItemText(IDC_CONNECTION_EXPLANATION, text(ssl ? 1205 : 1204));
    SetDlgItemText(IDC_CONNECTION_ENABLED, text(1280));
    SetDlgItemText(IDC_CONNECTION_PORT_LABEL, text(1281));
    SetDlgItemText(IDC_CONNECTION_CERT_LABEL, text(1282));
    SetDlgItemText(IDC_CONNECTION_CERT_BROWSE, text(1283));
    SetDlgItemText(IDC_CONNECTION_KEY_LABEL, text(1284));
    SetDlgItemText(IDC_CONNECTION_KEY_BROWSE, text(1285));
    SetDlgItemText(IDCANCEL, text(57));
}

void CConnectionDetailsDlg::HideFileRows() {
    // The buttons take the place of the file rows, and the dialog shrinks.
    RECT first = {0, 0, 0, 0}, buttons = {0, 0, 0, 0};
    ::GetWindowRect(GetDlgItem(IDC_CONNECTION_CERT), &first);
    ::GetWindowRect(GetDlgItem(IDOK), &buttons);
    int shift = buttons.top - first.top;
    for (int id : kFileRowControls) ::ShowWindow(GetDlgItem(id), SW_HIDE);
    for (int id : {IDOK, IDCANCEL}) {
        HWND button = GetDlgItem(id);
        RECT rect;
        ::GetWindowRect(button, &rect);
        ::MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&rect), 2);
        ::SetWindowPos(button, nullptr, rect.left, rect.top - shift, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    RECT window;
    ::GetWindowRect(hwnd_, &window);
    ::SetWindowPos(hwnd_, nullptr, 0, 0, window.right - window.left, window.bottom - window.top - shift,
                   SWP_NOMOVE | SWP_NOZORDER);
}

BOOL CConnectionDetailsDlg::OnInitDialog() {
    if (!entry_) return TRUE;
    SetTexts();
    bool ssl = mode_ == Mode::Ssl;
    bool enabled = ssl ? entry_->sslEnabled : entry_->webEnabled;
    ::CheckDlgButton(hwnd_, IDC_CONNECTION_ENABLED, enabled ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemText(IDC_CONNECTION_PORT, std::to_wstring(ssl ? entry_->sslPort : entry_->webPort));
    if (ssl) {
        EnableDlgItem(IDC_CONNECTION_ENABLED, entry_->sslOffered);
        SetDlgItemText(IDC_CONNECTION_CERT, linked_->certificatePath);
        SetDlgItemText(IDC_CONNECTION_KEY, linked_->privateKeyPath);
    } else {
        HideFileRows();
    }
    return TRUE;
}

void CConnectionDetailsDlg::Browse(int editId) {
    // The file dialog's library (and the printing libraries it brings) is
    // loaded when it is first wanted, not with every start of the launcher.
    using OpenFileName = BOOL(WINAPI*)(OPENFILENAMEW*);
    static const auto openFileName = [] {
        HMODULE library = fw::LoadSystemLibrary(L"comdlg32.dll");
        FARPROC found = library ? ::GetProcAddress(library, "GetOpenFileNameW") : nullptr;
        if (!found)
            WriteLog(2, L"ZEL (c): %s of comdlg32.dll failed (%u)\r\n",
                     library ? L"GetProcAddress(GetOpenFileNameW)" : L"LoadLibrary", ::GetLastError());
        return reinterpret_cast<OpenFileName>(reinterpret_cast<void*>(found));
    }();
    if (!openFileName) return;
    std::vector<wchar_t> path(MAX_PATH * 4, L'\0');
    std::wstring current = fw::WindowText(GetDlgItem(editId));
    if (current.size() < path.size()) current.copy(path.data(), current.size());
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = hwnd_;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (openFileName(&dialog)) SetDlgItemText(editId, path.data());
}

bool CConnectionDetailsDlg::OnCommand(WORD id, WORD code, HWND) {
    if (code != BN_CLICKED) return false;
    if (id == IDC_CONNECTION_CERT_BROWSE) Browse(IDC_CONNECTION_CERT);
    else if (id == IDC_CONNECTION_KEY_BROWSE) Browse(IDC_CONNECTION_KEY);
    else return false;
    return true;
}

void CConnectionDetailsDlg::OnOK() {
    bool enabled = ::IsDlgButtonChecked(hwnd_, IDC_CONNECTION_ENABLED) == BST_CHECKED;
    int port = NumberOf(fw::WindowText(GetDlgItem(IDC_CONNECTION_PORT)));
    if (mode_ == Mode::Unencrypted) {
        entry_->webEnabled = enabled;
        entry_->webPort = port;
    } else {
        entry_->sslEnabled = enabled;
        entry_->sslPort = port;
        std::wstring certificate = fw::WindowText(GetDlgItem(IDC_CONNECTION_CERT));
        std::wstring key = fw::WindowText(GetDlgItem(IDC_CONNECTION_KEY));
        if (certificate != linked_->certificatePath) {
            linked_->certificatePath = certificate;
            linked_->certificateSet = true;
        }
        if (key != linked_->privateKeyPath) {
            linked_->privateKeyPath = key;
            linked_->privateKeySet = true;
        }
    }
    EndDialog(IDOK);
}
