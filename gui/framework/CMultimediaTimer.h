#pragma once
// Classes: CMultimediaTimer, a periodic multimedia timer (timeSetEvent) that
// only sets an event; no code of ours runs on the timer's thread. The timer
// is killed when the object goes.
#include <windows.h>
#include <mmsystem.h>
#include <utility>

class CMultimediaTimer {
public:
    CMultimediaTimer() noexcept = default;
    CMultimediaTimer(CMultimediaTimer&& other) noexcept : m_id(std::exchange(other.m_id, 0)) {}
    CMultimediaTimer& operator=(CMultimediaTimer&&) = delete;
    CMultimediaTimer(const CMultimediaTimer&) = delete;
    ~CMultimediaTimer() { Stop(); }

    // Sets `event` every periodMs milliseconds; false when the system refuses.
    bool StartSettingEvent(UINT periodMs, UINT resolutionMs, HANDLE event) noexcept
    {
        Stop();
        m_id = ::timeSetEvent(periodMs, resolutionMs, reinterpret_cast<LPTIMECALLBACK>(event), 0,
                              TIME_PERIODIC | TIME_CALLBACK_EVENT_SET);
        return m_id != 0;
    }
    void Stop() noexcept
    {
        if (m_id)
            ::timeKillEvent(std::exchange(m_id, 0));
    }
    bool IsRunning() const noexcept { return m_id != 0; }

private:
    MMRESULT m_id = 0;
};
