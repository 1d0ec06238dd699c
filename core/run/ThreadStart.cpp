#include "ThreadStart.h"

#include <atomic>
#include <system_error>

namespace {

std::function<bool(unsigned)> g_failWhen;
std::atomic<unsigned> g_starts{0};

}  // namespace

bool TryStartThread(std::thread& thread, std::function<void()> body)
{
    if (g_failWhen && g_failWhen(++g_starts))
        return false;
    try {
        thread = std::thread(std::move(body));
        return true;
    } catch (const std::exception&) {
        // std::system_error from the system, std::bad_alloc for the thread's state.
        return false;
    }
}

void SetThreadStartFailureForTests(std::function<bool(unsigned start)> failWhen)
{
    g_starts = 0;
    g_failWhen = std::move(failWhen);
}
