#include "engine/Detector.h"

#include "framework/Text.h"

bool DefaultSelection(const DetectionContext& context, bool isMain, bool isInstalled) {
    if (context.extractAll) return true;
    if (context.repair || context.uninstall) return isInstalled;
    if (isMain) return true;
    // A fresh installation offers the sub-packages not yet present, a
    // maintenance run those already present.
    return context.mainInstalled ? isInstalled : !isInstalled;
}

PackageState Detector::Detect(const PackageRecord& record, const DetectionContext& context) const {
    PackageState state;
    // No record of an empty product code is ever installed.
    state.isInstalled = !record.productCode.empty() && machine_.IsProductRegistered(record.productCode);
    if (state.isInstalled) {
        std::optional<std::wstring> registered = machine_.RegisteredPackageCode(record.productCode);
        state.fromOtherInstaller = registered && !fw::EqualsNoCase(*registered, record.packageCode);
    }
    state.selected = DefaultSelection(context, record.isMain, state.isInstalled);
    return state;
}
