#include "CWorkerThread.h"

#include <process.h>
#include <exception>
#include <utility>

CWorkerThread::CWorkerThread(std::function<unsigned()> body) : m_body(std::move(body)) {}

CWorkerThread::~CWorkerThread()
{
    Join();
}

bool CWorkerThread::Create()
{
    if (m_thread || !m_body)
        return false;
    unsigned id = 0;
    // _beginthreadex, not CreateThread, so the C runtime is set up for the thread.
    auto handle = _beginthreadex(nullptr, 0, Entry, this, CREATE_SUSPENDED, &id);
    if (handle == 0)
        return false;
    m_thread.Reset(reinterpret_cast<HANDLE>(handle));
    m_threadId = id;
    m_resumed = false;
    return true;
}

bool CWorkerThread::Resume()
{
    if (!m_thread || m_resumed)
        return false;
    if (::ResumeThread(m_thread.Get()) == static_cast<DWORD>(-1))
        return false;
    m_resumed = true;
    return true;
}

bool CWorkerThread::Join(DWORD timeoutMs)
{
    if (!m_thread)
        return true;
    if (!m_resumed)
        Resume();
    if (::WaitForSingleObject(m_thread.Get(), timeoutMs) != WAIT_OBJECT_0)
        return false;
    m_thread.Reset();
    return true;
}

unsigned __stdcall CWorkerThread::Entry(void* param)
{
    auto* self = static_cast<CWorkerThread*>(param);
    unsigned code = kFailedExitCode;
    try {
        code = self->m_body();
    } catch (const std::exception& e) {
        ::OutputDebugStringA(e.what());
    } catch (...) {
        ::OutputDebugStringW(L"unknown exception in a worker thread");
    }
    self->m_exitCode = code;
    return code;
}
