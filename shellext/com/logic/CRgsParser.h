#pragma once
// Reads a registrar script (after replacement) into its tree.
//
//   script := { root '{' { entry } '}' }
//   entry  := 'val' name '=' value
//           | [ 'NoRemove' | 'ForceRemove' | 'Delete' ] name [ '=' value ] [ '{' { entry } '}' ]
//   value  := type data      type: s (string), e (expandable string), d (DWORD), b (hex bytes)
//
// Names and data are bare words (ended by white space) or single-quoted
// strings in which '' stands for one quote. Keywords are recognised only
// unquoted, without regard to case.
#include <string>

#include "RgsScript.h"

namespace qlcom {

class CRgsParser {
public:
    explicit CRgsParser(const std::wstring& text);

    // Parses the whole text; false (with `script` unspecified) on any syntax error.
    bool Parse(CRgsScript& script);

private:
    struct Token {
        std::wstring text;
        bool quoted = false;
        bool valid = false;
    };

    bool Next(Token& token);
    bool Peek(Token& token);
    bool ParseRoot(CRgsRootBlock& block);
    bool ParseEntries(CRgsKey& parent);
    bool ParseKey(const Token& first, CRgsKey& key);
    bool ParseValue(CRgsValue& value);
    static bool ParseNumber(const std::wstring& text, CRgsValue& value);
    static bool ParseBytes(const std::wstring& text, CRgsValue& value);

    const std::wstring& m_text;
    std::size_t m_pos = 0;
};

} // namespace qlcom
