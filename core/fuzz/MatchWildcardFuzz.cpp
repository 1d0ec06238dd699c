// libFuzzer target: the bottom-up wildcard matcher must give the answer of the
// plain recursive walk. Input bytes pick characters from a small alphabet that
// holds every pattern element, so short inputs reach every case; lengths are
// bounded because the recursive walk is exponential.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "../tests/WildcardReference.h"
#include "FileNameFilter.h"

namespace {

constexpr wchar_t kAlphabet[] = L"aAbB.*?[]!`-\x1A\u00C4\u00E4";
constexpr size_t kAlphabetSize = sizeof(kAlphabet) / sizeof(kAlphabet[0]) - 1;
constexpr size_t kMaxPattern = 12;
constexpr size_t kMaxName = 12;
constexpr uint8_t kSplit = 0xFF;  // ends the pattern, the rest is the name

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::wstring pattern, name;
    bool inName = false;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == kSplit && !inName) {
            inName = true;
            continue;
        }
        std::wstring& target = inName ? name : pattern;
        target += kAlphabet[data[i] % kAlphabetSize];
    }
    if (pattern.size() > kMaxPattern || name.size() > kMaxName)
        return 0;
    if (MatchWildcard(pattern, name) != reference::Match(pattern, name))
        std::abort();
    return 0;
}
