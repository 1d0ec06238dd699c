#include "CGuiCommandLine.h"

#include "LineEndingFormat.h"

namespace {
std::wstring TrimSpace(const std::wstring& text)
{
    const wchar_t* space = L" \t\r\n\v\f";
    size_t first = text.find_first_not_of(space);
    if (first == std::wstring::npos)
        return {};
    return text.substr(first, text.find_last_not_of(space) - first + 1);
}
}

int CGuiCommandLine::ParseCommandLine(const std::vector<std::wstring>& arguments)
{
    int count = 0;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::wstring& argument = arguments[i];
        if (argument.empty() || (argument[0] != L'-' && argument[0] != L'/')) {
            m_paths.push_back(argument);
            ++count;
            continue;
        }
        std::wstring word = argument.substr(1);
        bool hasValue = i + 1 < arguments.size();
        if (word == L"?" || word == L"h") {
            m_help = true;
        } else if (word == L"format" || word == L"filter") {
            // As the last argument the option has no value and is ignored.
            if (!hasValue)
                continue;
            const std::wstring& value = arguments[++i];
            if (word == L"filter") {
                m_filter = TrimSpace(value);
            } else if (int format = ParseLineEndingWord(value); format != LEF_NONE) {
                m_format = format;
            }
            ++count;
        } else if (ApplySwitch(word)) {
            ++count;
        }
    }
    return count;
}

bool CGuiCommandLine::ApplySwitch(const std::wstring& word)
{
    if (word == L"ss")
        m_scanSubfolders = true;
    else if (word == L"kt")
        m_keepTimestamps = 1;
    else if (word == L"ka")
        m_keepAttributes = 1;
    else if (word == L"cr")
        m_convertReadOnly = 1;
    else if (word == L"bo")
        m_backupOriginal = 1;
    else if (word == L"as")
        m_autoStart = true;
    else if (word == L"ac")
        m_autoClose = true;
    else
        return false;
    return true;
}
