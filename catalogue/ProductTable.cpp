#include "catalogue/ProductTable.h"

namespace {

constexpr auto Y = Numbering::YearBased;
constexpr auto P = Numbering::Plain;

// id, product id, display name, registry name, numbering,
// upgrade codes (each from the major version given on), desktop, service,
// always replaced
const std::vector<ProductRow> kRows = {
    // Group A: desktop applications whose upgrades may run as Quick Install.
    {0, L"DY::E", L"Morvex Dralyn Enterprise Edition", L"Dralyn", Y,
     {{2018, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B8C01}"}, {2023, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B9C01}"}}, true, false, false},
    {1, L"DY::P", L"Morvex Dralyn Professional Edition", L"Dralyn", Y,
     {{2018, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B8C02}"}, {2023, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B9C02}"}}, true, false, false},
    {2, L"DY::S", L"Morvex Dralyn Standard Edition", L"Dralyn", Y,
     {{2018, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B8C03}"}, {2023, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B9C03}"}}, true, false, false},
    {3, L"KS::Z", L"Morvex Kestrane", nullptr, Y,
     {{2018, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B8C04}"}, {2023, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B9C04}"}}, true, false, false},
    {4, L"QL::E", L"Morvex Quillet", nullptr, Y,
     {{2018, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B8C05}"}, {2023, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B9C05}"}}, true, false, false},
    {5, L"SD::Z", L"Morvex Sollenvey Designer", nullptr, P,
     {{3, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B8C06}"}, {5, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B9C06}"}}, true, false, false},
    {6, L"KS::S", L"Morvex Kestrane Server", nullptr, Y,
     {{2018, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B8C07}"}, {2023, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B9C07}"}}, true, true, false},
    {7, L"VM::E", L"Morvex Vellum Enterprise Edition", L"Vellum", Y,
     {{2018, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B8C08}"}, {2023, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B9C08}"}}, true, false, false},
    {8, L"VM::P", L"Morvex Vellum Professional Edition", L"Vellum", Y,
     {{2018, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B8C09}"}, {2023, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B9C09}"}}, true, false, false},
    {9, L"OR::E", L"Morvex Orrin Mapper Enterprise Edition", L"OrrinMapper", Y,
     {{2018, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B8C0A}"}, {2023, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B9C0A}"}}, true, false, false},
    {10, L"OR::P", L"Morvex Orrin Mapper Professional Edition", L"OrrinMapper", Y,
     {{2018, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B8C0B}"}, {2023, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B9C0B}"}}, true, false, false},
    {11, L"OR::S", L"Morvex Orrin Mapper Standard Edition", L"OrrinMapper", Y,
     {{2018, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B8C0C}"}, {2023, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B9C0C}"}}, true, false, false},
    {12, L"LD::E", L"Morvex Lodestead Enterprise Edition", L"Lodestead", Y,
     {{2018, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B8C0D}"}, {2023, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B9C0D}"}}, true, false, false},
    // Group B: servers whose upgrades may run as Quick Install.
    {13, L"BC::S", L"Morvex Brimcart Server", nullptr, Y,
     {{2018, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B8C0E}"}, {2023, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B9C0E}"}}, false, true, false},
    {14, L"BC::A", L"Morvex Brimcart Server Advanced Edition", L"BrimcartServer", Y,
     {{2018, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B8C0F}"}, {2023, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B9C0F}"}}, false, true, false},
    {15, L"HB::S", L"Morvex Harrowby Server", nullptr, Y,
     {{2018, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B8C10}"}, {2023, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B9C10}"}}, false, true, false},
    {16, L"HX::S", L"Morvex Harrowby+XBRL Server", L"HarrowbyXBRLServer", Y,
     {{2018, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B8C11}"}, {2023, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B9C11}"}}, false, true, false},
    {17, L"SY::S", L"Morvex Sollenvey Server", nullptr, P,
     {{3, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B8C12}"}, {5, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B9C12}"}}, false, true, true},
    {18, L"PK::S", L"Morvex Pemmick Server", nullptr, Y,
     {{2018, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B8C13}"}, {2023, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B9C13}"}}, false, true, false},
    {19, L"BW::S", L"Morvex Brimcart Web Server", nullptr, Y,
     {{2018, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B8C14}"}, {2023, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B9C14}"}}, false, true, false},
    // Further desktop applications and servers outside the Quick Install groups.
    {20, L"LD::P", L"Morvex Lodestead Professional Edition", L"Lodestead", Y,
     {{2018, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B8C15}"}, {2023, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B9C15}"}}, true, false, false},
    {21, L"CN::E", L"Morvex Cindral Enterprise Edition", L"Cindral", Y,
     {{2018, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B8C16}"}, {2023, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B9C16}"}}, true, false, false},
    {22, L"CN::P", L"Morvex Cindral Professional Edition", L"Cindral", Y,
     {{2018, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B8C17}"}, {2023, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B9C17}"}}, true, false, false},
    {23, L"TQ::E", L"Morvex Thorquill Enterprise Edition", L"Thorquill", Y,
     {{2018, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B8C18}"}, {2023, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B9C18}"}}, true, false, false},
    {24, L"TQ::P", L"Morvex Thorquill Professional Edition", L"Thorquill", Y,
     {{2018, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B8C19}"}, {2023, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B9C19}"}}, true, false, false},
    {25, L"WX::E", L"Morvex Wexford Diff Enterprise Edition", L"WexfordDiff", Y,
     {{2018, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B8C1A}"}, {2023, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B9C1A}"}}, true, false, false},
    {26, L"WX::P", L"Morvex Wexford Diff Professional Edition", L"WexfordDiff", Y,
     {{2018, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B8C1B}"}, {2023, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B9C1B}"}}, true, false, false},
    {27, L"KS::R", L"Morvex Kestrane Report Server", nullptr, Y,
     {{2018, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B8C1C}"}, {2023, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B9C1C}"}}, false, true, false},
    {28, L"HB::W", L"Morvex Harrowby Workgroup Server", nullptr, Y,
     {{2018, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B8C1D}"}, {2023, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B9C1D}"}}, false, true, false},
    {29, L"PK::L", L"Morvex Pemmick Lite Server", nullptr, Y,
     {{2018, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B8C1E}"}, {2023, L"{3F1C2A70-5B4D-4E21-9C3A-1D0E6A7B9C1E}"}}, false, false, false},
};

struct BundleRow {
    const wchar_t* productId;
    std::vector<std::wstring> components;
};

// The suite in its two editions: seven and five components.
const std::vector<BundleRow> kBundles = {
    {L"TW::E", {L"DY::E", L"KS::Z", L"QL::E", L"SD::Z", L"OR::E", L"CN::E", L"TQ::E"}},
    {L"TW::P", {L"DY::P", L"KS::Z", L"OR::P", L"CN::P", L"TQ::P"}},
};

std::vector<std::wstring> IdsWhere(bool (*keep)(const ProductRow&)) {
    std::vector<std::wstring> ids;
    for (const ProductRow& row : kRows)
        if (keep(row)) ids.push_back(row.productId);
    return ids;
}

}  // namespace

