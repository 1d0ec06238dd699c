#include "ParametersBuilder.h"

#include "CommandLine.h"

namespace qlshell {

const wchar_t* FormatWord(int format) {
    switch (format) {
    case kFormatCrlf: return L"crlf";
    case kFormatCr: return L"cr";
    case kFormatLf: return L"lf";
    default: return L"";
    }
}

std::wstring BuildParameters(const CCommandAction& action, const CStringArray& paths, bool ctrlDown) {
    const bool hasFormat = action.format != kFormatNone;
    std::wstring text;
    if (hasFormat) {
        text += L" -format ";
        text += FormatWord(action.format);
    }
    if (action.filter) {
        text += L" -filter ";
        AppendQuotedArgument(text, *action.filter);
    }
    for (const std::wstring& path : paths.Items()) {
        text += L' ';
        AppendQuotedArgument(text, path);
    }
    if (ctrlDown) text += L" -ss";
    text += L" -ka -cr";
    if (hasFormat) text += L" -as -ac";
    return text;
}

}  // namespace qlshell
