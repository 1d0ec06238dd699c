#include "CRgsParser.h"

#include <cwctype>

namespace qlcom {
namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

bool IsKeyword(const std::wstring& text, const wchar_t* keyword) {
    std::size_t i = 0;
    for (; keyword[i] != L'\0'; ++i) {
        if (i >= text.size() || std::towlower(text[i]) != std::towlower(keyword[i]))
            return false;
    }
    return i == text.size();
}

struct RootName {
    const wchar_t* shortName;
    const wchar_t* longName;
    RegRoot root;
};

constexpr RootName kRoots[] = {
    {L"HKCR", L"HKEY_CLASSES_ROOT", RegRoot::ClassesRoot},
    {L"HKCU", L"HKEY_CURRENT_USER", RegRoot::CurrentUser},
    {L"HKLM", L"HKEY_LOCAL_MACHINE", RegRoot::LocalMachine},
    {L"HKU", L"HKEY_USERS", RegRoot::Users},
};

bool IsSymbol(const std::wstring& text, bool quoted, wchar_t symbol) {
    return !quoted && text.size() == 1 && text[0] == symbol;
}

int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

} // namespace

CRgsParser::CRgsParser(const std::wstring& text) : m_text(text) {}

bool CRgsParser::Next(Token& token) {
    token = Token{};
    while (m_pos < m_text.size() && IsBlank(m_text[m_pos]))
        ++m_pos;
    if (m_pos >= m_text.size())
        return false;
    if (m_text[m_pos] == L'\'') {
        ++m_pos;
        for (;;) {
            if (m_pos >= m_text.size())
                return false; // unterminated quote
            if (m_text[m_pos] == L'\'') {
                if (m_pos + 1 < m_text.size() && m_text[m_pos + 1] == L'\'') {
                    token.text.push_back(L'\'');
                    m_pos += 2;
                    continue;
                }
                ++m_pos;
                break;
            }
            token.text.push_back(m_text[m_pos++]);
        }
        token.quoted = true;
    } else {
        while (m_pos < m_text.size() && !IsBlank(m_text[m_pos]))
            token.text.push_back(m_text[m_pos++]);
    }
    token.valid = true;
    return true;
}

bool CRgsParser::Peek(Token& token) {
    const std::size_t saved = m_pos;
    const bool ok = Next(token);
    m_pos = saved;
    return ok;
}

bool CRgsParser::Parse(CRgsScript& script) {
    script.blocks.clear();
    Token token;
    while (Peek(token)) {
        CRgsRootBlock block;
        if (!ParseRoot(block))
            return false;
        script.blocks.push_back(std::move(block));
    }
    // Only white space may follow the last block; an unterminated quote fails.
    while (m_pos < m_text.size() && IsBlank(m_text[m_pos]))
        ++m_pos;
    return m_pos == m_text.size();
}

bool CRgsParser::ParseRoot(CRgsRootBlock& block) {
    Token name;
    if (!Next(name) || name.quoted)
        return false;
    bool known = false;
    for (const RootName& root : kRoots) {
        if (IsKeyword(name.text, root.shortName) || IsKeyword(name.text, root.longName)) {
            block.root = root.root;
            known = true;
        }
    }
    Token open;
    if (!known || !Next(open) || !IsSymbol(open.text, open.quoted, L'{'))
        return false;
    CRgsKey holder;
    if (!ParseEntries(holder))
        return false;
    block.keys = std::move(holder.subkeys);
    return true;
}

// Reads entries up to and including the closing brace of the current block.
bool CRgsParser::ParseEntries(CRgsKey& parent) {
    Token token;
    while (Next(token)) {
        if (IsSymbol(token.text, token.quoted, L'}'))
            return true;
        if (IsSymbol(token.text, token.quoted, L'{') || IsSymbol(token.text, token.quoted, L'='))
            return false;
        if (!token.quoted && IsKeyword(token.text, L"val")) {
            CRgsNamedValue named;
            Token name, equals;
            if (!Next(name) || !Next(equals) || !IsSymbol(equals.text, equals.quoted, L'='))
                return false;
            named.name = name.text;
            if (!ParseValue(named.value))
                return false;
            parent.values.push_back(std::move(named));
            continue;
        }
        CRgsKey key;
        if (!ParseKey(token, key))
            return false;
        parent.subkeys.push_back(std::move(key));
    }
    return false; // the block was never closed
}

bool CRgsParser::ParseKey(const Token& first, CRgsKey& key) {
    Token name = first;
    if (!name.quoted) {
        struct RuleWord { const wchar_t* word; CRgsKey::Rule rule; };
        static constexpr RuleWord kRules[] = {{L"NoRemove", CRgsKey::Rule::NoRemove},
                                              {L"ForceRemove", CRgsKey::Rule::ForceRemove},
                                              {L"Delete", CRgsKey::Rule::Delete}};
        for (const RuleWord& rule : kRules) {
            if (IsKeyword(name.text, rule.word)) {
                key.rule = rule.rule;
                if (!Next(name))
                    return false;
                break;
            }
        }
    }
    if (name.text.empty() || IsSymbol(name.text, name.quoted, L'{') ||
        IsSymbol(name.text, name.quoted, L'}') || IsSymbol(name.text, name.quoted, L'='))
        return false;
    key.name = name.text;

    Token next;
    if (Peek(next) && IsSymbol(next.text, next.quoted, L'=')) {
        Next(next);
        if (!ParseValue(key.defaultValue))
            return false;
        key.hasDefault = true;
    }
    if (Peek(next) && IsSymbol(next.text, next.quoted, L'{')) {
        Next(next);
        return ParseEntries(key);
    }
    return true;
}

bool CRgsParser::ParseValue(CRgsValue& value) {
    Token type, data;
    if (!Next(type) || type.quoted || type.text.size() != 1 || !Next(data))
        return false;
    switch (std::towlower(type.text[0])) {
    case L's':
        value.type = CRgsValue::Type::String;
        value.text = data.text;
        return true;
    case L'e':
        value.type = CRgsValue::Type::ExpandString;
        value.text = data.text;
        return true;
    case L'd':
        return ParseNumber(data.text, value);
    case L'b':
        return ParseBytes(data.text, value);
    default:
        return false;
    }
}

// Decimal, or hexadecimal after "0x"; must fit 32 bits.
bool CRgsParser::ParseNumber(const std::wstring& text, CRgsValue& value) {
    value.type = CRgsValue::Type::Dword;
    const bool hex = text.size() > 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X');
    const unsigned base = hex ? 16 : 10;
    std::size_t i = hex ? 2 : 0;
    if (i >= text.size())
        return false;
    unsigned long long number = 0;
    for (; i < text.size(); ++i) {
        const int digit = HexDigit(text[i]);
        if (digit < 0 || static_cast<unsigned>(digit) >= base)
            return false;
        number = number * base + static_cast<unsigned>(digit);
        if (number > 0xFFFFFFFFull)
            return false;
    }
    value.number = static_cast<std::uint32_t>(number);
    return true;
}

bool CRgsParser::ParseBytes(const std::wstring& text, CRgsValue& value) {
    value.type = CRgsValue::Type::Binary;
    if (text.size() % 2 != 0)
        return false;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const int high = HexDigit(text[i]);
        const int low = HexDigit(text[i + 1]);
        if (high < 0 || low < 0)
            return false;
        value.bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    return true;
}

} // namespace qlcom
