#pragma once
// Classes: CFileItem, the record behind one row of the main window's file
// list, and FileStatus, what the last conversion run made of the row.
#include <string>

enum FileStatus { StatusNone = 0, StatusConverting = 1, StatusOk = 2, StatusFailed = 3 };

struct CFileItem {
    std::wstring path;  // as it was added, never normalised
    int sizeKB = 0;     // set when the row's conversion begins
    FileStatus status = StatusNone;
};

// The "Status" column's text of a status; null for a value outside 0-3, whose
// cell keeps the text it has.
const wchar_t* StatusText(int status);
