// Copying a key's values and subkeys into another key. The source tree is
// read completely before anything is written, so that a target lying inside
// the source (a copy of a key into one of its own subkeys) gets the tree as
// it was, once, instead of copying its own copies without end.
#include "icbs/RegistryKey.h"

#include <vector>

namespace {

struct NamedValue {
    std::wstring name;
    RegistryValue value;
};

struct KeySnapshot {
    std::wstring name;
    std::vector<NamedValue> values;
    std::vector<KeySnapshot> subkeys;
};

// Reads every value of the key; false when one could not be read.
bool ReadValues(const RegistryKey& key, std::vector<NamedValue>& values) {
    bool complete = true;
    for (const std::wstring& name : key.ValueNames()) {
        std::optional<RegistryValue> value = key.GetRaw(name);
        if (value) values.push_back({name, std::move(*value)});
        else complete = false;
    }
    return complete;
}

bool ReadTree(const RegistryKey& key, KeySnapshot& snapshot) {
    bool complete = ReadValues(key, snapshot.values);
    for (std::unique_ptr<RegistryKey>& subkey : key.SubKeys(true)) {
        KeySnapshot child;
        child.name = subkey->Name();
        if (!subkey->IsOpen() || !ReadTree(*subkey, child)) complete = false;
        snapshot.subkeys.push_back(std::move(child));
    }
    return complete;
}

bool WriteTree(const KeySnapshot& snapshot, RegistryKey& target) {
    bool complete = true;
    for (const NamedValue& entry : snapshot.values) {
        const RegistryValue& value = entry.value;
        if (!target.SetRaw(entry.name, value.type, value.data.data(), static_cast<DWORD>(value.data.size())))
            complete = false;
    }
    for (const KeySnapshot& child : snapshot.subkeys) {
        RegistryKey targetChild(target, child.name, false, true, 0);
        if (!targetChild.IsOpen() || !WriteTree(child, targetChild)) complete = false;
    }
    return complete;
}

}  // namespace

bool RegistryKey::CopyTo(RegistryKey& target) const {
    if (!IsOpen() || !target.IsOpen()) return false;
    KeySnapshot snapshot;
    bool complete = ReadTree(*this, snapshot);
    return WriteTree(snapshot, target) && complete;
}
