// The option framework: prototypes make instances for the records they apply
// to, and the instances of each record become property text only for the
// package that record belongs to.
#include <gtest/gtest.h>

#include "catalogue/ProductTable.h"
#include "catalogue/RelatedProduct.h"
#include "catalogue/SetupPackage.h"
#include "options/SetupOptions.h"

namespace {

// Reads "its setting" from the record's version: on for even minor versions.
class EvenMinorOption : public SetupOptionBase {
public:
    EvenMinorOption() : SetupOptionBase(L"EVENMINOR", {L"DY::E", L"DY::P"}) {}
    std::unique_ptr<SetupOptionBase> Create() const override { return std::make_unique<EvenMinorOption>(); }
    void ReadCurrentSetting(const RelatedProduct& r) override { on_ = r.version.minor % 2 == 0; }
    std::optional<std::wstring> GetValue() const override { return on_ ? L"Yes" : L""; }
    static int reads;

private:
    bool on_ = true;
};

// Emits nothing unless its record is 64-bit.
class Only64Option : public SetupMultiNameOptionBase {
public:
    Only64Option() : SetupMultiNameOptionBase({L"DY::E"}) {}
    std::unique_ptr<SetupOptionBase> Create() const override { return std::make_unique<Only64Option>(); }
    void ReadCurrentSetting(const RelatedProduct& r) override { is64_ = r.is64; }
    std::optional<std::wstring> GetValue() const override {
        return is64_ ? std::optional<std::wstring>(L"C:\\x64") : std::nullopt;
    }
    std::wstring GetPropertyName(const RelatedProduct& r) const override { return r.RegistryName() + L"INSTALLDIR"; }

private:
    bool is64_ = false;
};

class PairGroup : public SetupOptionGroupBase {
public:
    PairGroup() : SetupOptionGroupBase(L"Pair", {L"KS::Z"}) {}
    std::unique_ptr<SetupOptionBase> Create() const override { return std::make_unique<PairGroup>(); }
    void ReadCurrentSetting(const RelatedProduct&) override {}
    std::vector<std::wstring> GetPropertyNames() const override { return {L"FIRST", L"SECOND", L"THIRD"}; }
    std::optional<std::wstring> GetValue(const std::wstring& name) const override {
        if (name == L"FIRST") return L"1";
        if (name == L"SECOND") return L"";
        return std::nullopt;
    }
};

RelatedProduct Record(const wchar_t* id, int minor, bool is64 = false) {
    RelatedProduct record;
    record.row = FindProduct(id);
    record.version = {2024, minor, 0, 0};
    record.is64 = is64;
    return record;
}

SetupPackage Package(const wchar_t* productId) {
    PackageRecord fields;
    fields.productId = productId;
    return SetupPackage(fields, DetectionContext{});
}

class OptionFramework : public testing::Test {
protected:
    void SetUp() override {
        OptionPrototypes().clear();
        OptionPrototypes().push_back(std::make_unique<EvenMinorOption>());
        OptionPrototypes().push_back(std::make_unique<Only64Option>());
        OptionPrototypes().push_back(std::make_unique<PairGroup>());
    }
    void TearDown() override {
        OptionInstances().clear();
        OptionPrototypes().clear();
    }
};

}  // namespace

TEST_F(OptionFramework, InstancesForTheRecordsTheyApplyTo) {
    RelatedProduct editor = Record(L"DY::E", 2, true), kestrane = Record(L"KS::Z", 0), other = Record(L"QL::E", 0);
    CreateOptionsForRecords({&editor, &kestrane, &other});
    ASSERT_EQ(OptionInstances().size(), 3u);
    EXPECT_EQ(OptionInstances()[0]->record, &editor);
    EXPECT_EQ(OptionInstances()[2]->record, &kestrane);
    EXPECT_EQ(BuildOptionProperties(Package(L"DY::E"), {&editor, &kestrane, &other}),
              L"EVENMINOR=\"Yes\" DralynINSTALLDIR=\"C:\\x64\" ");
    EXPECT_EQ(BuildOptionProperties(Package(L"KS::Z"), {&editor, &kestrane, &other}), L"FIRST=\"1\" SECOND=\"\" ");
    EXPECT_EQ(BuildOptionProperties(Package(L"QL::E"), {&editor, &kestrane, &other}), L"");
}

TEST_F(OptionFramework, EmptyValueIsEmittedNoneIsNot) {
    RelatedProduct odd = Record(L"DY::E", 1, false);
    CreateOptionsForRecords({&odd});
    EXPECT_EQ(BuildOptionProperties(Package(L"DY::E"), {&odd}), L"EVENMINOR=\"\" ");
}

TEST_F(OptionFramework, SecondCallReplacesTheInstances) {
    RelatedProduct first = Record(L"DY::E", 2), second = Record(L"DY::P", 4);
    CreateOptionsForRecords({&first});
    CreateOptionsForRecords({&second});
    ASSERT_EQ(OptionInstances().size(), 1u);
    EXPECT_EQ(OptionInstances()[0]->record, &second);
    EXPECT_EQ(BuildOptionProperties(Package(L"DY::E"), {&first}), L"");
}

TEST_F(OptionFramework, BundlePackageTakesEachComponentsRecords) {
    RelatedProduct editor = Record(L"DY::E", 2), kestrane = Record(L"KS::Z", 0);
    CreateOptionsForRecords({&editor, &kestrane});
    EXPECT_EQ(BuildOptionProperties(Package(L"TW::E"), {&editor, &kestrane}),
              L"EVENMINOR=\"Yes\" FIRST=\"1\" SECOND=\"\" ");
}

namespace {
// A value read from the machine, as it is.
class PlantedOption : public SetupMultiNameOptionBase {
public:
    PlantedOption(std::wstring name, std::wstring value)
        : SetupMultiNameOptionBase({L"DY::E"}), name_(std::move(name)), value_(std::move(value)) {}
    std::unique_ptr<SetupOptionBase> Create() const override { return std::make_unique<PlantedOption>(name_, value_); }
    void ReadCurrentSetting(const RelatedProduct&) override {}
    std::optional<std::wstring> GetValue() const override { return value_; }
    std::wstring GetPropertyName(const RelatedProduct&) const override { return name_; }

private:
    std::wstring name_, value_;
};
}  // namespace

// Values from outside stay one value, a nameless option and a missing record
// add nothing, and the rest of the text is kept.
TEST_F(OptionFramework, OutsideValuesCannotAddProperties) {
    OptionPrototypes().clear();
    OptionPrototypes().push_back(std::make_unique<PlantedOption>(L"DRALYNINSTALLDIR", L"x\" INSTALLDIR=\"C:\\Windows"));
    OptionPrototypes().push_back(std::make_unique<PlantedOption>(L"", L"lost"));
    OptionPrototypes().push_back(std::make_unique<PlantedOption>(L"PLAIN", L"C:\\Program Files\\A"));
    RelatedProduct editor = Record(L"DY::E", 0);
    CreateOptionsForRecords({nullptr, &editor, nullptr});
    ASSERT_EQ(OptionInstances().size(), 3u);
    EXPECT_EQ(BuildOptionProperties(Package(L"DY::E"), {nullptr, &editor, nullptr}),
              L"DRALYNINSTALLDIR=\"x\"\" INSTALLDIR=\"\"C:\\Windows\" PLAIN=\"C:\\Program Files\\A\" ");
}
