#include "CFakeFileSystem.h"

namespace {

std::vector<std::wstring> SplitPath(const std::wstring& path)
{
    std::vector<std::wstring> parts;
    size_t start = 0;
    while (start < path.size()) {
        size_t end = path.find(qlfs::kPathSeparator, start);
        if (end == std::wstring::npos)
            end = path.size();
        if (end > start)
            parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

// Relative paths start in the folder "/cwd".
std::wstring Absolute(const std::wstring& path)
{
    if (!path.empty() && path[0] == qlfs::kPathSeparator)
        return path;
    return std::wstring(1, qlfs::kPathSeparator) + L"cwd" + qlfs::kPathSeparator + path;
}

}  // namespace

CFakeFileSystem::CFakeFileSystem() : m_nodes(1, Node{true, {}}) {}

size_t CFakeFileSystem::Find(const std::wstring& path) const
{
    size_t node = 0;
    for (const std::wstring& part : SplitPath(Absolute(path))) {
        size_t next = kMissing;
        for (const auto& [name, child] : m_nodes[node].children)
            if (name == part)
                next = child;
        if (next == kMissing)
            return kMissing;
        node = next;
    }
    return node;
}

size_t CFakeFileSystem::Add(const std::wstring& path, bool isFolder)
{
    const std::vector<std::wstring> parts = SplitPath(path);
    size_t node = 0;
    for (size_t i = 0; i < parts.size(); ++i) {
        size_t next = kMissing;
        for (const auto& [name, child] : m_nodes[node].children)
            if (name == parts[i])
                next = child;
        if (next == kMissing) {
            next = m_nodes.size();
            m_nodes.push_back(Node{isFolder || i + 1 < parts.size(), {}});
            m_nodes[node].children.emplace_back(parts[i], next);
        }
        node = next;
    }
    return node;
}

size_t CFakeFileSystem::AddFile(const std::wstring& path) { return Add(path, false); }

size_t CFakeFileSystem::AddFolder(const std::wstring& path) { return Add(path, true); }

void CFakeFileSystem::AddLink(const std::wstring& path, size_t target)
{
    const size_t split = path.rfind(qlfs::kPathSeparator);
    const size_t parent = AddFolder(path.substr(0, split));
    m_nodes[parent].children.emplace_back(path.substr(split + 1), target);
}

uint32_t CFakeFileSystem::GetAttributes(const std::wstring& path)
{
    const size_t node = Find(path);
    if (node == kMissing)
        return qlfs::kInvalidAttributes;
    return m_nodes[node].isFolder ? qlfs::kAttrDirectory : qlfs::kAttrArchive;
}

bool CFakeFileSystem::IsFolder(const std::wstring& path)
{
    const size_t node = Find(path);
    return node != kMissing && m_nodes[node].isFolder;
}

bool CFakeFileSystem::EnumerateFolder(const std::wstring& folder,
                                      const std::function<void(const qlfs::FolderEntry&)>& visit)
{
    const size_t node = Find(folder);
    if (node == kMissing || !m_nodes[node].isFolder)
        return false;
    m_enumerated.push_back(folder);
    const auto children = m_nodes[node].children;
    for (const auto& [name, child] : children)
        visit(qlfs::FolderEntry{name, m_nodes[child].isFolder});
    return true;
}

bool CFakeFileSystem::GetFolderId(const std::wstring& folder, qlfs::FolderId& id)
{
    const size_t node = Find(folder);
    if (node == kMissing)
        return false;
    id = qlfs::FolderId{1, node};
    return true;
}

std::wstring CFakeFileSystem::FullPath(const std::wstring& path) { return Absolute(path); }
