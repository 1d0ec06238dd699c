#pragma once
// The file operations the converter and the folder scan need, behind one small
// interface so that the same logic runs on Win32, on POSIX and against a
// fault-injecting double in tests.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace qlfs {

// Windows attribute bits; the POSIX backend maps read-only to the owner-write bit.
constexpr uint32_t kAttrReadOnly = 0x1;
constexpr uint32_t kAttrHidden = 0x2;
constexpr uint32_t kAttrSystem = 0x4;
constexpr uint32_t kAttrDirectory = 0x10;
constexpr uint32_t kAttrArchive = 0x20;
constexpr uint32_t kAttrNormal = 0x80;
constexpr uint32_t kInvalidAttributes = 0xFFFFFFFF;  // "no such file", as GetFileAttributesW

// Times as whole seconds since 1970 (the converter carries no fractions).
struct FileTimes {
    int64_t lastAccess = 0;
    int64_t lastWrite = 0;
};

class IReadFile {
public:
    virtual ~IReadFile() = default;
    // Bytes read, 0 at the end, -1 on a read error.
    virtual int64_t Read(void* buffer, size_t size) = 0;
    // Size in bytes, -1 when it cannot be determined.
    virtual int64_t Size() = 0;

    // Zero-copy reading for backends that can map the file: hands the whole
    // content to `consume` in pieces of at most `pieceSize` bytes, straight
    // from the file's pages. Returns kMappedDone after the last piece,
    // kMappedFailed when the file could not be read (also when it shrank
    // underneath us) or `consume` returned false, and kMappedUnsupported when
    // the caller should use Read() instead; then nothing was consumed.
    enum MappedResult { kMappedDone, kMappedFailed, kMappedUnsupported };
    using PieceConsumer = bool (*)(void* context, const uint8_t* data, size_t size);
    virtual MappedResult ConsumeMapped(size_t /*pieceSize*/, PieceConsumer /*consume*/, void* /*context*/)
    {
        return kMappedUnsupported;
    }
};

class IWriteFile {
public:
    virtual ~IWriteFile() = default;
    // False unless every byte was written (a full disk is a failure).
    virtual bool Write(const void* data, size_t size) = 0;
    // Flushes and closes; false if anything written may not have reached the file.
    virtual bool Close() = 0;
};

// Identity of a folder on its volume, used to notice link cycles while scanning.
struct FolderId {
    uint64_t volume = 0;
    uint64_t index = 0;
    bool operator==(const FolderId&) const = default;
};

struct FolderEntry {
    std::wstring name;
    bool isFolder = false;
};

class IFileSystem {
public:
    virtual ~IFileSystem() = default;

    virtual uint32_t GetAttributes(const std::wstring& path) = 0;  // kInvalidAttributes if missing
    virtual bool SetAttributes(const std::wstring& path, uint32_t attributes) = 0;
    virtual bool Exists(const std::wstring& path) = 0;
    virtual bool IsFolder(const std::wstring& path) = 0;

    virtual std::unique_ptr<IReadFile> OpenRead(const std::wstring& path) = 0;    // null on failure
    virtual std::unique_ptr<IWriteFile> CreateWrite(const std::wstring& path) = 0;  // truncates

    virtual bool GetTimes(const std::wstring& path, FileTimes& times) = 0;
    virtual bool SetTimes(const std::wstring& path, const FileTimes& times) = 0;

    // Fails when `to` exists, like MoveFileW.
    virtual bool Rename(const std::wstring& from, const std::wstring& to) = 0;
    virtual bool Delete(const std::wstring& path) = 0;

    // Calls `visit` for each entry except "." and "..", in the file system's order.
    // False if the enumeration could not start.
    virtual bool EnumerateFolder(const std::wstring& folder,
                                 const std::function<void(const FolderEntry&)>& visit) = 0;
    virtual bool GetFolderId(const std::wstring& folder, FolderId& id) = 0;
    // The absolute form of a path, as GetFullPathNameW would give it.
    virtual std::wstring FullPath(const std::wstring& path) = 0;
};

// The real file system of the platform the program runs on.
IFileSystem& PlatformFileSystem();

// Separator used to join a folder and an entry name.
#ifdef _WIN32
constexpr wchar_t kPathSeparator = L'\\';
#else
constexpr wchar_t kPathSeparator = L'/';
#endif

}  // namespace qlfs
