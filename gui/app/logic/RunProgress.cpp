#include "RunProgress.h"

#include <cwctype>

int ProgressPercent(long long doneKB, int sizeKB)
{
    if (sizeKB <= 0 || doneKB >= sizeKB)
        return 100;
    if (doneKB <= 0)
        return 0;
    // Floating point as the shown number always was; the range checks above
    // keep the cast inside int.
    return static_cast<int>(static_cast<double>(doneKB) * 100.0 / sizeKB);
}

int ParsePercent(const std::wstring& text)
{
    int value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            break;
        value = value * 10 + (c - L'0');
        if (value > 100)
            return 100;
    }
    return value;
}

int ProgressBarRight(int left, int right, int percent)
{
    if (right <= left)
        return left;
    return left + static_cast<int>(static_cast<long long>(right - left) * percent / 100);
}

void CProgressFilter::Begin(int sizeKB, unsigned long long nowMs)
{
    m_sizeKB = sizeKB;
    m_shown = 0;
    m_shownAt = nowMs;
}

bool CProgressFilter::Advance(long long doneKB, unsigned long long nowMs, int& percent)
{
    const int value = ProgressPercent(doneKB, m_sizeKB);
    if (value == m_shown || nowMs - m_shownAt < kFrameMs)
        return false;
    m_shown = value;
    m_shownAt = nowMs;
    percent = value;
    return true;
}

unsigned NextRunFrameDelayMs(double paintMs)
{
    const double wanted = paintMs * 4;
    if (!(wanted > kRunFrameMs))
        return kRunFrameMs;
    return wanted >= kSlowestRunFrameMs ? kSlowestRunFrameMs : static_cast<unsigned>(wanted + 0.5);
}
