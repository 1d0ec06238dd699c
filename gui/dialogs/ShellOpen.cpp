#include "ShellOpen.h"

#include "CUniqueHandle.h"
#include "CWorkerThread.h"

#include <shellapi.h>

namespace {
ShellOpenFunction& Replacement()
{
    static ShellOpenFunction replacement;
    return replacement;
}

const wchar_t* OrNull(const std::wstring& text)
{
    return text.empty() ? nullptr : text.c_str();
}
}

void ShellOpen(const ShellOpenRequest& request)
{
    if (Replacement()) {
        Replacement()(request);
        return;
    }
    ShellOpenWithSystem(request);
}

void ShellOpenWithSystem(const ShellOpenRequest& request)
{
    SHELLEXECUTEINFOW info{sizeof(info)};
    info.fMask = request.wait ? SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC : 0;
    info.hwnd = request.owner;
    info.lpVerb = OrNull(request.verb);
    info.lpFile = request.file.c_str();
    info.lpParameters = OrNull(request.parameters);
    info.nShow = request.show;
    // A refused start (a declined elevation prompt among them) needs no
    // answer here: whoever asked reads the outcome from where it would be.
    if (!::ShellExecuteExW(&info) || info.hProcess == nullptr)
        return;
    CHandle process(info.hProcess);
    CWorkerThread::WaitServingSentMessages(process.Get(), ShellOpenRequest::kLongestWaitMs);
}

ShellOpenFunction SetShellOpenFunction(ShellOpenFunction function)
{
    ShellOpenFunction previous = std::move(Replacement());
    Replacement() = std::move(function);
    return previous;
}
