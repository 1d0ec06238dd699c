#pragma once
// Classes: CRunEventQueue. What a conversion run changes in the window, handed
// from the worker to the window's thread without waiting for it.
//
// The worker adds each change as it happens and goes on converting; the
// window takes all waiting changes at once and makes them in order. Only the
// first change after the window last took the queue asks for a message, so a
// busy window gets one message per batch instead of one per change.
#include <mutex>
#include <vector>

struct SRunEvent {
    enum Kind { kStatus, kPercent, kBegin };
    Kind kind;
    int row;
    int value;  // kStatus: the FileStatus; kPercent: 0-100; kBegin: unused
};

class CRunEventQueue {
public:
    // Worker: true when the window must be told that changes are waiting.
    bool Push(const SRunEvent& event);
    // Window: every waiting change, oldest first; the next Push tells again.
    std::vector<SRunEvent> TakeAll();

private:
    std::mutex m_mutex;
    std::vector<SRunEvent> m_events;
    bool m_told = false;
};
