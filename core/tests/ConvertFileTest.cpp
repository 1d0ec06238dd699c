// ConvertFile's steps against the in-memory file system: names, options,
// the sink's calls, and what stays on disk after every kind of failure.
#include <gtest/gtest.h>

#include <climits>

#include "ConvertFile.h"
#include "FaultyFileSystemSupport.h"
#include "RecordingSink.h"

namespace {

using EOp = CFaultyFileSystem::EOp;
using Calls = std::vector<std::string>;
constexpr uint32_t kReadOnlyHidden = qlfs::kAttrReadOnly | qlfs::kAttrHidden;

struct SOptions {
    int format = 2;
    bool keepTimestamps = false;
    bool keepAttributes = false;
    bool convertReadOnly = false;
    bool backupOriginal = false;
};

int Convert(CFaultyFileSystem& fs, const std::wstring& path, SOptions o, CProgressSink* sink = nullptr,
            ConvertOutcome* outcome = nullptr)
{
    return ConvertFile(fs, path, o.format, o.keepTimestamps, o.keepAttributes, o.convertReadOnly,
                       o.backupOriginal, sink, outcome);
}

TEST(ConvertFile, ReplacesTheFileAndPicksFreeTemporaryAndBackupNames)
{
    CFaultyFileSystem fs;
    fs.AddFile(L"x.txt", "a\r\nb\rc\n");
    fs.AddFile(L"x.txt.tmp", "someone else's");
    fs.AddFile(L"x.txt.bak", "older backup");
    EXPECT_EQ(Convert(fs, L"x.txt", {.format = 0, .backupOriginal = true}), 0);
    EXPECT_EQ(fs.File(L"x.txt").content, "a\r\nb\r\nc\r\n");
    EXPECT_EQ(fs.CreatedNames(), (std::vector<std::wstring>{L"x.txt.tmp", L"x.txt (2).tmp"}));
    EXPECT_EQ(fs.File(L"x.txt (2).bak").content, "a\r\nb\rc\n");
    EXPECT_EQ(fs.File(L"x.txt.tmp").content, "someone else's");
    EXPECT_EQ(fs.File(L"x.txt.bak").content, "older backup");
    EXPECT_FALSE(fs.Has(L"x.txt (2).tmp"));

    // Same content in the target format is still rewritten; a third backup
    // goes to " (3)".
    EXPECT_EQ(Convert(fs, L"x.txt", {.format = 0, .backupOriginal = true}), 0);
    EXPECT_EQ(fs.File(L"x.txt (3).bak").content, "a\r\nb\r\nc\r\n");
    EXPECT_EQ(fs.Names().size(), 5u);

    // A name that would not fit the 1024-character buffer is refused.
    std::wstring fits(1019, L'f'), tooLong(1020, L'g');
    EXPECT_EQ(MakeTempName(fs, fits), fits + L".tmp");
    EXPECT_EQ(MakeBackupName(fs, tooLong), L"");
    fs.AddFile(tooLong, "x");
    EXPECT_EQ(Convert(fs, tooLong, {}), -1);
    EXPECT_EQ(fs.File(tooLong).content, "x");
}

TEST(ConvertFile, ReportsProgressInKibibytes)
{
    CFaultyFileSystem fs;
    fs.AddFile(L"plain", std::string(3000, 'q'));
    fs.AddFile(L"empty", "");
    CRecordingSink sink, emptySink, refusedSink;
    EXPECT_EQ(Convert(fs, L"plain", {}, &sink), 0);
    EXPECT_EQ(sink.Calls(), (Calls{"begin 2", "progress 1", "progress 2", "end"}));
    EXPECT_EQ(Convert(fs, L"empty", {}, &emptySink), 0);
    EXPECT_EQ(emptySink.Calls(), (Calls{"begin 0", "end"}));
    EXPECT_EQ(fs.File(L"empty").content, "");
    EXPECT_EQ(Convert(fs, L"missing", {.convertReadOnly = true}, &refusedSink), -1);
    EXPECT_TRUE(refusedSink.Calls().empty());
}

TEST(ConvertFile, ReadOnlyFilesAttributesAndTimes)
{
    CFaultyFileSystem fs;
    const qlfs::FileTimes old{1000000000, 1100000000};
    fs.AddFile(L"ro", "a\r\n", kReadOnlyHidden, old);
    EXPECT_EQ(Convert(fs, L"ro", {}), -1);
    EXPECT_EQ(fs.Names(), std::vector<std::wstring>{L"ro"});

    // Converted without keeping anything: a fresh file with fresh times.
    EXPECT_EQ(Convert(fs, L"ro", {.convertReadOnly = true}), 0);
    EXPECT_EQ(fs.File(L"ro").content, "a\n");
    EXPECT_EQ(fs.File(L"ro").attributes, qlfs::kAttrArchive);
    EXPECT_NE(fs.File(L"ro").times.lastWrite, old.lastWrite);

    fs.AddFile(L"keep", "b\n", kReadOnlyHidden | qlfs::kAttrSystem, old);
    EXPECT_EQ(Convert(fs, L"keep", {.format = 1, .keepTimestamps = true, .keepAttributes = true,
                                    .convertReadOnly = true, .backupOriginal = true}),
              0);
    EXPECT_EQ(fs.File(L"keep").content, "b\r");
    EXPECT_EQ(fs.File(L"keep").attributes, kReadOnlyHidden | qlfs::kAttrSystem);
    EXPECT_EQ(fs.File(L"keep").times.lastAccess, old.lastAccess);
    EXPECT_EQ(fs.File(L"keep").times.lastWrite, old.lastWrite);
    // The backup carries the original's attributes.
    EXPECT_EQ(fs.File(L"keep.bak").attributes, kReadOnlyHidden | qlfs::kAttrSystem);
    EXPECT_EQ(fs.File(L"keep.bak").content, "b\n");
}

class CBeginSink final : public CProgressSink {
public:
    int OnNotify(int, int) override { return 0; }
    int OnBegin(int totalKiB) override { return begin = totalKiB; }
    int OnEnd() override { return ++ends; }
    int OnProgress(int doneKiB) override { return last = doneKiB; }
    int begin = -1, ends = 0, last = 0;
};

std::string MixedLines(size_t size)
{
    const std::string pattern = "line one\r\nsecond\nthird\r\r\n";
    std::string text;
    while (text.size() < size)
        text += pattern;
    text.resize(size);
    return text;
}

// Every failure leaves the original as it was, attributes included, and no
// temporary file behind: for a small file written in one piece, and for a
// large one whose blocks go through the background writer.
TEST(ConvertFile, FailuresLeaveTheOriginalIntact)
{
    struct SCase {
        const char* name;
        SOptions options;
        std::function<bool(EOp, const std::wstring&, const std::wstring&)> fail;
        bool opened = true;  // the sink sees begin and end
        bool linksSupported = true;
        bool largeOnly = false;  // a small file is read and written in one piece
    };
    auto on = [](EOp which) { return [which](EOp op, const std::wstring&, const std::wstring&) { return op == which; }; };
    int count = 0;
    auto nth = [&](EOp which, int n) {
        return [&count, which, n](EOp op, const std::wstring&, const std::wstring&) { return op == which && ++count == n; };
    };
    auto second = [&](EOp which) { return nth(which, 2); };
    const SOptions base{.convertReadOnly = true};
    const SOptions backup{.convertReadOnly = true, .backupOriginal = true};
    // With -ka the temporary file is read-only from the moment its attributes
    // are set: a failure after that must still remove it.
    const SOptions kept{.keepAttributes = true, .convertReadOnly = true};
    const SOptions keptBackup{.keepAttributes = true, .convertReadOnly = true, .backupOriginal = true};
    const SCase cases[] = {
        {"format 3", {.format = 3, .convertReadOnly = true}, nullptr},
        {"format -1", {.format = -1, .convertReadOnly = true}, nullptr},
        {"open original", base, on(EOp::OpenRead), false},
        {"create temporary", base, on(EOp::CreateNew), false},
        {"first read", base, on(EOp::Read)},
        {"second read", base, second(EOp::Read), true, true, true},
        {"first write (full disk)", base, on(EOp::Write)},
        {"second write", base, second(EOp::Write), true, true, true},
        // The fourth block is the last: only the wait for the writer sees it fail.
        {"last write of a large file", base, nth(EOp::Write, 4), true, true, true},
        {"close temporary", base, on(EOp::Close)},
        {"flush a large file", base, on(EOp::Flush), true, true, true},
        {"read the original's times", {.keepTimestamps = true, .convertReadOnly = true}, on(EOp::GetTimes)},
        {"set times", {.keepTimestamps = true, .convertReadOnly = true}, on(EOp::SetTimes)},
        {"set attributes", {.keepAttributes = true, .convertReadOnly = true}, on(EOp::SetAttributes)},
        {"replace", base, on(EOp::Replace)},
        {"replace after the backup link", backup, on(EOp::Replace)},
        {"rename to backup without links", backup, on(EOp::Rename), true, false},
        {"close a read-only temporary (-ka)", kept, on(EOp::Close)},
        {"flush a read-only temporary (-ka)", kept, on(EOp::Flush), true, true, true},
        {"replace with a read-only temporary (-ka)", kept, on(EOp::Replace)},
        {"replace after the backup link (-ka)", keptBackup, on(EOp::Replace)},
        {"rename to backup without links (-ka)", keptBackup, on(EOp::Rename), true, false},
    };
    for (size_t size : {size_t(10), size_t(3345728)}) {
        const std::string content = MixedLines(size);
        for (const SCase& c : cases) {
            if (c.largeOnly && size < 1000)
                continue;
            SCOPED_TRACE(std::string(c.name) + ", " + std::to_string(size) + " bytes");
            CFaultyFileSystem fs;
            fs.supportsLinks = c.linksSupported;
            fs.AddFile(L"x.txt", content, kReadOnlyHidden, {5, 6});
            fs.failWhen = c.fail;
            count = 0;
            CRecordingSink sink;
            EXPECT_EQ(Convert(fs, L"x.txt", c.options, &sink), -1);
            EXPECT_EQ(fs.Names(), std::vector<std::wstring>{L"x.txt"});
            EXPECT_TRUE(fs.File(L"x.txt").content == content);
            EXPECT_EQ(fs.File(L"x.txt").attributes, kReadOnlyHidden);
            EXPECT_EQ(fs.File(L"x.txt").times.lastWrite, 6);
            EXPECT_EQ(!sink.Calls().empty(), c.opened);
            if (c.opened) {
                EXPECT_EQ(sink.Calls().back(), "end");
            }
        }
    }
}

// A taken temporary or backup name is passed over, whatever holds it: the
// file created is always a new one, never someone else's.
TEST(ConvertFile, ClaimsFreeNamesAndKeepsTheOriginalAsALinkedBackup)
{
    CFaultyFileSystem fs;
    fs.AddFile(L"x.txt", "a\nb\n", qlfs::kAttrReadOnly);
    fs.AddFile(L"x.txt.tmp", "another run's");
    fs.AddFolder(L"x.txt (2).tmp");
    fs.AddFile(L"x.txt.bak", "old");
    EXPECT_EQ(Convert(fs, L"x.txt", {.format = 0, .convertReadOnly = true, .backupOriginal = true}), 0);
    EXPECT_EQ(fs.CreatedNames(), (std::vector<std::wstring>{L"x.txt.tmp", L"x.txt (2).tmp", L"x.txt (3).tmp"}));
    EXPECT_EQ(fs.File(L"x.txt").content, "a\r\nb\r\n");
    EXPECT_EQ(fs.File(L"x.txt (2).bak").content, "a\nb\n");
    EXPECT_EQ(fs.File(L"x.txt (2).bak").attributes, qlfs::kAttrReadOnly);
    EXPECT_EQ(fs.File(L"x.txt.tmp").content, "another run's");
    EXPECT_EQ(fs.File(L"x.txt.bak").content, "old");
    EXPECT_FALSE(fs.Has(L"x.txt (3).tmp"));

    // A free name that cannot be created (no room, no right) ends the walk:
    // the names after it would fail the same way.
    CFaultyFileSystem denied;
    denied.AddFile(L"d.txt", "a\n");
    denied.failWhen = [](EOp op, const std::wstring&, const std::wstring&) { return op == EOp::CreateNew; };
    EXPECT_EQ(Convert(denied, L"d.txt", {}), -1);
    EXPECT_EQ(denied.CreatedNames(), std::vector<std::wstring>{L"d.txt.tmp"});
}

// Without hard links the backup is made by renaming the original away; when
// the final rename then fails, the converted copy is kept and named.
TEST(ConvertFile, KeepsTheConvertedCopyWhenTheFinalRenameFails)
{
    CFaultyFileSystem fs;
    fs.supportsLinks = false;
    fs.AddFile(L"x.txt", "a\nb\n", qlfs::kAttrReadOnly);
    fs.failWhen = [](EOp op, const std::wstring& from, const std::wstring&) {
        return op == EOp::Rename && from == L"x.txt.tmp";
    };
    ConvertOutcome outcome;
    EXPECT_EQ(Convert(fs, L"x.txt", {.format = 0, .convertReadOnly = true, .backupOriginal = true}, nullptr,
                      &outcome),
              -1);
    EXPECT_EQ(outcome.keptConvertedName, L"x.txt.tmp");
    EXPECT_EQ(fs.File(L"x.txt.tmp").content, "a\r\nb\r\n");
    EXPECT_FALSE(fs.Has(L"x.txt"));
    EXPECT_EQ(fs.File(L"x.txt.bak").content, "a\nb\n");
    EXPECT_EQ(fs.File(L"x.txt.bak").attributes, qlfs::kAttrReadOnly);

    // An earlier backup keeps its name: the original moves to the next free one.
    fs.failWhen = nullptr;
    fs.AddFile(L"y.txt", "c\r\n");
    fs.AddFile(L"y.txt.bak", "earlier backup");
    fs.AddFile(L"y.txt (2).bak", "earlier still");
    EXPECT_EQ(Convert(fs, L"y.txt", {.backupOriginal = true}, nullptr, &outcome), 0);
    EXPECT_TRUE(outcome.keptConvertedName.empty()) << "a success keeps no converted copy aside";
    EXPECT_EQ(fs.File(L"y.txt").content, "c\n");
    EXPECT_EQ(fs.File(L"y.txt (3).bak").content, "c\r\n");
    EXPECT_EQ(fs.File(L"y.txt.bak").content, "earlier backup");
    EXPECT_EQ(fs.File(L"y.txt (2).bak").content, "earlier still");
}

// The LF owed to a final CR is written when the input ends; when that write
// fails, the conversion fails as any other write would.
TEST(ConvertFile, TheLineEndOwedToAFinalCrIsWrittenOrTheConversionFails)
{
    CFaultyFileSystem fs;
    fs.AddFile(L"cr.txt", "a\nb\r");
    int writes = 0;
    fs.failWhen = [&](EOp op, const std::wstring&, const std::wstring&) { return op == EOp::Write && ++writes == 2; };
    EXPECT_EQ(Convert(fs, L"cr.txt", {.format = 0}), -1);
    EXPECT_EQ(fs.Names(), std::vector<std::wstring>{L"cr.txt"});
    EXPECT_EQ(fs.File(L"cr.txt").content, "a\nb\r");
    fs.failWhen = nullptr;
    EXPECT_EQ(Convert(fs, L"cr.txt", {.format = 0}), 0);
    EXPECT_EQ(fs.File(L"cr.txt").content, "a\r\nb\r\n");
}

// Files of a mebibyte or more are forced to the disk before they replace the
// original; smaller ones are not (that doubled the time of many-file runs).
TEST(ConvertFile, ForcesFilesOfAMebibyteOrMoreToTheDisk)
{
    constexpr size_t kMebibyte = size_t(1) << 20;
    for (size_t size : {size_t(10), kMebibyte - 1, kMebibyte, 3 * kMebibyte}) {
        SCOPED_TRACE(size);
        CFaultyFileSystem fs;
        fs.AddFile(L"f.txt", MixedLines(size));
        int flushes = 0;
        fs.failWhen = [&](EOp op, const std::wstring&, const std::wstring&) {
            flushes += op == EOp::Flush;
            return false;
        };
        EXPECT_EQ(Convert(fs, L"f.txt", {}), 0);
        EXPECT_EQ(flushes, size >= kMebibyte ? 1 : 0);
    }
}

// Runs over many small files are bound by system calls: a file below the
// largest block is read in one call, which already sees its end.
TEST(ConvertFile, ReadsAFileBelowTheLargestBlockInOneCall)
{
    for (size_t size : {size_t(1), size_t(4096), size_t(5000), (size_t(1) << 20) - 1}) {
        SCOPED_TRACE(size);
        CFaultyFileSystem fs;
        fs.AddFile(L"f.txt", MixedLines(size));
        int reads = 0;
        fs.failWhen = [&](EOp op, const std::wstring&, const std::wstring&) {
            reads += op == EOp::Read;
            return false;
        };
        EXPECT_EQ(Convert(fs, L"f.txt", {}), 0);
        EXPECT_EQ(reads, 1);
    }
}

// A full disk early in a large file ends the copy there, rather than after
// reading and converting the rest of the file for nothing.
TEST(ConvertFile, AFailedWriteStopsTheCopyOfALargeFile)
{
    CFaultyFileSystem fs;
    fs.AddGeneratedFile(L"big.txt", uint64_t(64) << 20, "a line\r\n");
    int reads = 0, writes = 0;
    fs.failWhen = [&](EOp op, const std::wstring&, const std::wstring&) {
        reads += op == EOp::Read;
        return op == EOp::Write && ++writes == 2;
    };
    EXPECT_EQ(Convert(fs, L"big.txt", {}), -1);
    EXPECT_LT(reads, 16) << "of 64 blocks";
    EXPECT_EQ(fs.Names(), std::vector<std::wstring>{L"big.txt"});
}

// The size an open file reports only guides the reading: a file that grew
// after it was opened is still converted whole, one whose size cannot be
// told is left alone, and a size beyond INT_MAX KiB reaches the sink clamped.
TEST(ConvertFile, TheReportedSizeNeverCutsAFileShort)
{
    constexpr int64_t kMebibyte = int64_t(1) << 20;
    CFaultyFileSystem fs;
    const std::string grown = MixedLines(size_t(kMebibyte) + 100);
    fs.AddFile(L"grown.txt", grown);
    fs.AddFile(L"unknown.txt", "a\r\n");
    fs.AddFile(L"huge.txt", "b\r\n");
    fs.SetReportedSize(L"grown.txt", kMebibyte);
    fs.SetReportedSize(L"unknown.txt", -1);
    fs.SetReportedSize(L"huge.txt", int64_t(1) << 42);

    EXPECT_EQ(Convert(fs, L"grown.txt", {.format = 0}), 0);
    CFaultyFileSystem whole;
    whole.AddFile(L"w.txt", grown);
    EXPECT_EQ(Convert(whole, L"w.txt", {.format = 0}), 0);
    EXPECT_TRUE(fs.File(L"grown.txt").content == whole.File(L"w.txt").content) << "the appended end was lost";

    CRecordingSink unknownSink;
    EXPECT_EQ(Convert(fs, L"unknown.txt", {}, &unknownSink), -1);
    EXPECT_EQ(fs.File(L"unknown.txt").content, "a\r\n");
    EXPECT_EQ(unknownSink.Calls(), (Calls{"begin 0", "end"}));

    CBeginSink hugeSink;
    EXPECT_EQ(Convert(fs, L"huge.txt", {}, &hugeSink), 0);
    EXPECT_EQ(hugeSink.begin, INT_MAX);
    EXPECT_EQ(fs.File(L"huge.txt").content, "b\n");
    EXPECT_EQ(fs.Names(), (std::vector<std::wstring>{L"grown.txt", L"huge.txt", L"unknown.txt"}));
}


TEST(ConvertFile, HandlesFilesBeyondFourGibibytes)
{
    CFaultyFileSystem fs;
    fs.discardWrites = true;
    const uint64_t size = (uint64_t(4) << 30) + 4096;  // 2^32 + 4096: wraps in 32 bits
    std::string line = std::string(63, 'z') + "\n";
    std::string lines;
    for (int i = 0; i < 64; ++i)
        lines += line;
    fs.AddGeneratedFile(L"big", size, lines);
    CBeginSink sink;
    EXPECT_EQ(Convert(fs, L"big", {.format = 0}, &sink), 0);
    EXPECT_EQ(fs.File(L"big").generatedSize, size / 64 * 65);
    EXPECT_EQ(uint64_t(sink.begin), size / 1024);
    EXPECT_EQ(uint64_t(sink.last), size / 1024);
    EXPECT_EQ(sink.ends, 1);
}

}  // namespace
