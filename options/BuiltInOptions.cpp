#include "options/BuiltInOptions.h"

#include "catalogue/RelatedProduct.h"
#include "icbs/RegistryViews.h"

OptionList CreateBuiltInOptions() {
    OptionList options;
    options.push_back(std::make_unique<SetupOptionAddExamplesToTrustedLocations>());
    options.push_back(std::make_unique<SetupOptionServerForKestrane>());
    options.push_back(std::make_unique<SetupOptionsKestraneServer>());
    options.push_back(std::make_unique<SetupOptionDesktopShortcut>());
    options.push_back(std::make_unique<SetupOptionCustomInstallLocation>());
    options.push_back(std::make_unique<SetupOptionDralynIESupport>());
    options.push_back(std::make_unique<SetupOptionDralynHTMLisXHTML>());
    return options;
}

REGSAM OptionView(const RelatedProduct& record) { return registry_view::ForProduct(record.is64); }
