#include "icbs/SecurityDescriptor.h"

#include <sddl.h>

namespace icbs {

fw::LocalMemory SecurityDescriptorFromSddl(const wchar_t* sddl, const wchar_t* library, const char* function) {
    using Converter = decltype(&::ConvertStringSecurityDescriptorToSecurityDescriptorW);
    fw::ModuleHandle module(::LoadLibraryW(library));
    if (!module) return fw::LocalMemory();
    auto convert = reinterpret_cast<Converter>(reinterpret_cast<void*>(::GetProcAddress(module.get(), function)));
    if (!convert) return fw::LocalMemory();
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!convert(sddl, SDDL_REVISION_1, &descriptor, nullptr)) return fw::LocalMemory();
    return fw::LocalMemory(descriptor);
}

std::wstring SddlOf(PSECURITY_DESCRIPTOR descriptor, SECURITY_INFORMATION parts) {
    wchar_t* text = nullptr;
    if (!descriptor ||
        !::ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1, parts, &text, nullptr))
        return std::wstring();
    fw::LocalMemory owner(text);
    return text;
}

bool SameFileRights(DWORD a, DWORD b) {
    GENERIC_MAPPING mapping = {FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE, FILE_ALL_ACCESS};
    ::MapGenericMask(&a, &mapping);
    ::MapGenericMask(&b, &mapping);
    return a == b;
}

}  // namespace icbs
