#pragma once
// Classes: CComInitializer, OLE/COM for the current thread for the object's
// lifetime (single-threaded apartment, as the shell and drag and drop need).
#include <windows.h>
#include <ole2.h>

class CComInitializer {
public:
    CComInitializer() : m_result(::OleInitialize(nullptr)) {}
    ~CComInitializer()
    {
        if (SUCCEEDED(m_result))
            ::OleUninitialize();
    }
    CComInitializer(const CComInitializer&) = delete;
    CComInitializer& operator=(const CComInitializer&) = delete;

    HRESULT Result() const { return m_result; }

private:
    HRESULT m_result;
};
