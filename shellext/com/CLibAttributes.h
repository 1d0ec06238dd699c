#pragma once
// CLibAttributes: a type library's attributes (GetLibAttr), given back to the
// library when the object goes.
#include <windows.h>
#include <oaidl.h>

namespace qlcom {

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
    const TLIBATTR* Get() const { return m_attributes; }

private:
    ITypeLib* m_library;
    TLIBATTR* m_attributes = nullptr;
};

} // namespace qlcom
