#include "FaultyFileSystemSupport.h"

#include <algorithm>
#include <cstring>

namespace {

using EOp = CFaultyFileSystem::EOp;

class CMemoryReadFile final : public qlfs::IReadFile {
public:
    CMemoryReadFile(CFaultyFileSystem& fs, std::wstring path, std::shared_ptr<CFaultyFileSystem::SFile> file)
        : m_fs(fs), m_path(std::move(path)), m_file(std::move(file))
    {
    }
    int64_t Read(void* buffer, size_t size) override
    {
        if (m_fs.Fails(EOp::Read, m_path))
            return -1;
        uint64_t total = Total();
        size_t n = size_t(std::min<uint64_t>(size, total - m_at));
        auto* out = static_cast<char*>(buffer);
        if (m_file->generatedSize) {
            const std::string& p = m_file->pattern;
            for (size_t i = 0; i < n;) {
                size_t offset = size_t((m_at + i) % p.size());
                size_t piece = std::min(n - i, p.size() - offset);
                std::memcpy(out + i, p.data() + offset, piece);
                i += piece;
            }
        } else {
            std::memcpy(out, m_file->content.data() + m_at, n);
        }
        m_at += n;
        return int64_t(n);
    }
    int64_t Size() override { return m_file->reportedSize.value_or(int64_t(Total())); }

    bool GetMetadata(qlfs::FileMetadata& metadata) override
    {
        if (m_fs.Fails(EOp::GetTimes, m_path))
            return false;
        metadata.attributes = m_file->attributes;
        metadata.times = m_file->times;
        return true;
    }

private:
    uint64_t Total() const { return m_file->generatedSize ? m_file->generatedSize : m_file->content.size(); }

    CFaultyFileSystem& m_fs;
    std::wstring m_path;
    std::shared_ptr<CFaultyFileSystem::SFile> m_file;
    uint64_t m_at = 0;
};

class CMemoryWriteFile final : public qlfs::IWriteFile {
public:
    CMemoryWriteFile(CFaultyFileSystem& fs, std::wstring path, std::shared_ptr<CFaultyFileSystem::SFile> file)
        : m_fs(fs), m_path(std::move(path)), m_file(std::move(file))
    {
    }
    bool Write(const void* data, size_t size) override
    {
        if (m_fs.Fails(EOp::Write, m_path))
            return false;
        if (m_fs.discardWrites)
            m_file->generatedSize += size;
        else
            m_file->content.append(static_cast<const char*>(data), size);
        m_file->times.lastWrite = m_fs.Tick();
        return true;
    }
    bool ApplyMetadata(const qlfs::FileMetadata& original, bool times, bool attributes) override
    {
        if (times) {
            if (m_fs.Fails(EOp::SetTimes, m_path))
                return false;
            m_file->times = original.times;
        }
        if (attributes) {
            if (m_fs.Fails(EOp::SetAttributes, m_path))
                return false;
            m_file->attributes = original.attributes ? original.attributes : qlfs::kAttrNormal;
        }
        return true;
    }
    bool Flush() override { return !m_fs.Fails(EOp::Flush, m_path); }
    bool Close() override { return !m_fs.Fails(EOp::Close, m_path); }

private:
    CFaultyFileSystem& m_fs;
    std::wstring m_path;
    std::shared_ptr<CFaultyFileSystem::SFile> m_file;
};

}  // namespace

void CFaultyFileSystem::AddFile(const std::wstring& path, const std::string& content, uint32_t attributes,
                                qlfs::FileTimes times)
{
    auto file = std::make_shared<SFile>();
    file->content = content;
    file->attributes = attributes;
    file->times = times;
    m_files[path] = file;
}

void CFaultyFileSystem::AddGeneratedFile(const std::wstring& path, uint64_t size, const std::string& pattern)
{
    auto file = std::make_shared<SFile>();
    file->generatedSize = size;
    file->pattern = pattern;
    m_files[path] = file;
}

void CFaultyFileSystem::AddFolder(const std::wstring& path)
{
    auto folder = std::make_shared<SFile>();
    folder->isFolder = true;
    folder->attributes = qlfs::kAttrDirectory;
    m_files[path] = folder;
}

std::vector<std::wstring> CFaultyFileSystem::Names() const
{
    std::vector<std::wstring> names;
    for (const auto& [name, file] : m_files)
        names.push_back(name);
    return names;
}

uint32_t CFaultyFileSystem::GetAttributes(const std::wstring& path)
{
    auto it = m_files.find(path);
    if (it == m_files.end() || Fails(EOp::GetAttributes, path))
        return qlfs::kInvalidAttributes;
    return it->second->attributes;
}

