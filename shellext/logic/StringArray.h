#pragma once
// CStringArray: the handler's own small list of owned wide strings.
//
// Capacity and count are tracked as the handler's rules describe them: Append
// grows the capacity by 8 whenever it is full, PreSize sets an exact capacity
// for a list of known length, Clear drops every entry and the capacity.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qlshell {

class CStringArray {
public:
    // How many entries Append adds to a full array.
    static constexpr int32_t kGrowBy = 8;

    CStringArray() = default;
    CStringArray(const CStringArray&) = default;
    CStringArray& operator=(const CStringArray&) = default;
    CStringArray(CStringArray&&) noexcept;
    CStringArray& operator=(CStringArray&&) noexcept;
    ~CStringArray() = default;

    // Stores a copy of `text` at the end; returns the index it got (the old count).
    int32_t Append(std::wstring_view text);
    // Removes every entry; capacity and count become 0.
    void Clear();
    // Clear, then reserve room for exactly `capacity` entries (count stays 0).
    void PreSize(int32_t capacity);

    int32_t GetCount() const { return static_cast<int32_t>(m_items.size()); }
    int32_t GetCapacity() const { return m_capacity; }
    // Entry `index`, or null when the index is not below the count.
    const std::wstring* GetAt(int32_t index) const;
    const std::vector<std::wstring>& Items() const { return m_items; }

private:
    int32_t m_capacity = 0;
    std::vector<std::wstring> m_items;
};

}  // namespace qlshell
