#pragma once
// The target line-ending format of a conversion, and the words that name it on
// both programs' command lines.
#include <string_view>

enum LineEndingFormat : int {
    LEF_NONE = -1,  // no format given (command-line objects only)
    LEF_CRLF = 0,   // 0x0D 0x0A
    LEF_CR = 1,     // 0x0D
    LEF_LF = 2,     // 0x0A
};

inline bool IsLineEndingFormat(int format) { return format >= LEF_CRLF && format <= LEF_LF; }

// "crlf", "cr" or "lf", compared after lower-casing A-Z only; LEF_NONE for any other word.
int ParseLineEndingWord(std::wstring_view word);
