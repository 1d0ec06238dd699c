#include "FileKey.h"

#include <cwctype>

namespace {

void AppendHex(std::wstring& key, uint64_t value)
{
    constexpr wchar_t kDigits[] = L"0123456789abcdef";
    for (int shift = 60; shift >= 0; shift -= 4)
        key += kDigits[(value >> shift) & 0xF];
}

}  // namespace

// The two kinds of key begin differently, so an identity never equals a path.
std::wstring SameFileKey(qlfs::IFileSystem& fs, const std::wstring& path)
{
    qlfs::FileId id;
    if (fs.GetFileId(path, id)) {
        std::wstring key = L"#";
        AppendHex(key, id.volume);
        AppendHex(key, id.indexHigh);
        AppendHex(key, id.index);
        return key;
    }
    const std::wstring full = fs.FullPath(path);
    std::wstring key = L"/" + (full.empty() ? path : full);
#ifdef _WIN32
    for (wchar_t& c : key)
        c = static_cast<wchar_t>(std::towlower(c));
#endif
    return key;
}
