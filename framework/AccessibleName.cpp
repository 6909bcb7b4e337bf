#include "framework/AccessibleName.h"

#include <oleacc.h>

#include "framework/Handles.h"
#include "framework/MessageFilter.h"
#include "framework/SystemApi.h"

namespace fw {

namespace {
struct AccessibilityApi {
    decltype(&::CreateStdAccessibleObject) createStandard = nullptr;
    decltype(&::LresultFromObject) lresultFromObject = nullptr;
    decltype(&::SysAllocString) allocString = nullptr;
};

template <class F>
F Bind(HMODULE module, const char* name) {
    return module ? reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(module, name))) : nullptr;
}

// Loaded with the first question of a screen reader, on the window's thread,
// which becomes a single-threaded apartment for the object's calls.
const AccessibilityApi& Api() {
    static const AccessibilityApi api = [] {
        AccessibilityApi loaded;
        HMODULE ole32 = LoadSystemLibrary(L"ole32.dll");
        using InitializeFn = HRESULT(WINAPI*)(void*, DWORD);
        if (auto initialize = Bind<InitializeFn>(ole32, "CoInitializeEx")) initialize(nullptr, COINIT_APARTMENTTHREADED);
        HMODULE oleacc = LoadSystemLibrary(L"oleacc.dll");
        loaded.createStandard = Bind<decltype(loaded.createStandard)>(oleacc, "CreateStdAccessibleObject");
        loaded.lresultFromObject = Bind<decltype(loaded.lresultFromObject)>(oleacc, "LresultFromObject");
        loaded.allocString = Bind<decltype(loaded.allocString)>(LoadSystemLibrary(L"oleaut32.dll"), "SysAllocString");
        return loaded;
    }();
    return api;
}

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

// The system's object for the control, with the name replaced.
class NamedAccessible final : public IAccessible {
public:
    NamedAccessible(IAccessible* system, std::function<std::wstring()> name)
        : system_(system), name_(std::move(name)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IAccessible) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        // The window and the children enumeration stay the system's.
        return system_.get()->QueryInterface(iid, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        LONG left = ::InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!IsSelf(child)) return system_.get()->get_accName(child, name);
        if (!name) return E_POINTER;
        *name = Api().allocString ? Api().allocString(name_().c_str()) : nullptr;
        return *name ? S_OK : E_OUTOFMEMORY;
    }

    // Everything else is the system's answer.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return system_.get()->GetTypeInfoCount(count); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
        return system_.get()->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override {
        return system_.get()->GetIDsOfNames(iid, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argument) override {
        return system_.get()->Invoke(id, iid, locale, flags, parameters, result, exception, argument);
    }
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return system_.get()->get_accParent(parent); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override { return system_.get()->get_accChildCount(count); }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        return system_.get()->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return system_.get()->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return system_.get()->get_accDescription(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        return system_.get()->get_accRole(child, role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return system_.get()->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override { return system_.get()->get_accHelp(child, help); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return system_.get()->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return system_.get()->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return system_.get()->get_accFocus(child); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return system_.get()->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return system_.get()->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override { return system_.get()->accSelect(flags, child); }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
        return system_.get()->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        return system_.get()->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
        return system_.get()->accHitTest(x, y, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override { return system_.get()->accDoDefaultAction(child); }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override { return system_.get()->put_accName(child, name); }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return system_.get()->put_accValue(child, value);
    }

private:
    ~NamedAccessible() = default;

    ComPtr<IAccessible> system_;
    std::function<std::wstring()> name_;
    LONG references_ = 1;
};

std::optional<LRESULT> AnswerObjectRequest(HWND control, WPARAM wParam, const std::function<std::wstring()>& name) {
    const AccessibilityApi& api = Api();
    if (!api.createStandard || !api.lresultFromObject || !api.allocString) return std::nullopt;
    IAccessible* system = nullptr;
    if (FAILED(api.createStandard(control, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(&system))) || !system)
        return std::nullopt;
    ComPtr<IAccessible> named(new NamedAccessible(system, name));
    LRESULT answer = api.lresultFromObject(IID_IAccessible, wParam, named.get());
    if (FAILED(static_cast<HRESULT>(answer))) return std::nullopt;
    return answer;
}
}  // namespace

bool SetAccessibleName(HWND control, std::function<std::wstring()> name) {
    return AddMessageFilter(control, [name = std::move(name)](HWND hwnd, UINT message, WPARAM wParam,
                                                              LPARAM lParam) -> std::optional<LRESULT> {
        if (message != WM_GETOBJECT || static_cast<LONG>(lParam) != OBJID_CLIENT) return std::nullopt;
        return AnswerObjectRequest(hwnd, wParam, name);
    });
}

}  // namespace fw
