#pragma once
// Classes: CAppSettings, the program's settings and preset filters: loaded
// once at start-up, changed in memory while the program runs, written once at
// exit. The four conversion options are read by the worker thread while the
// window thread may toggle them, hence atomic words.
#include "IProfileStore.h"
#include "PresetFilter.h"

#include <atomic>
#include <string>
#include <vector>

class CAppSettings {
public:
    CAppSettings() = default;
    CAppSettings(const CAppSettings&) = delete;
    CAppSettings& operator=(const CAppSettings&) = delete;

    // Reads the twelve "Settings" values, then the presets. Returns 0.
    int LoadSettings(const IProfileStore& store);
    // Writes the twelve values, then the presets; 0, or -1 when a write failed.
    // Before LoadSettings has run it writes nothing: the store would otherwise
    // be overwritten with defaults and an empty preset list.
    int SaveSettings(IProfileStore& store) const;
    bool IsLoaded() const { return m_loaded; }

    void ReadPresetFilters(const IProfileStore& store);
    bool WritePresetFilters(IProfileStore& store) const;
    void ResetPresetFilters();
    // "Name (Filter)|Filter|" per preset, then one more "|". Presets with a "|"
    // in either text are left out of this list only.
    std::wstring BuildFileDialogFilter() const;

    std::atomic<int> m_keepTimestamps{0};
    std::atomic<int> m_keepAttributes{1};
    std::atomic<int> m_convertReadOnly{1};
    std::atomic<int> m_backupOriginal{0};
    int m_autoClose = 0;
    int m_alwaysOnTop = 0;
    std::wstring m_defaultFilter;
    std::wstring m_fileViewer;
    int m_format = 0;
    std::wstring m_lastFolder;
    std::wstring m_lastFilter;
    int m_scanSubfolders = 1;
    std::vector<PresetFilter> m_presets;

private:
    bool m_loaded = false;
};