const std::vector<ProductRow>& ProductTable() { return kRows; }

const ProductRow* FindProduct(const std::wstring& productId) {
    for (const ProductRow& row : kRows)
        if (productId == row.productId) return &row;
    return nullptr;
}

const wchar_t* UpgradeCodeFor(const ProductRow& row, int major) {
    const wchar_t* code = nullptr;
    for (const VersionUpgradeCode& entry : row.upgradeCodes)
        if (entry.fromMajor <= major) code = entry.code;
    return code;
}

std::wstring RegistryNameOf(const ProductRow& row) {
    if (row.registryName) return row.registryName;
    std::wstring name = row.displayName;
    const std::wstring maker = L"Morvex ";
    if (name.compare(0, maker.size(), maker) == 0) name.erase(0, maker.size());
    std::erase(name, L' ');
    return name;
}

bool IsBundle(const std::wstring& productId) {
    for (const BundleRow& bundle : kBundles)
        if (productId == bundle.productId) return true;
    return false;
}

std::vector<std::wstring> BundleIds() {
    std::vector<std::wstring> ids;
    for (const BundleRow& bundle : kBundles) ids.push_back(bundle.productId);
    return ids;
}

std::vector<std::wstring> ExpandProductId(const std::wstring& productId) {
    if (productId.empty()) return {};
    for (const BundleRow& bundle : kBundles)
        if (productId == bundle.productId) return bundle.components;
    return {productId};
}

bool InGroupA(const ProductRow& row) { return (row.id >= 0 && row.id <= 5) || row.id == 7 || row.id == 9; }
bool InGroupB(const ProductRow& row) { return row.id >= 13 && row.id <= 19 && row.id != 17; }

const std::vector<std::wstring>& DesktopProductIds() {
    static const std::vector<std::wstring> ids = IdsWhere([](const ProductRow& row) { return row.desktop; });
    return ids;
}

const std::vector<std::wstring>& AllProductIds() {
    static const std::vector<std::wstring> ids = [] {
        std::vector<std::wstring> all = DesktopProductIds();
        for (const std::wstring& id : IdsWhere([](const ProductRow& row) { return !row.desktop; })) all.push_back(id);
        return all;
    }();
    return ids;
}
