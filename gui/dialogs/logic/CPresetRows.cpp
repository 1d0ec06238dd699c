#include "CPresetRows.h"

std::vector<CPresetRows::Key> CPresetRows::Load(const std::vector<PresetFilter>& presets)
{
    m_entries.clear();
    std::vector<Key> keys;
    keys.reserve(presets.size());
    for (const PresetFilter& preset : presets) {
        Key key = m_nextKey++;
        m_entries.emplace(key, preset);
        keys.push_back(key);
    }
    return keys;
}

CPresetRows::Key CPresetRows::Add(const PresetFilter& preset)
{
    Key key = m_nextKey++;
    m_entries.emplace(key, preset);
    m_changed = true;
    return key;
}

const PresetFilter* CPresetRows::Find(Key key) const
{
    auto it = m_entries.find(key);
    return it == m_entries.end() ? nullptr : &it->second;
}

bool CPresetRows::Edit(Key key, const PresetFilter& preset)
{
    auto it = m_entries.find(key);
    if (it == m_entries.end() || it->second == preset)
        return false;
    it->second = preset;
    m_changed = true;
    return true;
}

bool CPresetRows::Remove(Key key)
{
    if (m_entries.erase(key) == 0)
        return false;
    m_changed = true;
    return true;
}

std::vector<PresetFilter> CPresetRows::Collect(const std::vector<Key>& rowOrder) const
{
    std::vector<PresetFilter> presets;
    presets.reserve(rowOrder.size());
    for (Key key : rowOrder) {
        if (const PresetFilter* preset = Find(key))
            presets.push_back(*preset);
    }
    return presets;
}
