#include "ModulePath.h"

namespace qlcom {

bool MakeModuleReplacement(const std::wstring& path, std::wstring& replacement) {
    if (path.size() > kMaxModulePath)
        return false;
    replacement.clear();
    for (wchar_t c : path) {
        replacement.push_back(c);
        if (c == L'\'')
            replacement.push_back(L'\'');
    }
    return true;
}

} // namespace qlcom
