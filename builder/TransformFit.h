// Whether a transform fits its package, as Windows Installer decides when
// it applies a transform at installation: the validation conditions in the
// transform's summary (product code, upgrade code, language, version)
// against the package's facts.
#pragma once

#include <string>

struct PackageFacts;

// The transform's summary: its base product code and version, upgrade code,
// base language and validation flags (the high word of the character count).
struct TransformSummary {
    std::wstring baseProductCode, baseVersion, upgradeCode, baseLanguage;
    unsigned validation = 0;
};
bool ReadTransformSummary(const std::wstring& transform, TransformSummary& summary);
// Parses "{product}version;{product}version;{upgrade}" and "platform;language".
TransformSummary ParseTransformSummary(const std::wstring& revision, const std::wstring& templateText,
                                       unsigned validation);

// Empty when the transform applies to the package; else what does not fit.
std::wstring TransformMisfit(const TransformSummary& summary, const PackageFacts& package);
