#include "ShellOpen.h"

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
    ::ShellExecuteW(request.owner, OrNull(request.verb), request.file.c_str(), OrNull(request.parameters), nullptr,
                    request.show);
}

ShellOpenFunction SetShellOpenFunction(ShellOpenFunction function)
{
    ShellOpenFunction previous = std::move(Replacement());
    Replacement() = std::move(function);
    return previous;
}
