// Setup options: each knows one choice an installed product made (a folder,
// a shortcut, a file association), how to read it back from the machine,
// and which Windows Installer property expresses it. A Quick Install
// upgrade passes them on, so the new installation keeps the old choices.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

struct RelatedProduct;

class SetupOptionBase {
public:
    SetupOptionBase(std::wstring name, std::vector<std::wstring> productIds)
        : name(std::move(name)), productIds(std::move(productIds)) {}
    virtual ~SetupOptionBase() = default;

    // A new instance of the same class in its default state.
    virtual std::unique_ptr<SetupOptionBase> Create() const = 0;
    // Reads the value from the installed product the record describes.
    virtual void ReadCurrentSetting(const RelatedProduct& record) = 0;
    // The property value; none emits no property.
    virtual std::optional<std::wstring> GetValue() const = 0;
    virtual bool IsGroup() const { return false; }
    virtual std::wstring GetPropertyName(const RelatedProduct& record) const { return name; }

    std::wstring name;
    std::vector<std::wstring> productIds;
    const RelatedProduct* record = nullptr;  // not owned; null in a prototype
};

// An option whose property name depends on the product.
class SetupMultiNameOptionBase : public SetupOptionBase {
public:
    explicit SetupMultiNameOptionBase(std::vector<std::wstring> productIds)
        : SetupOptionBase(std::wstring(), std::move(productIds)) {}
    std::wstring GetPropertyName(const RelatedProduct&) const override { return std::wstring(); }
};

// An option that stands for several properties.
class SetupOptionGroupBase : public SetupOptionBase {
public:
    using SetupOptionBase::SetupOptionBase;
    bool IsGroup() const override { return true; }
    std::optional<std::wstring> GetValue() const override { return std::nullopt; }
    virtual std::vector<std::wstring> GetPropertyNames() const = 0;
    virtual std::optional<std::wstring> GetValue(const std::wstring& propertyName) const = 0;
};
