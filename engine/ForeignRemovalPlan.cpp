#include "engine/ForeignRemovalPlan.h"

#include <algorithm>
#include <array>
#include <cwchar>
#include <cwctype>

#include "engine/Outcome.h"

namespace {
constexpr DWORD kUiLevelNone = 2;           // INSTALLUILEVEL_NONE
constexpr DWORD kUiLevelProgressOnly = 64;  // INSTALLUILEVEL_PROGRESSONLY

bool AsksUser(const ForeignFacts& facts) { return facts.fullUi && facts.quickInstallEmpty; }
}  // namespace

bool AnyForeign(const ForeignFacts& facts) {
    return std::find(facts.fromOtherInstaller.begin(), facts.fromOtherInstaller.end(), true) !=
           facts.fromOtherInstaller.end();
}

ForeignQuestion QuestionFor(const ForeignFacts& facts) {
    if (!AnyForeign(facts) || !AsksUser(facts)) return ForeignQuestion::None;
    return facts.fromOtherInstaller.size() >= 2 ? ForeignQuestion::Dialog : ForeignQuestion::MessageBox;
}

ForeignRemovalPlan PlanForeignRemoval(const ForeignFacts& facts, const ForeignAnswer& answer) {
    ForeignRemovalPlan plan;
    plan.uiLevel = AsksUser(facts) ? kUiLevelProgressOnly : kUiLevelNone;
    bool removeMain = true, removeSubPackages = true;
    switch (QuestionFor(facts)) {
        case ForeignQuestion::None:
            break;
        case ForeignQuestion::MessageBox:
            plan.proceed = answer.ok;
            break;
        case ForeignQuestion::Dialog:
            plan.proceed = answer.ok;
            removeMain = facts.fromOtherInstaller.front();
            removeSubPackages = answer.removeSubPackages;
            break;
    }
    if (!plan.proceed) return plan;
    for (size_t i = facts.fromOtherInstaller.size(); i-- > 0;) {
        if (!facts.fromOtherInstaller[i]) continue;
        if (i == 0 ? removeMain : removeSubPackages) plan.remove.push_back(i);
    }
    return plan;
}

bool ForeignRemovalSucceeded(UINT result) { return outcome::IsSuccess(result); }

namespace {
// The dotted numbers of a version, missing ones 0; reading stops at the
// first piece that is not a number.
std::array<unsigned long, 4> VersionFields(const std::wstring& text) {
    std::array<unsigned long, 4> fields{};
    size_t at = 0;
    for (unsigned long& field : fields) {
        if (at >= text.size() || !iswdigit(text[at])) break;
        wchar_t* end = nullptr;
        field = wcstoul(text.c_str() + at, &end, 10);
        at = static_cast<size_t>(end - text.c_str());
        if (at >= text.size() || text[at] != L'.') break;
        ++at;
    }
    return fields;
}
}  // namespace

bool IsNewerVersion(const std::wstring& installed, const std::wstring& package) {
    return VersionFields(installed) > VersionFields(package);
}

bool DowngradeAllowed(ForeignQuestion question, bool allowedOnCommandLine) {
    return question != ForeignQuestion::None || allowedOnCommandLine;
}
