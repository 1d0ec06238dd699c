#include "CTypeLibRegistrar.h"

#include <oleauto.h>

#include "CComPtr.h"
#include "CLibAttributes.h"
#include "CTypeLibUserKeys.h"

namespace qlcom {
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
    // The help directory is the folder of the library's help file; ours has none.
    BSTR helpFile = nullptr;
    std::wstring helpDir;
    if (SUCCEEDED(library->GetDocumentation(-1, nullptr, nullptr, nullptr, &helpFile)) && helpFile != nullptr) {
        helpDir = helpFile;
        const std::size_t slash = helpDir.find_last_of(L"\\/");
        helpDir.resize(slash == std::wstring::npos ? 0 : slash);
        SysFreeString(helpFile);
    }
    if (perUser)
        return CTypeLibUserKeys::Write(library.Get(), path, helpDir);
    return RegisterTypeLib(library.Get(), path.data(), helpDir.empty() ? nullptr : helpDir.data());
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
    if (perUser)
        return CTypeLibUserKeys::Remove(*attributes.Get(), library.Get());
    BSTR registeredPath = nullptr;
    if (FAILED(QueryPathOfRegTypeLib(attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum,
                                     attributes->lcid, &registeredPath)))
        return S_OK;
    SysFreeString(registeredPath);
    return UnRegisterTypeLib(attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum,
                             attributes->lcid, attributes->syskind);
}

} // namespace qlcom
