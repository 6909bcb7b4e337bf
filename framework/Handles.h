// Move-only owners of Windows handles, one per handle kind. Each owner closes
// what it holds in its destructor; nothing is closed by hand on each path.
#pragma once

#include <windows.h>
#include <utility>

namespace fw {

// Generic owner: Traits gives the empty value and the close function.
template <class Traits>
class UniqueHandle {
public:
    using Type = typename Traits::Type;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Type value) noexcept : value_(value) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : value_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~UniqueHandle() { reset(); }

    Type get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return !Traits::IsEmpty(value_); }

    Type release() noexcept { return std::exchange(value_, Traits::Empty()); }
    void reset(Type value = Traits::Empty()) noexcept {
        Type old = std::exchange(value_, value);
        if (!Traits::IsEmpty(old)) Traits::Close(old);
    }
    // For out-parameters: closes the current value and hands out its address.
    Type* put() noexcept {
        reset();
        return &value_;
    }

private:
    Type value_ = Traits::Empty();
};

// Kernel handles whose empty value is null (threads, processes, events,
// mutexes, pipes from CreatePipe).
struct KernelHandleTraits {
    using Type = HANDLE;
    static Type Empty() noexcept { return nullptr; }
    static bool IsEmpty(Type h) noexcept { return h == nullptr || h == INVALID_HANDLE_VALUE; }
    static void Close(Type h) noexcept { ::CloseHandle(h); }
};
// Kernel handles whose empty value is INVALID_HANDLE_VALUE (CreateFile).
struct FileHandleTraits {
    using Type = HANDLE;
    static Type Empty() noexcept { return INVALID_HANDLE_VALUE; }
    static bool IsEmpty(Type h) noexcept { return h == nullptr || h == INVALID_HANDLE_VALUE; }
    static void Close(Type h) noexcept { ::CloseHandle(h); }
};
struct FindHandleTraits {
    using Type = HANDLE;
    static Type Empty() noexcept { return INVALID_HANDLE_VALUE; }
    static bool IsEmpty(Type h) noexcept { return h == nullptr || h == INVALID_HANDLE_VALUE; }
    static void Close(Type h) noexcept { ::FindClose(h); }
};
struct RegKeyTraits {
    using Type = HKEY;
    static Type Empty() noexcept { return nullptr; }
    static bool IsEmpty(Type h) noexcept { return h == nullptr; }
    static void Close(Type h) noexcept {
        // Predefined root keys are never closed.
        if (reinterpret_cast<ULONG_PTR>(h) < 0x80000000UL || reinterpret_cast<ULONG_PTR>(h) > 0x800000FFUL)
            ::RegCloseKey(h);
    }
};
struct ServiceHandleTraits {
    using Type = SC_HANDLE;
    static Type Empty() noexcept { return nullptr; }
    static bool IsEmpty(Type h) noexcept { return h == nullptr; }
    static void Close(Type h) noexcept { ::CloseServiceHandle(h); }
};
struct ModuleTraits {
    using Type = HMODULE;
    static Type Empty() noexcept { return nullptr; }
    static bool IsEmpty(Type h) noexcept { return h == nullptr; }
    static void Close(Type h) noexcept { ::FreeLibrary(h); }
};
struct GdiObjectTraits {
    using Type = HGDIOBJ;
    static Type Empty() noexcept { return nullptr; }
    static bool IsEmpty(Type h) noexcept { return h == nullptr; }
    static void Close(Type h) noexcept { ::DeleteObject(h); }
};
struct LocalMemoryTraits {
    using Type = HLOCAL;
    static Type Empty() noexcept { return nullptr; }
    static bool IsEmpty(Type h) noexcept { return h == nullptr; }
    static void Close(Type h) noexcept { ::LocalFree(h); }
};
struct SidTraits {
    using Type = PSID;
    static Type Empty() noexcept { return nullptr; }
    static bool IsEmpty(Type h) noexcept { return h == nullptr; }
    static void Close(Type h) noexcept { ::FreeSid(h); }
};

struct IconTraits {
    using Type = HICON;
    static Type Empty() noexcept { return nullptr; }
    static bool IsEmpty(Type h) noexcept { return h == nullptr; }
    static void Close(Type h) noexcept { ::DestroyIcon(h); }
};

struct HookTraits {
    using Type = HHOOK;
    static Type Empty() noexcept { return nullptr; }
    static bool IsEmpty(Type h) noexcept { return h == nullptr; }
    static void Close(Type h) noexcept { ::UnhookWindowsHookEx(h); }
};
// A COM interface pointer: one reference, released.
template <class Interface>
struct ComTraits {
    using Type = Interface*;
    static Type Empty() noexcept { return nullptr; }
    static bool IsEmpty(Type h) noexcept { return h == nullptr; }
    static void Close(Type h) noexcept { h->Release(); }
};

using KernelHandle = UniqueHandle<KernelHandleTraits>;
using FileHandle = UniqueHandle<FileHandleTraits>;
using FindHandle = UniqueHandle<FindHandleTraits>;
using RegKeyHandle = UniqueHandle<RegKeyTraits>;
using ServiceHandle = UniqueHandle<ServiceHandleTraits>;
using ModuleHandle = UniqueHandle<ModuleTraits>;
using GdiObject = UniqueHandle<GdiObjectTraits>;
using LocalMemory = UniqueHandle<LocalMemoryTraits>;
using SidHandle = UniqueHandle<SidTraits>;
// Icons made with LoadImage (without LR_SHARED), CreateIconFromResourceEx
// and the like; never for shared icons from LoadIcon.
using IconHandle = UniqueHandle<IconTraits>;
using HookHandle = UniqueHandle<HookTraits>;
template <class Interface>
using ComPtr = UniqueHandle<ComTraits<Interface>>;

}  // namespace fw

#include "framework/SystemApi.h"

namespace fw {

struct MsiHandleTraits {
    using Type = MSIHANDLE;
    static Type Empty() noexcept { return 0; }
    static bool IsEmpty(Type h) noexcept { return h == 0; }
    static void Close(Type h) noexcept { Msi().MsiCloseHandle(h); }
};
struct FdiContextTraits {
    using Type = HFDI;
    static Type Empty() noexcept { return nullptr; }
    static bool IsEmpty(Type h) noexcept { return h == nullptr; }
    static void Close(Type h) noexcept { Cabinet().FDIDestroy(h); }
};
struct FciContextTraits {
    using Type = HFCI;
    static Type Empty() noexcept { return nullptr; }
    static bool IsEmpty(Type h) noexcept { return h == nullptr; }
    static void Close(Type h) noexcept { Cabinet().FCIDestroy(h); }
};

using MsiHandle = UniqueHandle<MsiHandleTraits>;
using FdiContext = UniqueHandle<FdiContextTraits>;
using FciContext = UniqueHandle<FciContextTraits>;

}  // namespace fw
