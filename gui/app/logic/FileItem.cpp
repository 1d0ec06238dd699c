#include "FileItem.h"

const wchar_t* StatusText(int status)
{
    static const wchar_t* const kTexts[] = {L"", L"Converting", L"OK", L"Failed"};
    if (status < StatusNone || status > StatusFailed)
        return nullptr;
    return kTexts[status];
}
