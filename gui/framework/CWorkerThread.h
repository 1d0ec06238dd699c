#pragma once
// Classes: CWorkerThread, one thread that runs a function. It is created
// suspended (so the owner can record it before it runs), never deletes
// itself, and is joined by its owner; the destructor joins as a last resort.
// No exception leaves the thread's entry.
//
// Joining serves the messages that other threads send to the joining thread
// while it waits: a worker that is inside SendMessage to a window of the
// joining thread would otherwise wait for it forever, and it for the worker.
#include "CUniqueHandle.h"

#include <functional>

class CWorkerThread {
public:
    explicit CWorkerThread(std::function<unsigned()> body);
    ~CWorkerThread();
    CWorkerThread(const CWorkerThread&) = delete;
    CWorkerThread& operator=(const CWorkerThread&) = delete;

    // Creates the thread suspended; false when it already exists or creation failed.
    bool Create();
    bool Resume();
    // Waits for the end (resuming a thread that never ran), serving sent
    // messages meanwhile; true once it has ended.
    bool Join(DWORD timeoutMs = INFINITE);
    bool IsCreated() const { return static_cast<bool>(m_thread); }
    HANDLE Handle() const { return m_thread.Get(); }
    DWORD ThreadId() const { return m_threadId; }
    // The body's result, or kFailedExitCode when it threw.
    unsigned ExitCode() const { return m_exitCode; }

    static constexpr unsigned kFailedExitCode = 0xFFFFFFFFu;

    // Waits for a handle while serving messages sent to this thread; false
    // on timeout or failure. For any window thread that waits on a worker.
    static bool WaitServingSentMessages(HANDLE handle, DWORD timeoutMs = INFINITE);

private:
    static unsigned __stdcall Entry(void* self);

    std::function<unsigned()> m_body;
    CHandle m_thread;
    DWORD m_threadId = 0;
    bool m_resumed = false;
    unsigned m_exitCode = 0;
};
