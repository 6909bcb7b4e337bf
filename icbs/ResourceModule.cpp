#include "icbs/ResourceModule.h"

#include "icbs/LongPath.h"

namespace {
constexpr DWORD kDataAndImageResources = LOAD_LIBRARY_AS_DATAFILE_EXCLUSIVE | LOAD_LIBRARY_AS_IMAGE_RESOURCE;
}

ResourceModule::ResourceModule() : module_(::GetModuleHandleW(nullptr)) {}

ResourceModule::ResourceModule(HMODULE borrowed) : module_(borrowed ? borrowed : ::GetModuleHandleW(nullptr)) {}

ResourceModule::ResourceModule(const std::wstring& path)
    : owned_(::LoadLibraryExW(icbs::ApiPath(path).c_str(), nullptr, kDataAndImageResources)) {
    if (!owned_) loadError_ = ::GetLastError();
    module_ = owned_.get();
}
