#include "CTypeLibUserKeys.h"

#include <oleauto.h>

#include <cstdio>
#include <vector>

#include "CComPtr.h"
#include "CLibAttributes.h"
#include "CRegKey.h"

namespace qlcom {
namespace {

const wchar_t kUserClasses[] = L"Software\\Classes\\";
// The system's marshaler for interfaces described by a type library.
const wchar_t kTypeLibMarshaler[] = L"{00020424-0000-0000-C000-000000000046}";

std::wstring GuidText(REFGUID guid) {
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return text;
}

std::wstring Hex(unsigned value) {
    wchar_t text[16] = {};
    std::swprintf(text, 16, L"%x", value);
    return text;
}

HRESULT FromStatus(LSTATUS status) {
    return status == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(status);
}

// One key below the user's classes with its default value and named strings.
HRESULT SetKey(const std::wstring& path, const std::wstring& value,
               std::initializer_list<std::pair<const wchar_t*, std::wstring>> named = {}) {
    CRegKey key;
    LSTATUS status = key.Create(HKEY_CURRENT_USER, kUserClasses + path, KEY_SET_VALUE);
    if (status == ERROR_SUCCESS)
        status = key.SetString(nullptr, value);
    for (const auto& [name, text] : named) {
        if (status == ERROR_SUCCESS)
            status = key.SetString(name, text);
    }
    return FromStatus(status);
}

struct MarshaledInterface {
    IID iid;
    std::wstring name;
};

// The interfaces that the type library's marshaler serves: dispatch
// interfaces, duals and those marked oleautomation.
std::vector<MarshaledInterface> MarshaledInterfaces(ITypeLib* library) {
    std::vector<MarshaledInterface> found;
    for (UINT i = 0, count = library->GetTypeInfoCount(); i < count; ++i) {
        CComPtr<ITypeInfo> info;
        TYPEATTR* attributes = nullptr;
        if (FAILED(library->GetTypeInfo(i, &info)) || FAILED(info->GetTypeAttr(&attributes)))
            continue;
        const bool marshaled = attributes->typekind == TKIND_DISPATCH ||
                               (attributes->typekind == TKIND_INTERFACE &&
                                (attributes->wTypeFlags & (TYPEFLAG_FOLEAUTOMATION | TYPEFLAG_FDUAL)) != 0);
        const IID iid = attributes->guid;
        info->ReleaseTypeAttr(attributes);
        BSTR name = nullptr;
        if (marshaled && SUCCEEDED(info->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr))) {
            found.push_back({iid, name ? name : L""});
            SysFreeString(name);
        }
    }
    return found;
}

std::wstring VersionText(const TLIBATTR& attributes) {
    return Hex(attributes.wMajorVerNum) + L"." + Hex(attributes.wMinorVerNum);
}

} // namespace

HRESULT CTypeLibUserKeys::Write(ITypeLib* library, const std::wstring& path, const std::wstring& helpDir) {
    CLibAttributes lib(library);
    HRESULT hr = lib.Load();
    if (FAILED(hr))
        return hr;
    const TLIBATTR& attributes = *lib.Get();
    BSTR docString = nullptr;
    library->GetDocumentation(MEMBERID_NIL, nullptr, &docString, nullptr, nullptr);
    const std::wstring description = docString ? docString : L"";
    SysFreeString(docString);

    const std::wstring libid = GuidText(attributes.guid);
    const std::wstring version = VersionText(attributes);
    const std::wstring libKey = L"TypeLib\\" + libid + L"\\" + version;
    const wchar_t* platform = attributes.syskind == SYS_WIN64 ? L"win64" : L"win32";
    hr = SetKey(libKey, description);
    if (SUCCEEDED(hr))
        hr = SetKey(libKey + L"\\FLAGS", std::to_wstring(attributes.wLibFlags));
    if (SUCCEEDED(hr))
        hr = SetKey(libKey + L"\\HELPDIR", helpDir);
    if (SUCCEEDED(hr))
        hr = SetKey(libKey + L"\\" + Hex(attributes.lcid) + L"\\" + platform, path);
    for (const MarshaledInterface& item : MarshaledInterfaces(library)) {
        const std::wstring key = L"Interface\\" + GuidText(item.iid);
        if (SUCCEEDED(hr))
            hr = SetKey(key, item.name);
        if (SUCCEEDED(hr))
            hr = SetKey(key + L"\\ProxyStubClsid", kTypeLibMarshaler);
        if (SUCCEEDED(hr))
            hr = SetKey(key + L"\\ProxyStubClsid32", kTypeLibMarshaler);
        if (SUCCEEDED(hr))
            hr = SetKey(key + L"\\TypeLib", libid, {{L"Version", version}});
    }
    return hr;
}

HRESULT CTypeLibUserKeys::Remove(const TLIBATTR& attributes, ITypeLib* library) {
    const std::wstring libid = GuidText(attributes.guid);
    CRegKey classes;
    LSTATUS status = classes.Open(HKEY_CURRENT_USER, L"Software\\Classes", KEY_ALL_ACCESS);
    if (status == ERROR_FILE_NOT_FOUND)
        return S_OK;
    if (status != ERROR_SUCCESS)
        return HRESULT_FROM_WIN32(status);
    for (const MarshaledInterface& item : MarshaledInterfaces(library)) {
        const std::wstring key = L"Interface\\" + GuidText(item.iid);
        CRegKey owner;
        if (owner.Open(classes.Get(), key + L"\\TypeLib") != ERROR_SUCCESS ||
            _wcsicmp(owner.QueryString(nullptr).value_or(L"").c_str(), libid.c_str()) != 0)
            continue;
        owner.Close();
        status = classes.DeleteTree(key);
        if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
            return HRESULT_FROM_WIN32(status);
    }
    status = classes.DeleteTree(L"TypeLib\\" + libid + L"\\" + VersionText(attributes));
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
        return HRESULT_FROM_WIN32(status);
    // The library's own key goes once no other version is left under it.
    RegDeleteKeyW(classes.Get(), (L"TypeLib\\" + libid).c_str());
    return S_OK;
}

} // namespace qlcom
