// Numeric ids of the launcher's own resources: dialog templates, their
// controls and the pictures. Plain #defines so that both the resource
// script and the C++ code can include this header. String-table ids are in
// StringIds.h.
#pragma once

// Dialog templates
#define IDD_WIZARD                  154   // wizard frame (CWizardDialog)
#define IDD_ALREADY_INSTALLED       157   // products installed by another installer
#define IDD_SERVICE_PASSWORD        158   // password of a service logon account
#define IDD_SERVICE_DETAILS         159   // start type and logon account of a service
#define IDD_CONNECTION_DETAILS      160   // a web server's port, and the SSL files

// Pictures
#define IDB_BACKGROUND              132   // wizard background, 499 x 312, 24 bpp: a neutral PNG (type "PNG"), a bitmap per language an installer adds
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

// Service configuration page (controls created in code)
#define IDC_SERVICE_INTRO           1410
#define IDC_SERVICE_TABS            1411
#define IDC_SERVICE_TITLE_FIRST     1412  // section titles: 1412 .. 1414
#define IDC_SERVICE_SUMMARY_FIRST   1415  // section texts (rich edit): 1415 .. 1417
#define IDC_SERVICE_CHANGE_FIRST    1418  // "Change..." buttons: 1418 .. 1420

// Service details dialog (IDD_SERVICE_DETAILS)
#define IDC_DETAILS_NAME_LABEL      1430
#define IDC_DETAILS_NAME            1431  // service name
#define IDC_DETAILS_DISPLAY_LABEL   1432
#define IDC_DETAILS_DISPLAY         1433  // display name
#define IDC_DETAILS_START_LABEL     1434
#define IDC_DETAILS_START           1435  // start type list
#define IDC_DETAILS_LOGON_LABEL     1436
#define IDC_DETAILS_LOCAL_SYSTEM    1437  // account radio buttons: 1437 .. 1440
#define IDC_DETAILS_LOCAL_SERVICE   1438
#define IDC_DETAILS_NETWORK_SERVICE 1439
#define IDC_DETAILS_OTHER_USER      1440
#define IDC_DETAILS_USER_LABEL      1441
#define IDC_DETAILS_USER            1442
#define IDC_DETAILS_PASSWORD_LABEL  1443
#define IDC_DETAILS_PASSWORD        1444

// Connection details dialog (IDD_CONNECTION_DETAILS)
#define IDC_CONNECTION_CAPTION      1450  // the entry's caption
#define IDC_CONNECTION_EXPLANATION  1451
#define IDC_CONNECTION_ENABLED      1452
#define IDC_CONNECTION_PORT_LABEL   1453
#define IDC_CONNECTION_PORT         1454
#define IDC_CONNECTION_CERT_LABEL   1455
#define IDC_CONNECTION_CERT         1456
#define IDC_CONNECTION_CERT_BROWSE  1457
#define IDC_CONNECTION_KEY_LABEL    1458
#define IDC_CONNECTION_KEY          1459
#define IDC_CONNECTION_KEY_BROWSE   1460
