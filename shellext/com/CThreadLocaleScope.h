#pragma once
// Switches the calling thread's locale for a scope and restores it afterwards.
// The registry scripts are ANSI text read with the thread's code page, so
// registration runs under the system locale whatever the caller had set.
#include <windows.h>

namespace qlcom {

class CThreadLocaleScope {
public:
    explicit CThreadLocaleScope(LCID locale) : m_saved(GetThreadLocale()) { SetThreadLocale(locale); }
    ~CThreadLocaleScope() { SetThreadLocale(m_saved); }
    CThreadLocaleScope(const CThreadLocaleScope&) = delete;
    CThreadLocaleScope& operator=(const CThreadLocaleScope&) = delete;

private:
    LCID m_saved;
};

} // namespace qlcom
