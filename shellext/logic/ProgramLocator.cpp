#include "ProgramLocator.h"

#include "RegistryValues.h"

namespace qlshell {
namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }
bool IsDriveLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

}  // namespace

bool IsFullyQualifiedPath(const std::wstring& path) {
    if (path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == L':' && IsSeparator(path[2])) return true;
    return path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]);
}

std::optional<std::wstring> FindProgramPath(IRegistryReader& registry, const PathTest& fileExists) {
    std::unique_ptr<IRegistryKey> appKey = registry.OpenAppKey(L"");
    if (!appKey) return std::nullopt;
    std::optional<std::wstring> folder = ReadRegistryString(*appKey, kAppFolderValue, kLongStringBufferBytes);
    appKey.reset();
    if (!folder) return std::nullopt;

    std::wstring path = *folder + L"\\" + kProgramFileName;
    // An empty or relative folder would be resolved against Explorer's current
    // drive or folder, starting whatever program happens to sit there.
    if (!IsFullyQualifiedPath(path)) return std::nullopt;
    if (!fileExists || !fileExists(path)) return std::nullopt;
    return path;
}

}  // namespace qlshell
