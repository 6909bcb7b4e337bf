#include "options/SetupOptions.h"

#include <algorithm>

#include "catalogue/ProductTable.h"
#include "catalogue/RelatedProduct.h"
#include "catalogue/SetupPackage.h"
#include "engine/PropertyItems.h"
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
        if (!record) continue;
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
    // A record found for one package feeds that package alone, also when
    // another package stands for the same product.
    if (record.forPackage) return record.forPackage == &package;
    std::vector<std::wstring> ids = ExpandProductId(package.productId);
    return std::find(ids.begin(), ids.end(), record.ProductId()) != ids.end();
}

namespace {
// NAME="value" with the quotes inside the value doubled: the values come
// from the registry and from folder names, and must never add properties
// of their own. A property without a name would make Windows Installer
// refuse the whole command line; it is left out.
std::wstring Property(const std::wstring& name, const std::wstring& value) {
    return name.empty() ? std::wstring() : items::Item(name, value);
}
}  // namespace

std::wstring BuildOptionProperties(const SetupPackage& package, const std::vector<RelatedProduct*>& records) {
    std::wstring text;
    for (const RelatedProduct* record : records) {
        if (!record || !RecordBelongsTo(*record, package)) continue;
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
