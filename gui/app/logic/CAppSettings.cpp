#include "CAppSettings.h"

#include "DefaultFilterTable.h"
#include "LineEndingFormat.h"

#include <cwchar>

namespace {
const wchar_t kSettings[] = L"Settings";
const wchar_t kFilters[] = L"Filters";
const wchar_t kCount[] = L"Count";
const wchar_t kName[] = L"Name";
const wchar_t kFilter[] = L"Filter";

std::wstring PresetSection(size_t number)
{
    wchar_t text[32];
    std::swprintf(text, sizeof(text) / sizeof(text[0]), L"Filters\\%02zu", number);
    return text;
}

int AsFlag(int value)
{
    return value != 0 ? 1 : 0;
}

void ReadFlag(const IProfileStore& store, const wchar_t* entry, std::atomic<int>& field)
{
    field = store.GetInt(kSettings, entry, field);
}
}

int CAppSettings::LoadSettings(const IProfileStore& store)
{
    ReadFlag(store, L"KeepTimestamps", m_keepTimestamps);
    ReadFlag(store, L"KeepAttributes", m_keepAttributes);
    ReadFlag(store, L"ConvertReadOnlys", m_convertReadOnly);
    ReadFlag(store, L"BackupOriginal", m_backupOriginal);
    m_defaultFilter = store.GetString(kSettings, L"DefaultFilter", L"");
    m_fileViewer = store.GetString(kSettings, L"FileViewer", L"");
    m_alwaysOnTop = store.GetInt(kSettings, L"AlwaysOnTop", m_alwaysOnTop);
    m_autoClose = store.GetInt(kSettings, L"AutoClose", m_autoClose);
    // A stored format the converter does not know would make every conversion
    // fail; such a value leaves the current one in place.
    int format = store.GetInt(kSettings, L"Format", m_format);
    if (IsLineEndingFormat(format))
        m_format = format;
    m_lastFolder = store.GetString(kSettings, L"LastFolder", L"");
    m_lastFilter = store.GetString(kSettings, L"LastFilter", L"");
    m_scanSubfolders = store.GetInt(kSettings, L"ScanSubfolders", m_scanSubfolders);
    ReadPresetFilters(store);
    m_loaded = true;
    return 0;
}

int CAppSettings::SaveSettings(IProfileStore& store) const
{
    if (!m_loaded)
        return 0;
    bool ok = true;
    ok &= store.WriteInt(kSettings, L"KeepTimestamps", AsFlag(m_keepTimestamps));
    ok &= store.WriteInt(kSettings, L"KeepAttributes", AsFlag(m_keepAttributes));
    ok &= store.WriteInt(kSettings, L"ConvertReadOnlys", AsFlag(m_convertReadOnly));
    ok &= store.WriteInt(kSettings, L"BackupOriginal", AsFlag(m_backupOriginal));
    ok &= store.WriteString(kSettings, L"DefaultFilter", m_defaultFilter);
    ok &= store.WriteString(kSettings, L"FileViewer", m_fileViewer);
    ok &= store.WriteInt(kSettings, L"AlwaysOnTop", AsFlag(m_alwaysOnTop));
    ok &= store.WriteInt(kSettings, L"AutoClose", AsFlag(m_autoClose));
    ok &= store.WriteInt(kSettings, L"Format", m_format);
    ok &= store.WriteString(kSettings, L"LastFolder", m_lastFolder);
    ok &= store.WriteString(kSettings, L"LastFilter", m_lastFilter);
    ok &= store.WriteInt(kSettings, L"ScanSubfolders", AsFlag(m_scanSubfolders));
    ok &= WritePresetFilters(store);
    return ok ? 0 : -1;
}

void CAppSettings::ReadPresetFilters(const IProfileStore& store)
{
    m_presets.clear();
    int count = store.GetInt(kFilters, kCount, 0);
    for (int i = 1; i <= count; ++i) {
        std::wstring section = PresetSection(static_cast<size_t>(i));
        PresetFilter preset{store.GetString(section, kName, L""), store.GetString(section, kFilter, L"")};
        // Entries after the first incomplete one are not read.
        if (preset.Name.empty() || preset.Filter.empty())
            break;
        m_presets.push_back(std::move(preset));
    }
    if (m_presets.empty())
        ResetPresetFilters();
}

bool CAppSettings::WritePresetFilters(IProfileStore& store) const
{
    bool ok = true;
    for (size_t i = 0; i < m_presets.size(); ++i) {
        std::wstring section = PresetSection(i + 1);
        ok &= store.WriteString(section, kName, m_presets[i].Name);
        ok &= store.WriteString(section, kFilter, m_presets[i].Filter);
    }
    // Subkeys above the new count stay; "Count" keeps them from being read.
    ok &= store.WriteInt(kFilters, kCount, static_cast<int>(m_presets.size()));
    return ok;
}

void CAppSettings::ResetPresetFilters()
{
    m_presets = DefaultFilterTable();
}

std::wstring CAppSettings::BuildFileDialogFilter() const
{
    std::wstring filter;
    for (const PresetFilter& preset : m_presets) {
        // The dialog splits the whole string at every "|": a preset holding one
        // would shift every later name and pattern, so it is left out here.
        if (preset.Name.find(L'|') != std::wstring::npos || preset.Filter.find(L'|') != std::wstring::npos)
            continue;
        filter += preset.Name + L" (" + preset.Filter + L")|" + preset.Filter + L"|";
    }
    return filter + L"|";
}
