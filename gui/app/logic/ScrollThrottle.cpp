#include "ScrollThrottle.h"

void CScrollThrottle::Reset()
{
    m_scrolled = false;
    m_scrolledAt = 0;
    m_pending = -1;
}

CScrollThrottle::Decision CScrollThrottle::RowStarted(int row, unsigned long long nowMs, int& waitMs)
{
    if (m_pending >= 0) {
        m_pending = row;
        return kAlreadyDue;
    }
    const unsigned long long since = nowMs - m_scrolledAt;
    if (!m_scrolled || nowMs < m_scrolledAt || since >= kIntervalMs) {
        m_scrolled = true;
        m_scrolledAt = nowMs;
        return kScrollNow;
    }
    m_pending = row;
    waitMs = static_cast<int>(kIntervalMs - since);
    return kScrollLater;
}

int CScrollThrottle::Due(unsigned long long nowMs)
{
    const int row = m_pending;
    m_pending = -1;
    if (row >= 0) {
        m_scrolled = true;
        m_scrolledAt = nowMs;
    }
    return row;
}
