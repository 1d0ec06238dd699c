// QLTC.exe's manifest, read back from the built program by the system's own
// manifest reader (an activation context made from the program file).
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "QltcProcess.h"

namespace {

struct CActCtxRelease {
    void operator()(HANDLE context) const { ::ReleaseActCtx(context); }
};
using CActCtx = std::unique_ptr<void, CActCtxRelease>;

CActCtx ProgramContext(const std::wstring& program)
{
    ACTCTXW request{};
    request.cbSize = sizeof(request);
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.lpSource = program.c_str();
    request.lpResourceName = CREATEPROCESS_MANIFEST_RESOURCE_ID;
    HANDLE context = ::CreateActCtxW(&request);
    return CActCtx(context == INVALID_HANDLE_VALUE ? nullptr : context);
}

std::wstring WindowsSetting(HANDLE context, const wchar_t* name)
{
    wchar_t value[64] = {};
    SIZE_T written = 0;
    if (!::QueryActCtxSettingsW(0, context, L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", name, value,
                                std::size(value), &written))
        return std::wstring();
    return value;
}

// The supported-OS GUIDs of the context. Windows 10 1903 and Wine add a
// 64-bit MaxVersionTested to each element, which older headers lack, so the
// layout is told apart by the size written.
std::set<std::wstring> SupportedSystems(HANDLE context)
{
    std::vector<BYTE> buffer(4096);
    SIZE_T written = 0;
    std::set<std::wstring> ids;
    if (!::QueryActCtxW(0, context, nullptr, CompatibilityInformationInActivationContext, buffer.data(),
                        buffer.size(), &written) ||
        written < sizeof(DWORD))
        return ids;
    DWORD count = 0;
    std::memcpy(&count, buffer.data(), sizeof(count));
    const bool withMaxVersion = written == 8 + size_t(count) * 32;
    const size_t offset = withMaxVersion ? 8 : 4, stride = withMaxVersion ? 32 : sizeof(COMPATIBILITY_CONTEXT_ELEMENT);
    if (offset + count * stride > written)
        return ids;
    for (DWORD i = 0; i < count; ++i) {
        COMPATIBILITY_CONTEXT_ELEMENT element;
        std::memcpy(&element, buffer.data() + offset + i * stride, sizeof(element));
        if (element.Type != ACTCTX_COMPATIBILITY_ELEMENT_TYPE_OS)
            continue;
        wchar_t text[40];
        ::StringFromGUID2(element.Id, text, std::size(text));
        ids.insert(text);
    }
    return ids;
}

}  // namespace

TEST(QltcManifest, DeclaresLongPathsAndTheSupportedWindowsVersions)
{
    const CActCtx context = ProgramContext(QltcProgramPath().wstring());
    ASSERT_TRUE(context) << "QLTC.exe has no manifest that the system accepts";
    EXPECT_EQ(L"true", WindowsSetting(context.get(), L"longPathAware"));
    const std::set<std::wstring> windows7To11 = {
        L"{35138B9A-5D96-4FBD-8E2D-A2440225F93A}", L"{4A2F28E3-53B9-4441-BA9C-D69D4A4A6E38}",
        L"{1F676C76-80E1-4239-95BB-83D0F6D0DA78}", L"{8E0F7A12-BFB3-4FE8-B9A5-48FD50A15A9A}"};
    EXPECT_EQ(windows7To11, SupportedSystems(context.get()));
}
