#pragma once
// Conversion between the wide paths the program works with and the byte paths
// the POSIX kernel takes. The user's locale decides the encoding (the program
// calls setlocale(LC_ALL, "") first). A byte the locale cannot decode becomes
// U+DC00 + byte (U+DC80..U+DCFF, since ASCII always decodes), a lone surrogate
// that no decoded text contains, and turns back into the same byte: every name
// that exists on disk survives the round trip and can be opened again.
#include <string>

namespace qlfs {

std::string ToNativePath(const std::wstring& path);
std::wstring FromNativePath(const std::string& path);

}  // namespace qlfs
