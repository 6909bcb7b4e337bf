// The process-wide option lists: one prototype of every option class, and
// the instances made for the products a Quick Install repeats.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "options/SetupOptionBase.h"

class SetupPackage;

using OptionList = std::vector<std::unique_ptr<SetupOptionBase>>;

OptionList& OptionPrototypes();
OptionList& OptionInstances();

// The record's product id equals one of the option's product ids.
bool AppliesTo(const SetupOptionBase& option, const RelatedProduct& record);
// Creates the prototypes of the built-in options, in their fixed order.
void RegisterOptionPrototypes();
// Replaces the instances with those of the prototypes that apply to each
// record, each reading its record's current setting.
void CreateOptionsForRecords(const std::vector<RelatedProduct*>& records);
// NAME="value" and a blank for every option instance of the records that
// belong to the package.
std::wstring BuildOptionProperties(const SetupPackage& package, const std::vector<RelatedProduct*>& records);
// The record is the predecessor found for this package; for a record found
// for no particular package, one of the products the package stands for.
bool RecordBelongsTo(const RelatedProduct& record, const SetupPackage& package);
