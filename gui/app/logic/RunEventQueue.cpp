#include "RunEventQueue.h"

bool CRunEventQueue::Push(const SRunEvent& event)
{
    std::lock_guard lock(m_mutex);
    m_events.push_back(event);
    const bool tell = !m_told;
    m_told = true;
    return tell;
}

std::vector<SRunEvent> CRunEventQueue::TakeAll()
{
    std::vector<SRunEvent> taken;
    std::lock_guard lock(m_mutex);
    taken.swap(m_events);
    m_told = false;
    return taken;
}
