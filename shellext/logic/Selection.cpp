#include "Selection.h"

#include <limits>

namespace qlshell {

void CSelection::Begin(uint32_t count) {
    m_folderSelected = false;
    constexpr uint32_t kLargest = static_cast<uint32_t>(std::numeric_limits<int32_t>::max());
    m_paths.PreSize(static_cast<int32_t>(count < kLargest ? count : kLargest));
}

namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }
bool IsDriveLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

}  // namespace

bool IsFullyQualifiedPath(const std::wstring& path) {
    if (path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == L':' && IsSeparator(path[2])) return true;
    return path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]);
}

void CSelection::Add(std::wstring_view path, const PathTest& isDirectory) {
    std::wstring full(path);
    if (!IsFullyQualifiedPath(full)) return;
    m_paths.Append(full);
    if (!m_folderSelected && isDirectory && isDirectory(full)) m_folderSelected = true;
}

void CSelection::ClearPaths() { m_paths.Clear(); }

}  // namespace qlshell
