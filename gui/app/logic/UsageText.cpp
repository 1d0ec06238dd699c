#include "UsageText.h"

std::wstring UsageText()
{
    static const wchar_t* const kLines[] = {
        L"Usage:\nQuillet -format <format> [-filter <filter>] [<option1> <option2> ...] [<file1> <file2> ...] "
        L"[<folder1> <folder2> ...]\n",
        L"\n<format>\n",
        L"  crlf: Convert to CRLF format, for Windows/DOS.\n",
        L"  cr:   Convert to CR format, for iOS/macOS/watchOS.\n",
        L"  lf:   Convert to LF format, for Android/Linux/Unix.\n",
        L"\n<filter>\n",
        L"  File filter string, example: \"*.h;*.cpp\" .\n",
        L"\n<options>\n",
        L"  -ss:  Scan subfolders.\n",
        L"  -kt:  Keep original file timestamps.\n",
        L"  -ka:  Keep original file attributes.\n",
        L"  -cr:  Force conversion of read-only files.\n",
        L"  -bo:  Backup original files, save as <original name>.bak.\n",
        L"  -as:  Automatically start converting at startup.\n",
        L"  -ac:  Automatically close the program when finished.\n",
    };
    std::wstring text;
    for (const wchar_t* line : kLines)
        text += line;
    return text;
}
