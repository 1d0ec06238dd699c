#include "ConvertFile.h"

#include <algorithm>
#include <climits>
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
constexpr size_t kMappedPiece = size_t(256) << 10;
// Attributes that may stop a file from being deleted or renamed on Windows.
constexpr uint32_t kProtectingAttributes = qlfs::kAttrReadOnly | qlfs::kAttrHidden | qlfs::kAttrSystem;

std::wstring MakeFreeName(qlfs::IFileSystem& fs, const std::wstring& path, const wchar_t* suffix)
{
    for (uint64_t number = 1;; ++number) {
        std::wstring name = path;
        if (number > 1)
            name += L" (" + std::to_wstring(number) + L")";
        name += suffix;
        if (name.size() + 1 > kNameBufferChars)
            return {};
        if (!fs.Exists(name))
            return name;
    }
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

// Converts a mapped file while a second thread writes the converted blocks.
qlfs::IReadFile::MappedResult ConvertMapped(qlfs::IReadFile& original, qlfs::IWriteFile& temp,
                                            CLineEndingConverter& converter)
{
    SConvertTarget target{converter, temp, std::nullopt, {}};
    auto mapped = original.ConsumeMapped(kMappedPiece, ConvertPiece, &target);
    if (mapped == qlfs::IReadFile::kMappedDone && target.writer && !target.writer->Finish())
        return qlfs::IReadFile::kMappedFailed;
    return mapped;
}

// Streams the original through the converter into the temporary file.
// False on any read or write error: the temporary file is then incomplete.
bool CopyConverted(qlfs::IReadFile& original, qlfs::IWriteFile& temp, int format, int64_t size,
                   CProgressSink* sink)
{
    CLineEndingConverter converter(format, sink);
    // Large files are converted straight from their mapped pages, which saves
    // copying the whole input once; pieces stay small so that the converted
    // output is still in the cache when it is written.
    auto mapped = ConvertMapped(original, temp, converter);
    if (mapped == qlfs::IReadFile::kMappedFailed)
        return false;
    // After a mapping, read on to the real end in case the file grew meanwhile.
    bool wasMapped = mapped == qlfs::IReadFile::kMappedDone;
    std::vector<uint8_t> buffer(wasMapped ? kSmallestBlock : BlockSizeFor(size));
    if (wasMapped)
        size = -1;
    int64_t total = 0;
    for (;;) {
        int64_t got = original.Read(buffer.data(), buffer.size());
        if (got < 0)
            return false;
        if (got == 0)
            break;
        total += got;
        std::span<const uint8_t> piece = converter.Convert(buffer.data(), size_t(got));
        if (!piece.empty() && !temp.Write(piece.data(), piece.size()))
            return false;
        // A short read that reaches the known size is the end: this saves
        // the extra read per file that would only report it.
        if (total == size && size_t(got) < buffer.size())
            break;
    }
    std::span<const uint8_t> rest = converter.Finish();
    return rest.empty() || temp.Write(rest.data(), rest.size());
}

struct SReplaceRequest {
    const std::wstring& path;
    const std::wstring& tempName;
    uint32_t attributes;  // A, read before the conversion
    bool keepTimestamps;
    bool keepAttributes;
    bool backupOriginal;
};

// Steps after a complete temporary file exists: times, moving the original
// aside (or deleting it), the final rename and the attributes.
int ReplaceOriginal(qlfs::IFileSystem& fs, const SReplaceRequest& request, ConvertOutcome* outcome)
{
    const std::wstring& path = request.path;
    if (request.keepTimestamps) {
        qlfs::FileTimes times;
        if (!fs.GetTimes(path, times) || !fs.SetTimes(request.tempName, times)) {
            fs.Delete(request.tempName);
            return -1;
        }
    }
    // Clearing is only needed where an attribute could block the delete or
    // rename; skipping it otherwise saves a call per file and ends the same.
    bool cleared = request.attributes != qlfs::kInvalidAttributes && (request.attributes & kProtectingAttributes);
    if (cleared)
        fs.SetAttributes(path, 0);
    auto abandon = [&] {
        // The original is still under its name: give it its attributes back.
        if (cleared)
            fs.SetAttributes(path, request.attributes);
        fs.Delete(request.tempName);
        return -1;
    };
    if (request.backupOriginal) {
        std::wstring backupName = MakeBackupName(fs, path);
        if (backupName.empty() || !fs.Rename(path, backupName))
            return abandon();
        if (cleared)
            fs.SetAttributes(backupName, request.attributes);
    } else if (!fs.Delete(path)) {
        return abandon();
    }
    if (!fs.Rename(request.tempName, path)) {
        // The temporary file now holds the only converted copy: keep it.
        if (outcome)
            outcome->keptConvertedName = request.tempName;
        return -1;
    }
    if (request.keepAttributes && !fs.SetAttributes(path, request.attributes))
        return -1;
    return 0;
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

int ConvertFile(qlfs::IFileSystem& fs, const std::wstring& path, int format, bool keepTimestamps,
                bool keepAttributes, bool convertReadOnly, bool backupOriginal, CProgressSink* sink,
                ConvertOutcome* outcome)
{
    if (outcome)
        outcome->keptConvertedName.clear();
    // A missing file reads as all bits set, read-only included.
    uint32_t attributes = fs.GetAttributes(path);
    if ((attributes & qlfs::kAttrReadOnly) && !convertReadOnly)
        return -1;
    std::unique_ptr<qlfs::IReadFile> original = fs.OpenRead(path);
    if (!original)
        return -1;
    std::wstring tempName = MakeTempName(fs, path);
    if (tempName.empty())
        return -1;
    std::unique_ptr<qlfs::IWriteFile> temp = fs.CreateWrite(tempName);
    if (!temp)
        return -1;

    int64_t size = original->Size();
    if (sink)
        sink->OnBegin(ClampToInt(std::max<int64_t>(size, 0) / 1024));
    bool converterRan = IsLineEndingFormat(format);
    bool complete = converterRan && size >= 0 && CopyConverted(*original, *temp, format, size, sink);
    original.reset();
    // A failed close may mean that buffered data never reached the disk.
    complete = temp->Close() && complete;
    temp.reset();
    if (sink)
        sink->OnEnd();
    if (!complete) {
        fs.Delete(tempName);
        return -1;
    }
    SReplaceRequest request{path, tempName, attributes, keepTimestamps, keepAttributes, backupOriginal};
    return ReplaceOriginal(fs, request, outcome);
}

int ConvertFile(const wchar_t* path, int format, int keepTimestamps, int keepAttributes, int convertReadOnly,
                int backupOriginal, CProgressSink* sink)
{
    if (!path)
        return -1;
    return ConvertFile(qlfs::PlatformFileSystem(), path, format, keepTimestamps != 0, keepAttributes != 0,
                       convertReadOnly != 0, backupOriginal != 0, sink, nullptr);
}
