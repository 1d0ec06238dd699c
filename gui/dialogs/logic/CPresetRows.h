#pragma once
// Classes: CPresetRows, the entries behind the Preset Filters dialog's rows
// while the dialog is open. The dialog works on copies of the presets: each
// row carries a key into this table (never a pointer into the settings' list,
// which moves when it grows or is reset), and on close the rows' keys, in row
// order, give the list that replaces the settings' one. Keys are never reused
// within one table. A changed flag records adds, real edits, deletes and loads
// that the dialog marks as changes.
#include "PresetFilter.h"

#include <cstdint>
#include <map>
#include <vector>

class CPresetRows {
public:
    using Key = std::intptr_t;

    // Replaces every entry with copies of `presets`; returns their keys in order.
    // The changed flag is left as it is.
    std::vector<Key> Load(const std::vector<PresetFilter>& presets);
    // A new entry; sets the changed flag.
    Key Add(const PresetFilter& preset);
    // Null for an unknown key.
    const PresetFilter* Find(Key key) const;
    // Takes the new texts when either differs from the entry's (exact,
    // case-sensitive comparison) and sets the changed flag. False when nothing
    // changed or the key is unknown.
    bool Edit(Key key, const PresetFilter& preset);
    // Drops an entry; sets the changed flag when the key was known.
    bool Remove(Key key);

    void MarkChanged() { m_changed = true; }
    bool Changed() const { return m_changed; }

    // The entries of the given keys in that order; unknown keys are skipped.
    std::vector<PresetFilter> Collect(const std::vector<Key>& rowOrder) const;

private:
    std::map<Key, PresetFilter> m_entries;
    Key m_nextKey = 1;
    bool m_changed = false;
};
