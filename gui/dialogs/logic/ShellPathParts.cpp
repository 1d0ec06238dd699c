#include "ShellPathParts.h"

std::vector<std::wstring> AccumulatedPathParts(const std::wstring& path)
{
    std::vector<std::wstring> result;
    std::wstring accumulated;
    std::wstring part;
    auto takePart = [&] {
        if (part.empty())
            return;
        if (result.empty())
            accumulated = part + L'\\';  // a drive is asked for with its root: "C:\"
        else if (result.size() == 1)
            accumulated += part;
        else
            accumulated += L'\\' + part;
        result.push_back(accumulated);
        part.clear();
    };
    for (wchar_t c : path) {
        if (c == L'\\' || c == L'/')
            takePart();
        else
            part += c;
    }
    takePart();
    return result;
}
