#pragma once
// Turns a module's full path into the registrar's "Module" replacement.
#include <string>

namespace qlcom {

// Longest module path the registrar accepts (MAX_PATH less its terminator).
constexpr std::size_t kMaxModulePath = 259;

// The path with each single quote doubled, so that it can stand inside a
// quoted script string. False when the path is longer than kMaxModulePath.
bool MakeModuleReplacement(const std::wstring& path, std::wstring& replacement);

} // namespace qlcom
