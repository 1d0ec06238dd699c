#include "CParallelConversions.h"

#include <algorithm>
#include <chrono>
#include <cwctype>
#include <system_error>

#include "ThreadStart.h"

unsigned ConversionWorkers()
{
    // One per core, up to four: beyond that, small files wait on the file
    // system's own locks rather than on the processor.
    constexpr unsigned kMostWorkers = 4;
    return std::clamp(std::thread::hardware_concurrency(), 1u, kMostWorkers);
}

std::wstring CParallelConversions::SameFileKey(std::wstring fullPath)
{
#ifdef _WIN32
    for (wchar_t& c : fullPath)
        c = static_cast<wchar_t>(std::towlower(c));
#endif
    return fullPath;
}

CParallelConversions::CParallelConversions(std::vector<std::wstring> keys, unsigned workers, Convert convert)
    : m_keys(std::move(keys)), m_convert(std::move(convert)), m_results(m_keys.size())
{
    // The system may give fewer threads than asked for (a process limit):
    // the run goes on with those it got. With none, the caller converts the
    // files itself, one after another.
    for (unsigned i = 0; i < workers; ++i) {
        std::thread thread;
        if (!TryStartThread(thread, [this] { Work(); }))
            break;
        m_threads.push_back(std::move(thread));
    }
    if (m_threads.empty())
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again),
                                "no thread for the conversions");
}

CParallelConversions::~CParallelConversions()
{
    StopAndJoin();
}

void CParallelConversions::StopAndJoin()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_workAvailable.notify_all();
    for (std::thread& thread : m_threads)
        if (thread.joinable())
            thread.join();
    m_threads.clear();
}

bool CParallelConversions::MayStart() const
{
    return !m_noMoreStarts && m_next < m_keys.size() && m_next < m_taken + kAhead;
}

void CParallelConversions::StopStarting()
{
    std::lock_guard lock(m_mutex);
    m_noMoreStarts = true;
}

size_t CParallelConversions::Started()
{
    std::lock_guard lock(m_mutex);
    return m_next;
}

// Wake-ups are kept to the ones somebody waits for: with small files a
// needless one per file costs as much as a good part of the conversion.
void CParallelConversions::Work()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        while (!m_stopping && !MayStart()) {
            ++m_idleWorkers;
            m_workAvailable.wait(lock);
            --m_idleWorkers;
        }
        if (m_stopping)
            return;
        const size_t index = m_next++;
        const std::wstring& key = m_keys[index];
        // The same file earlier in the list is still being converted.
        while (!m_stopping && m_inFlight.count(key) != 0) {
            ++m_keyWaiters;
            m_workAvailable.wait(lock);
            --m_keyWaiters;
        }
        if (m_stopping)
            return;
        m_inFlight.insert(key);
        lock.unlock();
        SResult result = ConvertGuarded(index);
        lock.lock();
        m_inFlight.erase(key);
        m_results[index] = std::move(result);
        if (index == m_awaited)
            m_resultReady.notify_one();
        if (m_keyWaiters > 0)
            m_workAvailable.notify_all();
    }
}

// An exception must not end the worker, and with it the process: the entry
// is reported failed instead (its file is left as the conversion left it,
// which never harms the original).
CParallelConversions::SResult CParallelConversions::ConvertGuarded(size_t index)
{
    try {
        return m_convert(index);
    } catch (...) {
        return SResult{};
    }
}

CParallelConversions::SResult CParallelConversions::Take(size_t index)
{
    std::unique_lock lock(m_mutex);
    if (index + 1 > m_taken) {
        m_taken = index + 1;
        if (m_idleWorkers > 0)
            m_workAvailable.notify_all();
    }
    // Woken for every entry, the taker would cost a thread switch per file.
    // It asks to be woken a few entries later instead, or after a moment, so
    // a long file still shows its result soon after it is done.
    while (!m_results[index].has_value()) {
        m_awaited = std::min(index + kTakeBatch, m_keys.size() - 1);
        if (m_results[m_awaited].has_value())
            m_awaited = index;  // done out of turn: only this entry is missing
        m_resultReady.wait_for(lock, std::chrono::milliseconds(kTakeWaitMs));
    }
    m_awaited = kNone;
    SResult result = std::move(*m_results[index]);
    m_results[index].reset();
    return result;
}