bool CFaultyFileSystem::SetAttributes(const std::wstring& path, uint32_t attributes)
{
    auto it = m_files.find(path);
    if (it == m_files.end() || Fails(EOp::SetAttributes, path))
        return false;
    // As SetFileAttributesW: 0 leaves a file "normal".
    it->second->attributes = attributes ? attributes : qlfs::kAttrNormal;
    return true;
}

bool CFaultyFileSystem::Exists(const std::wstring& path)
{
    return Has(path);
}

bool CFaultyFileSystem::IsFolder(const std::wstring& path)
{
    return Has(path) && m_files.at(path)->isFolder;
}

std::unique_ptr<qlfs::IReadFile> CFaultyFileSystem::OpenRead(const std::wstring& path)
{
    auto it = m_files.find(path);
    if (it == m_files.end() || it->second->isFolder || Fails(EOp::OpenRead, path))
        return nullptr;
    return std::make_unique<CMemoryReadFile>(*this, path, it->second);
}

std::unique_ptr<qlfs::IWriteFile> CFaultyFileSystem::CreateNew(const std::wstring& path, bool& nameTaken)
{
    m_created.push_back(path);
    nameTaken = Has(path);
    if (nameTaken || Fails(EOp::CreateNew, path))
        return nullptr;
    auto file = std::make_shared<SFile>();
    file->times = {Tick(), Tick()};
    m_files[path] = file;
    return std::make_unique<CMemoryWriteFile>(*this, path, file);
}

bool CFaultyFileSystem::GetTimes(const std::wstring& path, qlfs::FileTimes& times)
{
    auto it = m_files.find(path);
    if (it == m_files.end() || Fails(EOp::GetTimes, path))
        return false;
    times = it->second->times;
    return true;
}

bool CFaultyFileSystem::SetTimes(const std::wstring& path, const qlfs::FileTimes& times)
{
    auto it = m_files.find(path);
    if (it == m_files.end() || Fails(EOp::SetTimes, path))
        return false;
    it->second->times = times;
    return true;
}

bool CFaultyFileSystem::Rename(const std::wstring& from, const std::wstring& to)
{
    auto it = m_files.find(from);
    if (it == m_files.end() || Has(to) || Fails(EOp::Rename, from, to))
        return false;
    m_files[to] = it->second;
    m_files.erase(from);
    return true;
}

bool CFaultyFileSystem::Delete(const std::wstring& path)
{
    auto it = m_files.find(path);
    if (it == m_files.end() || it->second->isFolder || (it->second->attributes & qlfs::kAttrReadOnly) ||
        Fails(EOp::Delete, path))
        return false;
    m_files.erase(it);
    return true;
}

bool CFaultyFileSystem::Replace(const std::wstring& from, const std::wstring& to)
{
    auto it = m_files.find(from);
    auto target = m_files.find(to);
    bool blocked = target != m_files.end() &&
                   (target->second->isFolder || (target->second->attributes & qlfs::kAttrReadOnly));
    if (it == m_files.end() || blocked || Fails(EOp::Replace, from, to))
        return false;
    auto file = it->second;
    m_files.erase(it);
    m_files[to] = file;
    return true;
}

bool CFaultyFileSystem::Link(const std::wstring& existing, const std::wstring& newName, bool& nameTaken)
{
    nameTaken = Has(newName);
    auto it = m_files.find(existing);
    if (nameTaken || !supportsLinks || it == m_files.end() || Fails(EOp::Link, existing, newName))
        return false;
    m_files[newName] = it->second;
    return true;
}

bool CFaultyFileSystem::EnumerateFolder(const std::wstring& folder,
                                        const std::function<void(const qlfs::FolderEntry&)>& visit)
{
    if (!IsFolder(folder))
        return false;
    std::wstring prefix = folder + L"/";
    for (const auto& [name, file] : m_files) {
        if (name.compare(0, prefix.size(), prefix) != 0 || name.find(L'/', prefix.size()) != std::wstring::npos)
            continue;
        visit(qlfs::FolderEntry{name.substr(prefix.size()), file->isFolder});
    }
    return true;
}

bool CFaultyFileSystem::GetFileId(const std::wstring& path, qlfs::FileId& id)
{
    auto it = m_files.find(path);
    if (it == m_files.end())
        return false;
    id = qlfs::FileId{1, uint64_t(reinterpret_cast<uintptr_t>(it->second.get())), 0};
    return true;
}

bool CFaultyFileSystem::GetFolderId(const std::wstring& folder, qlfs::FolderId& id)
{
    auto it = m_files.find(folder);
    if (it == m_files.end() || !it->second->isFolder)
        return false;
    id.volume = 1;
    id.index = std::hash<std::wstring>{}(folder);
    return true;
}
