#pragma once
// Classes: CParallelConversions. Converts the files of a run on a few threads
// while the results are taken one by one in list order, so the output reads
// exactly as if the files were converted one after another. Many small files
// are bound by the system calls that open, create and rename them, and those
// overlap well on several cores.
//
// Two entries with the same key (the same file named twice, or named and
// found by a scan) are never converted at the same time: the later one waits
// until the earlier is done, as in a run that takes them in turn. Workers stay
// a few files ahead of the taker, never the whole list.
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <unordered_set>
#include <vector>

#include "ConvertFile.h"

// How many files a real run converts side by side on this machine.
unsigned ConversionWorkers();

class CParallelConversions {
public:
    // The key under which a file's full path is known to the pool: Windows
    // names ignore letter case, so "A.txt" and "a.txt" are one file there.
    static std::wstring SameFileKey(std::wstring fullPath);

    struct SResult {
        bool ok = false;
        ConvertOutcome outcome;
    };
    using Convert = std::function<SResult(size_t index)>;

    // Starts up to `workers` threads over keys.size() entries, and goes on with
    // fewer when the system refuses some. Throws std::system_error only when
    // not one thread could be started.
    CParallelConversions(std::vector<std::wstring> keys, unsigned workers, Convert convert);
    // Lets the workers finish the entries they hold, and waits for them.
    ~CParallelConversions();
    CParallelConversions(const CParallelConversions&) = delete;
    CParallelConversions& operator=(const CParallelConversions&) = delete;

    // The result of entry `index`, waiting for it; entries are taken in order,
    // and only entries below Started() once StopStarting was called.
    SResult Take(size_t index);
    // No entry is started from now on; those started still finish.
    void StopStarting();
    // The number of entries started (all below it finish).
    size_t Started();

private:
    void Work();
    SResult ConvertGuarded(size_t index);
    void StopAndJoin();
    bool MayStart() const;

    static constexpr size_t kAhead = 64;  // entries converted beyond the one being taken
    static constexpr size_t kTakeBatch = 16;
    static constexpr unsigned kTakeWaitMs = 20;

    const std::vector<std::wstring> m_keys;
    const Convert m_convert;
    std::mutex m_mutex;
    static constexpr size_t kNone = size_t(-1);
    std::condition_variable m_workAvailable;  // workers: room ahead, or a key let go
    std::condition_variable m_resultReady;  // the taker: the awaited entry is done
    size_t m_awaited = kNone;
    unsigned m_idleWorkers = 0;
    unsigned m_keyWaiters = 0;
    std::vector<std::optional<SResult>> m_results;
    std::unordered_set<std::wstring> m_inFlight;
    size_t m_next = 0;  // the next entry a worker starts
    size_t m_taken = 0;  // entries handed out by Take
    bool m_stopping = false;
    bool m_noMoreStarts = false;
    std::vector<std::thread> m_threads;
};
