#include "options/SetupOptions.h"

#include <algorithm>

#include "catalogue/ProductTable.h"
#include "catalogue/RelatedProduct.h"
#include "catalogue/SetupPackage.h"
#include "options/BuiltInOptions.h"

OptionList& OptionPrototypes() {
    static OptionList prototypes;
    return prototypes;
}

OptionList& OptionInstances() {
    static OptionList instances;
    return instances;
}

bool AppliesTo(const SetupOptionBase& option, const RelatedProduct& record) {
    std::wstring id = record.ProductId();
    return std::find(option.productIds.begin(), option.productIds.end(), id) != option.productIds.end();
}

void RegisterOptionPrototypes() {
    for (auto& prototype : CreateBuiltInOptions()) OptionPrototypes().push_back(std::move(prototype));
}

void CreateOptionsForRecords(const std::vector<RelatedProduct*>& records) {
    if (OptionPrototypes().empty()) RegisterOptionPrototypes();
    OptionList& instances = OptionInstances();
    instances.clear();
    for (RelatedProduct* record : records) {
        for (const auto& prototype : OptionPrototypes()) {
            if (!AppliesTo(*prototype, *record)) continue;
            std::unique_ptr<SetupOptionBase> instance = prototype->Create();
            instance->record = record;
            instance->ReadCurrentSetting(*record);
            instances.push_back(std::move(instance));
        }
    }
}

bool RecordBelongsTo(const RelatedProduct& record, const SetupPackage& package) {
    std::vector<std::wstring> ids = ExpandProductId(package.productId);
    return std::find(ids.begin(), ids.end(), record.ProductId()) != ids.end();
}

namespace {
std::wstring Property(const std::wstring& name, const std::wstring& value) { return name + L"=\"" + value + L"\" "; }
}  // namespace

std::wstring BuildOptionProperties(const SetupPackage& package, const std::vector<RelatedProduct*>& records) {
    std::wstring text;
    for (const RelatedProduct* record : records) {
        if (!RecordBelongsTo(*record, package)) continue;
        for (const auto& instance : OptionInstances()) {
            if (instance->record != record) continue;
            if (instance->IsGroup()) {
                auto& group = static_cast<const SetupOptionGroupBase&>(*instance);
                for (const std::wstring& name : group.GetPropertyNames())
                    if (auto value = group.GetValue(name)) text += Property(name, *value);
            } else if (auto value = instance->GetValue()) {
                text += Property(instance->GetPropertyName(*record), *value);
            }
        }
    }
    return text;
}
