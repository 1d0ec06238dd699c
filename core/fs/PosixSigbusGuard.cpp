#include "PosixSigbusGuard.h"

#include <setjmp.h>
#include <signal.h>

#include <cstring>
#include <mutex>

namespace qlfs {
namespace {

struct SGuardedRange {
    const uint8_t* begin;
    size_t size;
    sigjmp_buf jump;
};

thread_local SGuardedRange* t_range = nullptr;
struct sigaction g_previous {};

void OnSigbus(int signal, siginfo_t* info, void* ucontext)
{
    SGuardedRange* range = t_range;
    auto address = static_cast<const uint8_t*>(info->si_addr);
    if (range && address >= range->begin && address - range->begin < ptrdiff_t(range->size))
        siglongjmp(range->jump, 1);
    // Not ours: behave as if we had never been installed.
    if (g_previous.sa_flags & SA_SIGINFO) {
        g_previous.sa_sigaction(signal, info, ucontext);
    } else if (g_previous.sa_handler != SIG_DFL && g_previous.sa_handler != SIG_IGN) {
        g_previous.sa_handler(signal);
    } else {
        ::signal(signal, SIG_DFL);
        ::raise(signal);
    }
}

void InstallOnce()
{
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction action {};
        action.sa_sigaction = OnSigbus;
        action.sa_flags = SA_SIGINFO | SA_NODEFER;
        sigemptyset(&action.sa_mask);
        sigaction(SIGBUS, &action, &g_previous);
    });
}

}  // namespace

bool RunWithSigbusGuard(const uint8_t* begin, size_t size, GuardedWork work, void* context)
{
    InstallOnce();
    SGuardedRange range{begin, size, {}};
    SGuardedRange* outer = t_range;
    if (sigsetjmp(range.jump, 1) != 0) {
        t_range = outer;
        return false;
    }
    t_range = &range;
    bool result = work(context);
    t_range = outer;
    return result;
}

}  // namespace qlfs
