#include "ShowUsage.h"

#include "UsageText.h"

#include <windows.h>

void ShowUsage(const std::wstring& caption)
{
    ::MessageBoxW(nullptr, UsageText().c_str(), caption.c_str(), MB_OK | MB_ICONINFORMATION);
}
