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
    if (!WaitServingSentMessages(m_thread.Get(), timeoutMs))
        return false;
    m_thread.Reset();
    return true;
}

bool CWorkerThread::WaitServingSentMessages(HANDLE handle, DWORD timeoutMs)
{
    const ULONGLONG start = ::GetTickCount64();
    for (;;) {
        DWORD left = INFINITE;
        if (timeoutMs != INFINITE) {
            ULONGLONG spent = ::GetTickCount64() - start;
            left = spent >= timeoutMs ? 0 : static_cast<DWORD>(timeoutMs - spent);
        }
        // Only sent messages wake the wait: posted input stays queued for the
        // window's own loop, so nothing the user does is handled out of turn.
        DWORD r = ::MsgWaitForMultipleObjectsEx(1, &handle, left, QS_SENDMESSAGE, 0);
        if (r == WAIT_OBJECT_0)
            return true;
        if (r != WAIT_OBJECT_0 + 1)
            return false;  // timeout or failure
        // Peeking delivers the pending sent messages; PM_QS_SENDMESSAGE
        // removes nothing from the posted queue.
        MSG msg;
        ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
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
