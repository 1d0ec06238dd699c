#include "ProgramLocator.h"

#include "RegistryValues.h"

namespace qlshell {
namespace {

std::optional<std::wstring> ReadAppFolder(std::unique_ptr<IRegistryKey> key) {
    if (!key) return std::nullopt;
    return ReadRegistryString(*key, kAppFolderValue, kLongStringBufferBytes);
}

}  // namespace

std::optional<std::wstring> FindProgramPath(IRegistryReader& registry, const PathTest& fileExists) {
    // The user's own value wins; the machine's serves every user of a
    // per-machine install, whose installer could write only its own user's.
    std::optional<std::wstring> folder = ReadAppFolder(registry.OpenAppKey(L""));
    if (!folder) folder = ReadAppFolder(registry.OpenMachineAppKey());
    if (!folder) return std::nullopt;

    std::wstring path = *folder + L"\\" + kProgramFileName;
    // An empty or relative folder would be resolved against Explorer's current
    // drive or folder, starting whatever program happens to sit there.
    if (!IsFullyQualifiedPath(path)) return std::nullopt;
    if (!fileExists || !fileExists(path)) return std::nullopt;
    return path;
}

}  // namespace qlshell
