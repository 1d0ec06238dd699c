#include "LineEndingFormat.h"

#include "FileNameFilter.h"

int ParseLineEndingWord(std::wstring_view word)
{
    static constexpr std::wstring_view kWords[] = {L"crlf", L"cr", L"lf"};
    std::wstring lowered(word);
    for (wchar_t& c : lowered)
        c = LowerAsciiLetter(c);
    for (int format = LEF_CRLF; format <= LEF_LF; ++format)
        if (lowered == kWords[format])
            return format;
    return LEF_NONE;
}
