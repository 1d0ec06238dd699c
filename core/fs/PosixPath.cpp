#include "PosixPath.h"

#include <climits>
#include <cwchar>

namespace qlfs {
namespace {

constexpr wchar_t kEscapeBase = 0xDC00;
constexpr wchar_t kEscapeFirst = 0xDC80;
constexpr wchar_t kEscapeLast = 0xDCFF;

bool IsAscii(const std::string& path)
{
    for (unsigned char c : path)
        if (c >= 0x80)
            return false;
    return true;
}

bool IsAscii(const std::wstring& path)
{
    for (wchar_t c : path)
        if (c < 0 || c >= 0x80)
            return false;
    return true;
}

}  // namespace

std::string ToNativePath(const std::wstring& path)
{
    if (IsAscii(path))
        return std::string(path.begin(), path.end());
    std::string result;
    result.reserve(path.size() * 2);
    std::mbstate_t state{};
    char bytes[MB_LEN_MAX];
    for (wchar_t c : path) {
        if (c >= kEscapeFirst && c <= kEscapeLast) {
            result.push_back(char(c - kEscapeBase));
            continue;
        }
        size_t length = std::wcrtomb(bytes, c, &state);
        if (length == size_t(-1)) {
            // Not representable in this locale, so no file can have this name;
            // a placeholder keeps the rest of the path intact for the error.
            state = std::mbstate_t{};
            result.push_back('?');
            continue;
        }
        result.append(bytes, length);
    }
    return result;
}

std::wstring FromNativePath(const std::string& path)
{
    if (IsAscii(path))
        return std::wstring(path.begin(), path.end());
    std::wstring result;
    result.reserve(path.size());
    std::mbstate_t state{};
    const char* p = path.data();
    size_t left = path.size();
    while (left > 0) {
        wchar_t c = 0;
        size_t length = std::mbrtowc(&c, p, left, &state);
        if (length == 0) {  // an embedded NUL byte
            result.push_back(L'\0');
            ++p;
            --left;
            continue;
        }
        bool collides = (c >= kEscapeFirst && c <= kEscapeLast);
        if (length == size_t(-1) || length == size_t(-2) || collides) {
            // Undecodable (or a decoded value that would collide with the escape
            // range): keep the single byte reversibly and resynchronise.
            state = std::mbstate_t{};
            result.push_back(wchar_t(kEscapeBase + (unsigned char)*p));
            ++p;
            --left;
            continue;
        }
        result.push_back(c);
        p += length;
        left -= length;
    }
    return result;
}

}  // namespace qlfs
