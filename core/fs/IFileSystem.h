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

// What an open file tells about itself, to be carried over to its replacement.
struct FileMetadata {
    uint32_t attributes = 0;  // as GetAttributes reports them
    FileTimes times;
    int64_t owner = -1;  // POSIX user and group; -1 where the platform has none
    int64_t group = -1;
};

class IReadFile {
public:
    virtual ~IReadFile() = default;
    // Bytes read, 0 at the end, -1 on a read error.
    virtual int64_t Read(void* buffer, size_t size) = 0;
    // Size in bytes, -1 when it cannot be determined.
    virtual int64_t Size() = 0;

    // The open file's attributes, times and owner, read through the handle.
    virtual bool GetMetadata(FileMetadata& metadata) = 0;
};

class IWriteFile {
public:
    virtual ~IWriteFile() = default;
    // False unless every byte was written (a full disk is a failure).
    virtual bool Write(const void* data, size_t size) = 0;
    // Gives the file, through its handle, the owner of `original` where the
    // platform has owners and the process may, and its times and attributes
    // when asked. False if anything asked for could not be set.
    virtual bool ApplyMetadata(const FileMetadata& original, bool times, bool attributes) = 0;
    // Forces the written data to the device before the file takes another's name.
    virtual bool Flush() = 0;
    // Flushes and closes; false if anything written may not have reached the file.
    // A file that moves itself (see MovesItself) may keep its handle until
    // MoveTo or Discard, so that nobody can open it before it is in place.
    virtual bool Close() = 0;

    // A temporary copy is private until it replaces the original: a file
    // that moves itself is put in place, or deleted, through what it knows
    // of itself (its handle, or its device and inode), never by a name that
    // another program may have taken over meanwhile. Files that do not are
    // moved by name through IFileSystem.
    virtual bool MovesItself() const { return false; }
    // False for a file created without a name (CreateUnnamed) until Name.
    virtual bool HasName() const { return true; }
    // Gives an unnamed, complete file its first name; false when the name is
    // taken (`nameTaken` set) or on failure.
    virtual bool Name(const std::wstring& name, bool& nameTaken)
    {
        nameTaken = false;
        (void)name;
        return false;
    }
    // Puts this very file under `target` in one step, replacing an existing
    // file there only when `replaceExisting`. False, with `target` untouched,
    // when the file's own name no longer refers to it.
    virtual bool MoveTo(const std::wstring& target, bool replaceExisting)
    {
        (void)target;
        (void)replaceExisting;
        return false;
    }
    // Deletes the file, and its name only while that still refers to it.
    virtual bool Discard() { return false; }
};

// Identity of a folder on its volume, used to notice link cycles while scanning.
struct FolderId {
    uint64_t volume = 0;
    uint64_t index = 0;
    bool operator==(const FolderId&) const = default;
};

// Identity of a file: device and inode on POSIX, volume serial number and
// file index on Windows. Two names with one identity are one file.
struct FileId {
    uint64_t volume = 0;
    uint64_t index = 0;
    uint64_t indexHigh = 0;  // file systems with 128-bit file IDs (ReFS)
    bool operator==(const FileId&) const = default;
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

    // Null on failure, and for anything that is not a regular disk file
    // (folders, FIFOs, sockets, devices): those are never opened in a way
    // that could block.
    virtual std::unique_ptr<IReadFile> OpenRead(const std::wstring& path) = 0;
    // Creates a file that did not exist (O_EXCL, CREATE_NEW). Null on failure;
    // `nameTaken` then says whether the name was already in use.
    virtual std::unique_ptr<IWriteFile> CreateNew(const std::wstring& path, bool& nameTaken) = 0;
    // Like CreateNew, for a temporary copy that no other program may open,
    // rename or delete while it is written, where the platform allows that.
    virtual std::unique_ptr<IWriteFile> CreateTemporary(const std::wstring& path, bool& nameTaken)
    {
        return CreateNew(path, nameTaken);
    }
    // A file without a name in the folder of `besidePath`, invisible to every
    // listing until it is named; null where the platform has no such files.
    virtual std::unique_ptr<IWriteFile> CreateUnnamed(const std::wstring& besidePath)
    {
        (void)besidePath;
        return nullptr;
    }

    virtual bool GetTimes(const std::wstring& path, FileTimes& times) = 0;
    virtual bool SetTimes(const std::wstring& path, const FileTimes& times) = 0;

    // Fails when `to` exists, like MoveFileW.
    virtual bool Rename(const std::wstring& from, const std::wstring& to) = 0;
    // Puts `from` in the place of the existing `to` in one step, so that the
    // name always holds one of the two files.
    virtual bool Replace(const std::wstring& from, const std::wstring& to) = 0;
    // A second name for an existing file (a hard link). False when the name is
    // taken (`nameTaken` set) or the file system has no such links.
    virtual bool Link(const std::wstring& existing, const std::wstring& newName, bool& nameTaken) = 0;
    // Attributes that stop Replace from taking the target's name; the
    // converter clears them on the original first.
    virtual uint32_t ReplaceBlockingAttributes() const = 0;
    // Whether Replace works while the file it replaces is still open.
    virtual bool CanReplaceOpenFiles() const { return false; }
    // The file a path stands for: a symbolic link's final target, otherwise
    // the path itself. Empty for a dangling link.
    virtual std::wstring ResolveFileLink(const std::wstring& path) = 0;
    virtual bool Delete(const std::wstring& path) = 0;

    // Calls `visit` for each entry except "." and "..", in the file system's order.
    // False if the enumeration could not start.
    virtual bool EnumerateFolder(const std::wstring& folder,
                                 const std::function<void(const FolderEntry&)>& visit) = 0;
    virtual bool GetFolderId(const std::wstring& folder, FolderId& id) = 0;
    // The identity of the file a path stands for, following links as the
    // conversion does. False when it cannot be read (a missing file); the
    // caller then tells files apart by their full paths.
    virtual bool GetFileId(const std::wstring& /*path*/, FileId& /*id*/) { return false; }
    // The absolute form of a path, as GetFullPathNameW would give it; empty
    // when a relative path cannot be anchored (no readable current folder).
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
