#include "CTypeLibRegistrar.h"

#include <oleauto.h>

#include "CClassesRootOverride.h"
#include "CComPtr.h"

namespace qlcom {
namespace {

using RegisterForUserFunction = HRESULT(WINAPI*)(ITypeLib*, OLECHAR*, OLECHAR*);
using UnregisterForUserFunction = HRESULT(WINAPI*)(REFGUID, WORD, WORD, LCID, SYSKIND);

// The per-user functions exist only from Windows Vista SP1 on; look them up
// so that the DLL still loads where they are missing.
template <class Function>
Function FindOleAutomationFunction(const char* name) {
    HMODULE oleaut = GetModuleHandleW(L"oleaut32.dll");
    return oleaut ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(oleaut, name))) : nullptr;
}

// Releases the attributes a type library lent out.
class CLibAttributes {
public:
    explicit CLibAttributes(ITypeLib* library) : m_library(library) {}
    ~CLibAttributes() {
        if (m_attributes)
            m_library->ReleaseTLibAttr(m_attributes);
    }
    CLibAttributes(const CLibAttributes&) = delete;
    CLibAttributes& operator=(const CLibAttributes&) = delete;
    HRESULT Load() { return m_library->GetLibAttr(&m_attributes); }
    const TLIBATTR* operator->() const { return m_attributes; }

private:
    ITypeLib* m_library;
    TLIBATTR* m_attributes = nullptr;
};

} // namespace

HRESULT CTypeLibRegistrar::Load(const std::wstring& modulePath, ITypeLib** library, std::wstring& loadedPath) {
    loadedPath = modulePath;
    HRESULT hr = LoadTypeLibEx(loadedPath.c_str(), REGKIND_NONE, library);
    if (SUCCEEDED(hr))
        return hr;
    const std::size_t dot = modulePath.rfind(L'.');
    const std::size_t slash = modulePath.find_last_of(L"\\/");
    if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash))
        return hr;
    loadedPath = modulePath.substr(0, dot) + L".tlb";
    return LoadTypeLibEx(loadedPath.c_str(), REGKIND_NONE, library);
}

HRESULT CTypeLibRegistrar::Register(const std::wstring& modulePath, bool perUser) {
    CComPtr<ITypeLib> library;
    std::wstring path;
    HRESULT hr = Load(modulePath, &library, path);
    if (FAILED(hr))
        return hr;
    // Where the per-user function is missing, or writes machine-wide anyway
    // (Wine), the plain one then still lands in the user's classes.
    CClassesRootOverride userClasses;
    if (perUser && FAILED(hr = userClasses.Begin()))
        return hr;
    // The help directory is the folder of the library's help file; ours has none.
    BSTR helpFile = nullptr;
    std::wstring helpDir;
    if (SUCCEEDED(library->GetDocumentation(-1, nullptr, nullptr, nullptr, &helpFile)) && helpFile != nullptr) {
        helpDir = helpFile;
        const std::size_t slash = helpDir.find_last_of(L"\\/");
        helpDir.resize(slash == std::wstring::npos ? 0 : slash);
        SysFreeString(helpFile);
    }
    OLECHAR* helpDirArg = helpDir.empty() ? nullptr : helpDir.data();
    if (perUser) {
        if (auto registerForUser = FindOleAutomationFunction<RegisterForUserFunction>("RegisterTypeLibForUser"))
            return registerForUser(library.Get(), path.data(), helpDirArg);
    }
    return RegisterTypeLib(library.Get(), path.data(), helpDirArg);
}

HRESULT CTypeLibRegistrar::Unregister(const std::wstring& modulePath, bool perUser) {
    CComPtr<ITypeLib> library;
    std::wstring path;
    HRESULT hr = Load(modulePath, &library, path);
    if (FAILED(hr))
        return hr;
    CLibAttributes attributes(library.Get());
    if (FAILED(hr = attributes.Load()))
        return hr;
    CClassesRootOverride userClasses;
    if (perUser && FAILED(hr = userClasses.Begin()))
        return hr;
    BSTR registeredPath = nullptr;
    if (FAILED(QueryPathOfRegTypeLib(attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum,
                                     attributes->lcid, &registeredPath)))
        return S_OK;
    SysFreeString(registeredPath);
    if (perUser) {
        if (auto unregisterForUser = FindOleAutomationFunction<UnregisterForUserFunction>("UnRegisterTypeLibForUser"))
            return unregisterForUser(attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum,
                                     attributes->lcid, attributes->syskind);
    }
    return UnRegisterTypeLib(attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum,
                             attributes->lcid, attributes->syskind);
}

} // namespace qlcom
