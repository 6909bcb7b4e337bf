// Numeric ids of the launcher's own resources: dialog templates, their
// controls and the pictures. Plain #defines so that both the resource
// script and the C++ code can include this header. String-table ids are in
// StringIds.h.
#pragma once

// Dialog templates
#define IDD_WIZARD                  154   // wizard frame (CWizardDialog)
#define IDD_ALREADY_INSTALLED       157   // products installed by another installer
#define IDD_SERVICE_PASSWORD        158   // password of a service logon account

// Pictures
#define IDB_BACKGROUND              132   // wizard background, 499 x 312, 24 bpp
#define IDI_APP                     133   // application icon (16, 32, 48, 256 px)
#define IDI_QUICK_INSTALL_HINT      1348  // icon beside the Quick Install hint

// The product image is a named icon group, held in language 1033 only:
// "IDB_PRODUCT_IMAGE". It is named, not numbered, so that product builds can
// replace it; the name must not become a macro, or the resource script would
// rename the resource.
#ifndef RC_INVOKED
#define PRODUCT_IMAGE_RESOURCE_NAME L"IDB_PRODUCT_IMAGE"
#define PRODUCT_IMAGE_LANGUAGE      1033
#endif

// Wizard frame (IDD_WIZARD)
#define IDC_WIZARD_NEXT             1     // IDOK
#define IDC_WIZARD_CANCEL           2     // IDCANCEL
#define IDC_WIZARD_BACK             1000
#define IDC_WIZARD_LANGUAGE         1015  // language selector, hidden at start
#define IDC_WIZARD_PAGE_AREA        1036  // white page area, parent of the pages
#define IDC_WIZARD_PAGE             1037  // a page window inside the page area
#define IDC_WIZARD_SEPARATOR        (-1)  // etched line above the buttons

// Controls that pages create in code
#define IDC_PAGE_PROGRESS           1005  // unpack and settings backup pages
#define IDC_PAGE_SUBPACKAGE_FIRST   1007  // sub-packages page: 1007 .. 1011
#define IDC_PAGE_SUBPACKAGE_LAST    1011
#define IDC_BACKUP_SKIP             1155  // settings backup page check boxes
#define IDC_BACKUP_RESET_DATABASE   1158

// Already-installed dialog (IDD_ALREADY_INSTALLED)
#define IDC_ALREADY_REMOVE_SUBS     1138  // check box: remove the sub-packages too
#define IDC_ALREADY_SUBPACKAGES     1139  // list of the sub-packages
#define IDC_ALREADY_MESSAGE         1142

// Service password dialog (IDD_SERVICE_PASSWORD)
#define IDC_PASSWORD_INFO           1316
#define IDC_PASSWORD_SERVICE_LABEL  1317
#define IDC_PASSWORD_SERVICE        1318  // service display name
#define IDC_PASSWORD_ACCOUNT_LABEL  1319
#define IDC_PASSWORD_ACCOUNT        1320  // logon account
#define IDC_PASSWORD_LABEL          1321
#define IDC_PASSWORD_EDIT           1322  // the typed password
