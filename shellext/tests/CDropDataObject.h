#pragma once
// A data object that offers a list of paths as CF_HDROP, the way Explorer
// hands a selection to a context-menu handler. Any other format is refused.
#include <windows.h>
#include <objidl.h>

#include <string>
#include <vector>

namespace qltest {

class CDropDataObject final : public IDataObject {
public:
    // Returns an object with one reference; with offerDrop false it offers nothing.
    static IDataObject* Create(const std::vector<std::wstring>& paths, bool offerDrop = true);

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override;
    STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryGetData(FORMATETC* format) override;
    STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override;
    STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    STDMETHODIMP DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHODIMP DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHODIMP EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    CDropDataObject(const std::vector<std::wstring>& paths, bool offerDrop) : m_paths(paths), m_offerDrop(offerDrop) {}
    ~CDropDataObject() = default;

    ULONG m_refs = 1;
    std::vector<std::wstring> m_paths;
    bool m_offerDrop;
};

} // namespace qltest
