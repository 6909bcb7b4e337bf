// A program file whose resources are read: another file loaded as data and
// image resources only (nothing of it runs), or the running program itself.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Handles.h"

class ResourceModule {
public:
    // The running program's own module (not freed).
    ResourceModule();
    // A module that someone else owns (not freed); null means the running
    // program.
    explicit ResourceModule(HMODULE borrowed);
    // The file loaded with LOAD_LIBRARY_AS_DATAFILE_EXCLUSIVE |
    // LOAD_LIBRARY_AS_IMAGE_RESOURCE and freed by the destructor; empty when
    // it cannot be loaded (the reason stays in LoadError).
    explicit ResourceModule(const std::wstring& path);

    ResourceModule(ResourceModule&&) = default;
    ResourceModule& operator=(ResourceModule&&) = default;

    HMODULE Handle() const { return module_; }
    explicit operator bool() const { return module_ != nullptr; }
    DWORD LoadError() const { return loadError_; }

private:
    fw::ModuleHandle owned_;
    HMODULE module_ = nullptr;
    DWORD loadError_ = ERROR_SUCCESS;
};
