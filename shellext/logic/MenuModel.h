#pragma once
// The "Quillet" submenu as data: the items of the last build, their command
// offsets, the filter of each filter item, help texts and what each offset does.
//
// File variant (no folder selected):
//   0 "Convert to CRLF Format", 1 "... CR ...", 2 "... LF ...", separator, 3 "Convert Later..."
// Folder variant:
//   0..n-1 "Convert <preset name>", separator, n "Custom Filter..."
#include "FilterSource.h"
#include "IRegistryReader.h"
#include "ParametersBuilder.h"
#include "StringArray.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qlshell {

// One entry of the submenu, in insertion order. The glue inserts a separator
// with MF_SEPARATOR | MF_BYPOSITION and identifier -1, and every other item with
// MF_STRING | MF_BYPOSITION and identifier idCmdFirst + offset.
struct CMenuItem {
    bool isSeparator = false;
    std::wstring text;    // empty for a separator
    uint32_t offset = 0;  // 0 for a separator
};

// Help texts are cut to this many characters (the help-text buffer holds 1,024).
constexpr size_t kMaxHelpTextChars = 1023;
// Item texts are formatted into a 256-character buffer.
constexpr size_t kMaxItemTextChars = 255;

// No limit on the command identifiers a build may use.
constexpr uint32_t kAnyNumberOfCommands = UINT32_MAX;
// Commands of the file variant: three formats and "Convert Later...".
constexpr uint32_t kFileVariantCommands = 4;

// How many identifiers idCmdFirst..idCmdLast holds (both ends included);
// 0 when the range is empty.
uint32_t CommandIdsAvailable(uint32_t idCmdFirst, uint32_t idCmdLast);

class CMenuModel {
public:
    // Rebuilds the submenu for the variant; the folder variant reads the stored
    // presets (or uses the built-in table). Resets and recounts the command count
    // and refills the filter patterns. At most `idsAvailable` commands are
    // made: identifiers past the shell's range belong to other handlers. The
    // folder variant drops the filter items that do not fit, keeping "Custom
    // Filter..."; when not even the fixed commands fit, nothing is built.
    std::vector<CMenuItem> Build(bool folderSelected, IRegistryReader& registry,
                                 uint32_t idsAvailable = kAnyNumberOfCommands);

    // Command identifiers used by the last build (separators excluded); 0 before any.
    uint32_t GetCommandCount() const { return m_commandCount; }
    // Filter of filter item i of the last folder build.
    const CStringArray& FilterPatterns() const { return m_filterPatterns; }
    bool IsFolderVariant() const { return m_folderVariant; }

    // Status-bar text of `offset`, at most kMaxHelpTextChars; nullopt when the
    // offset is not below the command count.
    std::optional<std::wstring> HelpText(uint32_t offset) const;
    // Format and filter of `offset`; nullopt when the offset is not below the count.
    std::optional<CCommandAction> ActionFor(uint32_t offset) const;

private:
    void BuildFileItems(std::vector<CMenuItem>& items);
    void BuildFolderItems(std::vector<CMenuItem>& items, IRegistryReader& registry, uint32_t maxFilters);
    void AddCommand(std::vector<CMenuItem>& items, std::wstring text);

    CStringArray m_filterPatterns;
    uint32_t m_commandCount = 0;
    bool m_folderVariant = false;
};

// "Convert %s" formatted with `name`, cut to kMaxItemTextChars.
std::wstring FilterItemText(const std::wstring& name);

}  // namespace qlshell
