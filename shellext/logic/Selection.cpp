#include "Selection.h"

#include <limits>

namespace qlshell {

void CSelection::Begin(uint32_t count) {
    m_folderSelected = false;
    constexpr uint32_t kLargest = static_cast<uint32_t>(std::numeric_limits<int32_t>::max());
    m_paths.PreSize(static_cast<int32_t>(count < kLargest ? count : kLargest));
}

void CSelection::Add(std::wstring_view path, const PathTest& isDirectory) {
    m_paths.Append(path);
    if (!m_folderSelected && isDirectory && isDirectory(std::wstring(path))) m_folderSelected = true;
}

void CSelection::ClearPaths() { m_paths.Clear(); }

}  // namespace qlshell
