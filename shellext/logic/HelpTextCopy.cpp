#include "HelpTextCopy.h"

#include <algorithm>
#include <cstring>

namespace qlshell {
namespace {

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }

// Length of the longest prefix of `text` of at most `limit` code units that
// does not end in the middle of a surrogate pair.
size_t WholeCharacterPrefix(std::wstring_view text, size_t limit) {
    if (text.size() <= limit) return text.size();
    if (limit > 0 && IsHighSurrogate(text[limit - 1])) return limit - 1;
    return limit;
}

// Drops the last character (a surrogate pair counts as one) of the prefix.
size_t ShorterPrefix(std::wstring_view text, size_t length) {
    if (length >= 2 && IsHighSurrogate(text[length - 2])) return length - 2;
    return length - 1;
}

}  // namespace

void CopyHelpTextW(std::wstring_view text, wchar_t* buffer, uint32_t cchMax) {
    if (cchMax == 0 || buffer == nullptr) return;
    const size_t length = WholeCharacterPrefix(text, cchMax - 1);
    std::copy_n(text.data(), length, buffer);
    buffer[length] = L'\0';
}

void CopyHelpTextA(std::wstring_view text, char* buffer, uint32_t cchMax, const AnsiConverter& toAnsi) {
    if (cchMax == 0 || buffer == nullptr) return;
    buffer[0] = '\0';
    if (!toAnsi) return;
    const size_t room = cchMax - 1;
    // Each character gives at least one byte, so the first cchMax - 1 code
    // units are as much as plain text can fit; start there and shorten.
    size_t length = WholeCharacterPrefix(text, room);
    for (;;) {
        std::optional<std::string> bytes = toAnsi(text.substr(0, length));
        if (!bytes) return;
        if (bytes->size() <= room) {
            std::memcpy(buffer, bytes->data(), bytes->size());
            buffer[bytes->size()] = '\0';
            return;
        }
        length = ShorterPrefix(text, length);
    }
}

}  // namespace qlshell
