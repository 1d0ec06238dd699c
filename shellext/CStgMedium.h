#pragma once
// CStgMedium owns the storage medium a data object handed out (ReleaseStgMedium).
#include <windows.h>
#include <objidl.h>

class CStgMedium {
public:
    CStgMedium() = default;
    ~CStgMedium() {
        if (m_received)
            ReleaseStgMedium(&m_medium);
    }
    CStgMedium(const CStgMedium&) = delete;
    CStgMedium& operator=(const CStgMedium&) = delete;

    // Fills the medium from the data object; it is released with this object.
    HRESULT GetData(IDataObject* dataObject, FORMATETC& format) {
        const HRESULT hr = dataObject->GetData(&format, &m_medium);
        m_received = SUCCEEDED(hr);
        return hr;
    }
    const STGMEDIUM& Get() const { return m_medium; }

private:
    STGMEDIUM m_medium = {};
    bool m_received = false;
};
