#pragma once
// Converts one file in place to a line-ending format, through a temporary file
// beside it. Returns 0 on success and -1 on any failure; on every failure the
// original is left intact, or its converted content survives under a name that
// is handed back to the caller.
#include <string>

#include "ProgressSink.h"
#include "fs/IFileSystem.h"

struct ConvertOutcome {
    // Set when the final rename failed: the original is gone (deleted or renamed
    // to its backup) and this temporary file holds the converted content.
    std::wstring keptConvertedName;
};

int ConvertFile(const wchar_t* path, int format, int keepTimestamps, int keepAttributes,
                int convertReadOnly, int backupOriginal, CProgressSink* sink);

int ConvertFile(qlfs::IFileSystem& fs, const std::wstring& path, int format, bool keepTimestamps,
                bool keepAttributes, bool convertReadOnly, bool backupOriginal, CProgressSink* sink,
                ConvertOutcome* outcome);

// The first free name of "<path>.tmp", "<path> (2).tmp", "<path> (3).tmp", ...
// Empty when the name would not fit in a 1024-character buffer.
std::wstring MakeTempName(qlfs::IFileSystem& fs, const std::wstring& path);
// The same with ".bak".
std::wstring MakeBackupName(qlfs::IFileSystem& fs, const std::wstring& path);
