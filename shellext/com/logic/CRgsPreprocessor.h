#pragma once
// Prepares a registrar script's text before it is parsed: the per-user
// rewrite of its leading HKCR block, and the %NAME% replacements.
#include <string>
#include <utility>
#include <vector>

namespace qlcom {

class CRgsPreprocessor {
public:
    // Longest replacement name a script may use between percent signs.
    static constexpr std::size_t kMaxNameLength = 31;

    // Names are matched without regard to case; a later entry with the same
    // name replaces the earlier one.
    void AddReplacement(const std::wstring& name, const std::wstring& value);
    const std::wstring* FindReplacement(const std::wstring& name) const;

    // Replaces every %NAME% and turns "%%" into one percent sign. Fails, leaving
    // `out` unspecified, on an unknown or overlong name or a missing closing sign.
    bool Expand(const std::wstring& text, std::wstring& out) const;

    // Moves the script's leading HKCR block under HKCU\Software\Classes, so
    // that a per-user registration writes the current user's classes. Returns
    // false, leaving the text alone, when the script does not start with a
    // complete HKCR block.
    static bool RewriteForPerUser(std::wstring& text);

private:
    std::vector<std::pair<std::wstring, std::wstring>> m_replacements;
};

} // namespace qlcom
