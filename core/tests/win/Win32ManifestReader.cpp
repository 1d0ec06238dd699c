#include "Win32ManifestReader.h"

#include <cstring>
#include <cwchar>
#include <iterator>
#include <vector>

namespace {

std::wstring GuidText(const GUID& id)
{
    wchar_t text[40];
    std::swprintf(text, std::size(text), L"{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned long>(id.Data1), id.Data2, id.Data3, id.Data4[0], id.Data4[1], id.Data4[2],
                  id.Data4[3], id.Data4[4], id.Data4[5], id.Data4[6], id.Data4[7]);
    return text;
}

}  // namespace

CActCtx ProgramManifestContext(const std::wstring& program)
{
    ACTCTXW request{};
    request.cbSize = sizeof(request);
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.lpSource = program.c_str();
    request.lpResourceName = CREATEPROCESS_MANIFEST_RESOURCE_ID;
    HANDLE context = ::CreateActCtxW(&request);
    return CActCtx(context == INVALID_HANDLE_VALUE ? nullptr : context);
}

std::wstring ManifestWindowsSetting(HANDLE context, const wchar_t* name)
{
    wchar_t value[64] = {};
    SIZE_T written = 0;
    if (!::QueryActCtxSettingsW(0, context, L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", name, value,
                                std::size(value), &written))
        return std::wstring();
    return value;
}

// Windows 10 1903 and Wine add a 64-bit MaxVersionTested to each element,
// which older headers lack, so the layout is told apart by the size written.
std::set<std::wstring> ManifestSupportedSystems(HANDLE context)
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
    const size_t offset = withMaxVersion ? 8 : 4;
    const size_t stride = withMaxVersion ? 32 : sizeof(COMPATIBILITY_CONTEXT_ELEMENT);
    if (offset + count * stride > written)
        return ids;
    for (DWORD i = 0; i < count; ++i) {
        COMPATIBILITY_CONTEXT_ELEMENT element;
        std::memcpy(&element, buffer.data() + offset + i * stride, sizeof(element));
        if (element.Type == ACTCTX_COMPATIBILITY_ELEMENT_TYPE_OS)
            ids.insert(GuidText(element.Id));
    }
    return ids;
}
