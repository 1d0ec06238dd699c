#include "ConvertFile.h"

#include <algorithm>
#include <climits>
#include <functional>
#include <optional>
#include <vector>

#include "CBackgroundWriter.h"
#include "LineEndingConverter.h"
#include "LineEndingFormat.h"

namespace {

constexpr size_t kNameBufferChars = 1024;  // terminator included
// Large blocks keep system calls few; small files get a buffer of their own
// size so that per-file work stays proportional to the file.
constexpr size_t kLargestBlock = size_t(1) << 20;
constexpr size_t kSmallestBlock = size_t(4) << 10;
constexpr int64_t kFlushFrom = int64_t(1) << 20;
// Attributes that may stop a file from being deleted or renamed on Windows.
constexpr uint32_t kProtectingAttributes = qlfs::kAttrReadOnly | qlfs::kAttrHidden | qlfs::kAttrSystem;

// "<path><suffix>" for 1, "<path> (n)<suffix>" from 2 on; empty when the
// name would not fit the name buffer.
std::wstring NumberedName(const std::wstring& path, uint64_t number, const wchar_t* suffix)
{
    std::wstring name = path;
    if (number > 1)
        name += L" (" + std::to_wstring(number) + L")";
    name += suffix;
    if (name.size() + 1 > kNameBufferChars)
        return {};
    return name;
}

// Walks the " (2)", " (3)" rule until `claim` takes a name, or fails on one
// that was free. `name` is the last name tried, empty once names no longer
// fit the buffer.
bool ClaimNumberedName(const std::wstring& path, const wchar_t* suffix,
                       const std::function<bool(const std::wstring& name, bool& nameTaken)>& claim,
                       std::wstring& name)
{
    for (uint64_t number = 1;; ++number) {
        name = NumberedName(path, number, suffix);
        if (name.empty())
            return false;
        bool nameTaken = false;
        if (claim(name, nameTaken))
            return true;
        if (!nameTaken)
            return false;
    }
}

std::wstring MakeFreeName(qlfs::IFileSystem& fs, const std::wstring& path, const wchar_t* suffix)
{
    std::wstring name;
    ClaimNumberedName(
        path, suffix, [&](const std::wstring& candidate, bool& taken) { return !(taken = fs.Exists(candidate)); },
        name);
    return name;
}

int ClampToInt(int64_t value)
{
    return value > INT_MAX ? INT_MAX : int(value);
}

size_t BlockSizeFor(int64_t fileSize)
{
    // One byte more than the file, so that a single read already sees its end.
    uint64_t wanted = fileSize < 0 ? kLargestBlock : uint64_t(fileSize) + 1;
    return size_t(std::clamp<uint64_t>(wanted, kSmallestBlock, kLargestBlock));
}

struct SConvertTarget {
    CLineEndingConverter& converter;
    qlfs::IWriteFile& temp;
    std::optional<CBackgroundWriter> writer;  // started with the first piece
    std::vector<uint8_t> spare;
};

bool ConvertPiece(void* context, const uint8_t* data, size_t size)
{
    auto* target = static_cast<SConvertTarget*>(context);
    size_t converted = target->converter.Convert(data, size).size();
    if (converted == 0)
        return true;
    if (!target->writer)
        target->writer.emplace(target->temp);
    target->converter.SwapOutput(target->spare);
    return target->writer->Submit(target->spare, converted);
}

// Streams the original through the converter into the temporary file.
// False on any read or write error: the temporary file is then incomplete.
//
// Files are read into a buffer, not mapped: measured side by side, reading
// was never far from the better of the two, while page faults on a mapping
// cost very different amounts on different machines.
bool CopyConverted(qlfs::IReadFile& original, qlfs::IWriteFile& temp, int format, int64_t size,
                   CProgressSink* sink)
{
    CLineEndingConverter converter(format, sink);
    // Large files are written on a second thread, so that converting the next
    // block overlaps the kernel's copy of the last one.
    SConvertTarget target{converter, temp, std::nullopt, {}};
    const bool inBackground = size > int64_t(kLargestBlock);
    std::vector<uint8_t> buffer(BlockSizeFor(size));
    int64_t total = 0;
    for (;;) {
        int64_t got = original.Read(buffer.data(), buffer.size());
        if (got < 0)
            return false;
        if (got == 0)
            break;
        total += got;
        if (inBackground) {
            if (!ConvertPiece(&target, buffer.data(), size_t(got)))
                return false;
        } else {
            std::span<const uint8_t> piece = converter.Convert(buffer.data(), size_t(got));
            if (!piece.empty() && !temp.Write(piece.data(), piece.size()))
                return false;
        }
        // A short read that reaches the known size is the end: this saves
        // the extra read per file that would only report it.
        if (total == size && size_t(got) < buffer.size())
            break;
    }
    if (target.writer && !target.writer->Finish())
        return false;
    std::span<const uint8_t> rest = converter.Finish();
    return rest.empty() || temp.Write(rest.data(), rest.size());
}

// Claims the first free name of the " (2)", " (3)" rule by creating it: a
// name that another process takes first is simply passed over. Where the
// platform can, the file is written without a name and named only once it
// is complete (NameTempFile), so no listing ever shows it half-written.
std::unique_ptr<qlfs::IWriteFile> CreateTempFile(qlfs::IFileSystem& fs, const std::wstring& path,
                                                 std::wstring& tempName)
{
    tempName.clear();
    std::unique_ptr<qlfs::IWriteFile> file = fs.CreateUnnamed(path);
    if (file)
        return file;
    ClaimNumberedName(
        path, L".tmp",
        [&](const std::wstring& name, bool& taken) { return (file = fs.CreateTemporary(name, taken)) != nullptr; },
        tempName);
    return file;
}

bool NameTempFile(qlfs::IWriteFile& temp, const std::wstring& path, std::wstring& tempName)
{
    if (temp.HasName())
        return true;
    return ClaimNumberedName(
        path, L".tmp", [&](const std::wstring& name, bool& taken) { return temp.Name(name, taken); }, tempName);
}

enum class ELinkResult { kLinked, kUnsupported, kFailed };

// Gives the original a second name under the first free backup name, so that
// the backup exists before the original's name is taken over.
ELinkResult LinkBackup(qlfs::IFileSystem& fs, const std::wstring& path, std::wstring& backupName)
{
    if (ClaimNumberedName(
            path, L".bak", [&](const std::wstring& name, bool& taken) { return fs.Link(path, name, taken); },
            backupName))
        return ELinkResult::kLinked;
    return backupName.empty() ? ELinkResult::kFailed : ELinkResult::kUnsupported;
}

struct SReplaceRequest {
    const std::wstring& path;
    qlfs::IWriteFile& temp;
    const std::wstring& tempName;
    uint32_t attributes;  // A, read before the conversion
    bool backupOriginal;
    bool cleared = false;  // the attributes that block a replace were taken off the original
};

// The temporary file may already carry a kept read-only attribute, which
// would stop the delete on Windows.
void DeleteTemp(qlfs::IFileSystem& fs, qlfs::IWriteFile& temp, const std::wstring& tempName)
{
    if (temp.MovesItself()) {
        temp.Discard();
        return;
    }
    if (!fs.Delete(tempName) && fs.SetAttributes(tempName, 0))
        fs.Delete(tempName);
}

// Moves the complete temporary file to `target`, through the file itself
// where it can: a name that another program took over is never moved.
bool MoveTemp(qlfs::IFileSystem& fs, const SReplaceRequest& request, const std::wstring& target, bool replace)
{
    if (request.temp.MovesItself())
        return request.temp.MoveTo(target, replace);
    return replace ? fs.Replace(request.tempName, target) : fs.Rename(request.tempName, target);
}

// Where hard links are missing, a backup is made the old way: the original is
// renamed to its backup name, then the temporary file to the original's name.
int ReplaceThroughRename(qlfs::IFileSystem& fs, const SReplaceRequest& request, ConvertOutcome* outcome,
                         const std::function<int()>& abandon)
{
    std::wstring backupName = MakeBackupName(fs, request.path);
    if (backupName.empty() || !fs.Rename(request.path, backupName))
        return abandon();
    if (request.cleared)
        fs.SetAttributes(backupName, request.attributes);
    if (!MoveTemp(fs, request, request.path, false)) {
        // The temporary file now holds the only converted copy: keep it.
        if (outcome)
            outcome->keptConvertedName = request.tempName;
        return -1;
    }
    return 0;
}

// Puts the complete temporary file in the original's place. The name holds
// the original until the one-step replace, and the converted file after it.
int ReplaceOriginal(qlfs::IFileSystem& fs, SReplaceRequest request, ConvertOutcome* outcome)
{
    const std::wstring& path = request.path;
    const bool cleared = request.attributes != qlfs::kInvalidAttributes &&
                         (request.attributes & fs.ReplaceBlockingAttributes());
    request.cleared = cleared;
    if (cleared)
        fs.SetAttributes(path, 0);
    std::function<int()> abandon = [&] {
        // The original is still under its name: give it its attributes back.
        if (cleared)
            fs.SetAttributes(path, request.attributes);
        DeleteTemp(fs, request.temp, request.tempName);
        return -1;
    };
    std::wstring backupName;
    if (request.backupOriginal) {
        ELinkResult linked = LinkBackup(fs, path, backupName);
        if (linked == ELinkResult::kFailed)
            return abandon();
        if (linked == ELinkResult::kUnsupported)
            return ReplaceThroughRename(fs, request, outcome, abandon);
    }
    if (!MoveTemp(fs, request, path, true)) {
        if (!backupName.empty())
            fs.Delete(backupName);
        return abandon();
    }
    // The backup is the original's file itself, so it gets A back.
    if (cleared && !backupName.empty())
        fs.SetAttributes(backupName, request.attributes);
    return 0;
}

// Whether the temporary file is forced to the device before it replaces the
// original, so that a power loss right after the replace cannot leave the
// name holding a file whose data never reached the disk. Measured on ext4,
// forcing added 0-12% to files of 4-16 MiB and 11-23% to 256 MiB (a rename
// over a file starts their write-back anyway), but about doubled the time of
// runs over many small files; so only files of a megabyte or more are forced.
bool ShouldFlush(int64_t size)
{
    return size >= kFlushFrom;
}

}  // namespace

