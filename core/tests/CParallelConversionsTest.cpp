// The parallel conversions with a stand-in for the conversion: results come
// back in list order whatever order the workers finish in, every entry is
// converted once, one file is never converted twice at the same time, and a
// taker that gives up early leaves no thread behind.
#include "CParallelConversions.h"
#include "ThreadStart.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <random>
#include <stdexcept>
#include <system_error>
#include <thread>

TEST(CParallelConversions, ResultsInOrderOnceEachAndNeverTheSameFileTwiceAtOnce)
{
    constexpr size_t kEntries = 3000;
    // Every third entry is "same.txt"; the rest are distinct.
    std::vector<std::wstring> keys;
    for (size_t i = 0; i < kEntries; ++i)
        keys.push_back(i % 3 == 0 ? L"same.txt" : L"file" + std::to_wstring(i));
    std::vector<std::atomic<int>> converted(kEntries);
    std::atomic<int> sameRunning{0};
    std::atomic<bool> overlapped{false};
    {
        CParallelConversions parallel(keys, 4, [&](size_t index) {
            if (keys[index] == L"same.txt" && ++sameRunning > 1)
                overlapped = true;
            // Uneven work, so that workers finish out of order.
            if (index % 7 == 0)
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            if (keys[index] == L"same.txt")
                --sameRunning;
            ++converted[index];
            CParallelConversions::SResult result;
            result.ok = index % 5 != 0;
            result.outcome.keptConvertedName = std::to_wstring(index);
            return result;
        });
        for (size_t i = 0; i < kEntries; ++i) {
            const CParallelConversions::SResult result = parallel.Take(i);
            ASSERT_EQ(result.outcome.keptConvertedName, std::to_wstring(i));
            ASSERT_EQ(result.ok, i % 5 != 0);
        }
    }
    for (size_t i = 0; i < kEntries; ++i)
        EXPECT_EQ(converted[i], 1) << i;
    EXPECT_FALSE(overlapped) << "one file was converted by two workers at once";
}

TEST(CParallelConversions, ATakerThatStopsEarlyEndsTheWorkersWithoutConvertingEverything)
{
    constexpr size_t kEntries = 100000;
    std::vector<std::wstring> keys;
    for (size_t i = 0; i < kEntries; ++i)
        keys.push_back(std::to_wstring(i));
    std::atomic<size_t> converted{0};
    {
        CParallelConversions parallel(keys, 2, [&](size_t) {
            ++converted;
            return CParallelConversions::SResult{true, {}};
        });
        for (size_t i = 0; i < 10; ++i)
            EXPECT_TRUE(parallel.Take(i).ok);
        // Stopped: whatever was started can still be taken, nothing more starts.
        parallel.StopStarting();
        const size_t started = parallel.Started();
        for (size_t i = 10; i < started; ++i)
            EXPECT_TRUE(parallel.Take(i).ok);
        EXPECT_EQ(converted.load(), started);
    }
    // The workers run only a short way ahead of what was taken.
    EXPECT_LT(converted.load(), 1000u);
}

// Under a process limit the system gives fewer threads than asked for, or
// none: the pool goes on with those it got, or tells the caller (who then
// converts on its own thread). A conversion that throws fails its entry
// instead of ending the process.
TEST(CParallelConversions, RunsOnTheThreadsItGetsAndSurvivesAThrowingConversion)
{
    std::vector<std::wstring> keys;
    for (size_t i = 0; i < 200; ++i)
        keys.push_back(std::to_wstring(i));
    SetThreadStartFailureForTests([](unsigned start) { return start > 1; });
    std::atomic<size_t> converted{0};
    {
        CParallelConversions parallel(keys, 4, [&](size_t index) {
            ++converted;
            if (index == 7)
                throw std::runtime_error("conversion failed");
            return CParallelConversions::SResult{true, {}};
        });
        for (size_t i = 0; i < keys.size(); ++i)
            EXPECT_EQ(parallel.Take(i).ok, i != 7) << i;
    }
    EXPECT_EQ(converted.load(), keys.size());

    SetThreadStartFailureForTests([](unsigned) { return true; });
    EXPECT_THROW(CParallelConversions(keys, 4, [](size_t) { return CParallelConversions::SResult{}; }),
                 std::system_error);
    SetThreadStartFailureForTests(nullptr);
}
