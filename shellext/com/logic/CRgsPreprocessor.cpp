#include "CRgsPreprocessor.h"

#include <cwctype>

namespace qlcom {
namespace {

bool EqualsNoCase(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::towlower(a[i]) != std::towlower(b[i]))
            return false;
    }
    return true;
}

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

std::size_t SkipBlanks(const std::wstring& text, std::size_t pos) {
    while (pos < text.size() && IsBlank(text[pos]))
        ++pos;
    return pos;
}

// Position of the brace that closes the block opened at `open`, counting only
// braces outside quoted names ('' inside quotes is an escaped quote).
std::size_t FindClosingBrace(const std::wstring& text, std::size_t open) {
    int depth = 0;
    bool quoted = false;
    for (std::size_t i = open; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'\'') {
            quoted = !quoted;
        } else if (!quoted && c == L'{') {
            ++depth;
        } else if (!quoted && c == L'}' && --depth == 0) {
            return i;
        }
    }
    return std::wstring::npos;
}

} // namespace

void CRgsPreprocessor::AddReplacement(const std::wstring& name, const std::wstring& value) {
    for (auto& entry : m_replacements) {
        if (EqualsNoCase(entry.first, name)) {
            entry.second = value;
            return;
        }
    }
    m_replacements.emplace_back(name, value);
}

const std::wstring* CRgsPreprocessor::FindReplacement(const std::wstring& name) const {
    for (const auto& entry : m_replacements) {
        if (EqualsNoCase(entry.first, name))
            return &entry.second;
    }
    return nullptr;
}

bool CRgsPreprocessor::Expand(const std::wstring& text, std::wstring& out) const {
    out.clear();
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t sign = text.find(L'%', pos);
        if (sign == std::wstring::npos) {
            out.append(text, pos, std::wstring::npos);
            break;
        }
        out.append(text, pos, sign - pos);
        if (sign + 1 < text.size() && text[sign + 1] == L'%') {
            out.push_back(L'%');
            pos = sign + 2;
            continue;
        }
        const std::size_t close = text.find(L'%', sign + 1);
        if (close == std::wstring::npos)
            return false;
        const std::wstring name = text.substr(sign + 1, close - sign - 1);
        if (name.size() > kMaxNameLength)
            return false;
        const std::wstring* value = FindReplacement(name);
        if (value == nullptr)
            return false;
        out += *value;
        pos = close + 1;
    }
    return true;
}

bool CRgsPreprocessor::RewriteForPerUser(std::wstring& text) {
    static const std::wstring kMachineRoot = L"HKCR";
    const std::size_t start = SkipBlanks(text, 0);
    if (text.compare(start, kMachineRoot.size(), kMachineRoot) != 0)
        return false;
    const std::size_t open = SkipBlanks(text, start + kMachineRoot.size());
    if (open == start + kMachineRoot.size() || open >= text.size() || text[open] != L'{')
        return false;
    const std::size_t close = FindClosingBrace(text, open);
    if (close == std::wstring::npos)
        return false;
    text.insert(close, L"\r\n\t}\r\n}\r\n");
    text.replace(start, kMachineRoot.size(), L"HKCU\r\n{\tSoftware\r\n\t{\r\n\t\tClasses");
    return true;
}

} // namespace qlcom
