#include "StringArray.h"

#include <utility>

namespace qlshell {

CStringArray::CStringArray(CStringArray&& other) noexcept
    : m_capacity(std::exchange(other.m_capacity, 0)), m_items(std::move(other.m_items)) {
    other.m_items.clear();
}

CStringArray& CStringArray::operator=(CStringArray&& other) noexcept {
    if (this != &other) {
        m_capacity = std::exchange(other.m_capacity, 0);
        m_items = std::move(other.m_items);
        other.m_items.clear();
    }
    return *this;
}

int32_t CStringArray::Append(std::wstring_view text) {
    const int32_t index = GetCount();
    if (index == m_capacity) {
        m_capacity += kGrowBy;
        m_items.reserve(static_cast<size_t>(m_capacity));
    }
    m_items.emplace_back(text);
    return index;
}

void CStringArray::Clear() {
    m_items.clear();
    m_items.shrink_to_fit();
    m_capacity = 0;
}

void CStringArray::PreSize(int32_t capacity) {
    Clear();
    m_capacity = capacity > 0 ? capacity : 0;
    m_items.reserve(static_cast<size_t>(m_capacity));
}

const std::wstring* CStringArray::GetAt(int32_t index) const {
    if (index < 0 || index >= GetCount()) return nullptr;
    return &m_items[static_cast<size_t>(index)];
}

}  // namespace qlshell