std::wstring MakeTempName(qlfs::IFileSystem& fs, const std::wstring& path)
{
    return MakeFreeName(fs, path, L".tmp");
}

std::wstring MakeBackupName(qlfs::IFileSystem& fs, const std::wstring& path)
{
    return MakeFreeName(fs, path, L".bak");
}

int ConvertFile(qlfs::IFileSystem& fs, const std::wstring& givenPath, int format, bool keepTimestamps,
                bool keepAttributes, bool convertReadOnly, bool backupOriginal, CProgressSink* sink,
                ConvertOutcome* outcome)
{
    if (outcome)
        outcome->keptConvertedName.clear();
    // A link is followed to its file, which is converted where it lies: the
    // link itself stays a link.
    const std::wstring path = fs.ResolveFileLink(givenPath);
    if (path.empty())
        return -1;
    // A missing file reads as all bits set, read-only included.
    uint32_t attributes = fs.GetAttributes(path);
    if ((attributes & qlfs::kAttrReadOnly) && !convertReadOnly)
        return -1;
    std::unique_ptr<qlfs::IReadFile> original = fs.OpenRead(path);
    if (!original)
        return -1;
    std::wstring tempName;
    std::unique_ptr<qlfs::IWriteFile> temp = CreateTempFile(fs, path, tempName);
    if (!temp)
        return -1;

    int64_t size = original->Size();
    if (sink)
        sink->OnBegin(ClampToInt(std::max<int64_t>(size, 0) / 1024));
    bool converterRan = IsLineEndingFormat(format);
    bool complete = converterRan && size >= 0 && CopyConverted(*original, *temp, format, size, sink);
    // Times, attributes and owner go onto the temporary file through its
    // handle, before it has a name anyone else looks at; the original's are
    // read after it has been read.
    qlfs::FileMetadata metadata;
    complete = complete && original->GetMetadata(metadata) &&
               temp->ApplyMetadata(metadata, keepTimestamps, keepAttributes);
    complete = complete && (!ShouldFlush(size) || temp->Flush());
    // Where the platform lets a file be replaced while it is open, the
    // original stays open until after the replace. Its last close then frees
    // its storage here, instead of inside the rename while the folder is
    // locked, so conversions of other files in the folder can go on meanwhile.
    std::unique_ptr<qlfs::IReadFile> replaced;
    if (fs.CanReplaceOpenFiles())
        replaced = std::move(original);
    original.reset();
    // An unnamed file is named while still open: its last close would free it.
    complete = complete && NameTempFile(*temp, path, tempName);
    // A failed close may mean that buffered data never reached the disk.
    complete = temp->Close() && complete;
    if (sink)
        sink->OnEnd();
    if (!complete) {
        DeleteTemp(fs, *temp, tempName);
        return -1;
    }
    return ReplaceOriginal(fs, SReplaceRequest{path, *temp, tempName, attributes, backupOriginal}, outcome);
}

int ConvertFile(const wchar_t* path, int format, int keepTimestamps, int keepAttributes, int convertReadOnly,
                int backupOriginal, CProgressSink* sink)
{
    if (!path)
        return -1;
    return ConvertFile(qlfs::PlatformFileSystem(), path, format, keepTimestamps != 0, keepAttributes != 0,
                       convertReadOnly != 0, backupOriginal != 0, sink, nullptr);
}
