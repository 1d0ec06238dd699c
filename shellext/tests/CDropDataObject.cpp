#include "CDropDataObject.h"

#include <shlobj.h>

namespace qltest {

IDataObject* CDropDataObject::Create(const std::vector<std::wstring>& paths, bool offerDrop) {
    return new CDropDataObject(paths, offerDrop);
}

STDMETHODIMP CDropDataObject::QueryInterface(REFIID riid, void** ppv) {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDataObject)) {
        *ppv = static_cast<IDataObject*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CDropDataObject::AddRef() { return ++m_refs; }

STDMETHODIMP_(ULONG) CDropDataObject::Release() {
    const ULONG refs = --m_refs;
    if (refs == 0)
        delete this;
    return refs;
}

STDMETHODIMP CDropDataObject::QueryGetData(FORMATETC* format) {
    return m_offerDrop && format->cfFormat == CF_HDROP && (format->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
}

STDMETHODIMP CDropDataObject::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) {
    out->ptd = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CDropDataObject::GetData(FORMATETC* format, STGMEDIUM* medium) {
    if (QueryGetData(format) != S_OK)
        return DV_E_FORMATETC;
    // DROPFILES, then each wide path with its terminator, then one more terminator.
    SIZE_T chars = 1;
    for (const std::wstring& path : m_paths)
        chars += path.size() + 1;
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
    if (memory == nullptr)
        return E_OUTOFMEMORY;
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    auto* text = reinterpret_cast<wchar_t*>(drop + 1);
    for (const std::wstring& path : m_paths) {
        path.copy(text, path.size());
        text += path.size() + 1;
    }
    GlobalUnlock(memory);
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = memory;
    medium->pUnkForRelease = nullptr;
    return S_OK;
}

} // namespace qltest
