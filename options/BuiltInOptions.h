// The option classes the launcher knows. Each carries one choice an
// installed product made over to its Quick Install upgrade; they are
// registered in this order, which is also the order of their properties.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "options/SetupOptions.h"

// 1. The examples folder among the trusted locations of the office add-in.
class SetupOptionAddExamplesToTrustedLocations : public SetupOptionBase {
public:
    SetupOptionAddExamplesToTrustedLocations();
    std::unique_ptr<SetupOptionBase> Create() const override;
    void ReadCurrentSetting(const RelatedProduct& record) override;
    std::optional<std::wstring> GetValue() const override;
    bool on = true;
};

// 2. The server the schema-management application talks to by default.
class SetupOptionServerForKestrane : public SetupOptionBase {
public:
    SetupOptionServerForKestrane();
    std::unique_ptr<SetupOptionBase> Create() const override;
    void ReadCurrentSetting(const RelatedProduct& record) override;
    std::optional<std::wstring> GetValue() const override;
    std::wstring serverName;
};

// 3. The schema-management server's service: whether it runs stand-alone
// (no service) and whether it was running.
class SetupOptionsKestraneServer : public SetupOptionGroupBase {
public:
    SetupOptionsKestraneServer();
    std::unique_ptr<SetupOptionBase> Create() const override;
    void ReadCurrentSetting(const RelatedProduct& record) override;
    std::vector<std::wstring> GetPropertyNames() const override;
    std::optional<std::wstring> GetValue(const std::wstring& propertyName) const override;
    using SetupOptionGroupBase::GetValue;
    std::wstring optionsText;
    bool startService = false;
};

// 4. A desktop shortcut on the common desktop. The value is shared by all
// instances: one shortcut found makes every desktop product ask for one.
class SetupOptionDesktopShortcut : public SetupOptionBase {
public:
    SetupOptionDesktopShortcut();
    std::unique_ptr<SetupOptionBase> Create() const override;
    void ReadCurrentSetting(const RelatedProduct& record) override;
    std::optional<std::wstring> GetValue() const override;
    static std::wstring& SharedValue();
};
// The shortcut file name a product's installation puts on the desktop.
std::wstring DesktopShortcutName(const RelatedProduct& record);

// 5. An install folder other than the product's default one.
class SetupOptionCustomInstallLocation : public SetupMultiNameOptionBase {
public:
    SetupOptionCustomInstallLocation();
    std::unique_ptr<SetupOptionBase> Create() const override;
    void ReadCurrentSetting(const RelatedProduct& record) override;
    std::optional<std::wstring> GetValue() const override { return location; }
    std::wstring GetPropertyName(const RelatedProduct& record) const override;
    std::optional<std::wstring> location;
};
// The folder the installation recorded when it is not the default one and
// exists; none otherwise.
std::optional<std::wstring> FindCustomInstallLocation(const RelatedProduct& record);

// 6. The XML editor's Internet Explorer menu extension.
class SetupOptionDralynIESupport : public SetupOptionBase {
public:
    SetupOptionDralynIESupport();
    std::unique_ptr<SetupOptionBase> Create() const override;
    void ReadCurrentSetting(const RelatedProduct& record) override;
    std::optional<std::wstring> GetValue() const override;
    bool on = true;
};

// 7. The XML editor opens HTML files as XHTML.
class SetupOptionDralynHTMLisXHTML : public SetupOptionBase {
public:
    SetupOptionDralynHTMLisXHTML();
    std::unique_ptr<SetupOptionBase> Create() const override;
    void ReadCurrentSetting(const RelatedProduct& record) override;
    std::optional<std::wstring> GetValue() const override;
    bool on = false;
};

// One instance of each class above, in their order.
OptionList CreateBuiltInOptions();

// The registry view of a record's own values: 64-bit for a 64-bit
// product, else 32-bit.
REGSAM OptionView(const RelatedProduct& record);
