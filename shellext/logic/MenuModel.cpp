#include "MenuModel.h"

#include <array>

namespace qlshell {
namespace {

struct FileCommand {
    const wchar_t* text;
    const wchar_t* help;
    int format;
};

constexpr std::array<FileCommand, 3> kFormatCommands = {{
    {L"Convert to CRLF Format", L"Convert line endings for selected files to CRLF format.", kFormatCrlf},
    {L"Convert to CR Format", L"Convert line endings for selected files to CR format.", kFormatCr},
    {L"Convert to LF Format", L"Convert line endings for selected files to LF format.", kFormatLf},
}};

constexpr const wchar_t* kConvertLaterText = L"Convert Later...";
constexpr const wchar_t* kConvertLaterHelp =
    L"Add selected files/folders to the file list, and convert them later.";
constexpr const wchar_t* kCustomFilterText = L"Custom Filter...";
constexpr const wchar_t* kCustomFilterHelp =
    L"Convert line endings for the files matched your custom filter.";
constexpr const wchar_t* kFilterItemPrefix = L"Convert ";
constexpr const wchar_t* kFilterHelpBefore = L"Convert line endings for the files matched: ";
constexpr const wchar_t* kFilterHelpAfter = L" .  Hold 'Ctrl' to scan subfolders.";

std::wstring CutTo(std::wstring text, size_t limit) {
    if (text.size() > limit) text.resize(limit);
    return text;
}

}  // namespace

std::wstring FilterItemText(const std::wstring& name) {
    return CutTo(kFilterItemPrefix + name, kMaxItemTextChars);
}

uint32_t CommandIdsAvailable(uint32_t idCmdFirst, uint32_t idCmdLast) {
    if (idCmdLast < idCmdFirst) return 0;
    const uint32_t span = idCmdLast - idCmdFirst;
    return span == UINT32_MAX ? UINT32_MAX : span + 1;
}

std::vector<CMenuItem> CMenuModel::Build(bool folderSelected, IRegistryReader& registry, uint32_t idsAvailable) {
    std::vector<CMenuItem> items;
    m_commandCount = 0;
    m_folderVariant = folderSelected;
    if (folderSelected) {
        m_filterPatterns.Clear();
        if (idsAvailable >= 1) BuildFolderItems(items, registry, idsAvailable - 1);
    } else if (idsAvailable >= kFileVariantCommands) {
        BuildFileItems(items);
    }
    return items;
}

void CMenuModel::AddCommand(std::vector<CMenuItem>& items, std::wstring text) {
    items.push_back({false, std::move(text), m_commandCount});
    ++m_commandCount;
}

void CMenuModel::BuildFileItems(std::vector<CMenuItem>& items) {
    for (const FileCommand& command : kFormatCommands) AddCommand(items, command.text);
    items.push_back({true, L"", 0});
    AddCommand(items, kConvertLaterText);
}

void CMenuModel::BuildFolderItems(std::vector<CMenuItem>& items, IRegistryReader& registry, uint32_t maxFilters) {
    std::vector<PresetFilter> presets = LoadPresetFilters(registry, maxFilters);
    if (presets.empty()) presets = LoadDefaultFilters(maxFilters);
    for (const PresetFilter& preset : presets) {
        AddCommand(items, FilterItemText(preset.name));
        m_filterPatterns.Append(preset.filter);
    }
    items.push_back({true, L"", 0});
    AddCommand(items, kCustomFilterText);
}

std::optional<std::wstring> CMenuModel::HelpText(uint32_t offset) const {
    if (offset >= m_commandCount) return std::nullopt;
    const uint32_t last = m_commandCount - 1;
    if (!m_folderVariant) {
        if (offset < kFormatCommands.size()) return kFormatCommands[offset].help;
        return kConvertLaterHelp;
    }
    if (offset == last) return kCustomFilterHelp;
    const std::wstring* filter = m_filterPatterns.GetAt(static_cast<int32_t>(offset));
    return CutTo(kFilterHelpBefore + (filter ? *filter : std::wstring()) + kFilterHelpAfter,
                 kMaxHelpTextChars);
}

std::optional<CCommandAction> CMenuModel::ActionFor(uint32_t offset) const {
    if (offset >= m_commandCount) return std::nullopt;
    CCommandAction action;
    if (!m_folderVariant) {
        if (offset < kFormatCommands.size()) action.format = kFormatCommands[offset].format;
        return action;
    }
    // The last offset is "Custom Filter...": the program asks for the filter.
    if (offset + 1 < m_commandCount) {
        if (const std::wstring* filter = m_filterPatterns.GetAt(static_cast<int32_t>(offset))) {
            action.filter = *filter;
        }
    }
    return action;
}

}  // namespace qlshell
