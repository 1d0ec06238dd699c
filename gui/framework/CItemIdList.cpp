#include "CItemIdList.h"

#include <objbase.h>
#include <atomic>
#include <cstring>
#include <utility>

namespace {
std::atomic<long> g_liveLists{0};

const ITEMIDLIST* NextId(const ITEMIDLIST* id) noexcept
{
    return reinterpret_cast<const ITEMIDLIST*>(reinterpret_cast<const BYTE*>(id) + id->mkid.cb);
}
}

CItemIdList::CItemIdList(ITEMIDLIST* owned) noexcept
{
    Reset(owned);
}

CItemIdList::CItemIdList(CItemIdList&& other) noexcept : m_list(std::exchange(other.m_list, nullptr)) {}

CItemIdList& CItemIdList::operator=(CItemIdList&& other) noexcept
{
    if (this != &other) {
        Reset();
        m_list = std::exchange(other.m_list, nullptr);
    }
    return *this;
}

void CItemIdList::Reset(ITEMIDLIST* owned) noexcept
{
    if (m_list) {
        ::CoTaskMemFree(m_list);
        --g_liveLists;
    }
    m_list = owned;
    if (m_list)
        ++g_liveLists;
}

UINT CItemIdList::ContentSize(const ITEMIDLIST* list) noexcept
{
    UINT size = 0;
    for (const ITEMIDLIST* id = list; id && id->mkid.cb; id = NextId(id))
        size += id->mkid.cb;
    return size;
}

const ITEMIDLIST* CItemIdList::LastId(const ITEMIDLIST* list) noexcept
{
    if (!list)
        return nullptr;
    const ITEMIDLIST* last = list;
    for (const ITEMIDLIST* id = list; id->mkid.cb; id = NextId(id))
        last = id;
    return last;
}

CItemIdList CItemIdList::Combine(const ITEMIDLIST* parent, const ITEMIDLIST* child)
{
    const UINT parentSize = ContentSize(parent);
    const UINT childSize = ContentSize(child);
    // The list ends with a zero cb field: two zero bytes.
    auto* raw = static_cast<BYTE*>(::CoTaskMemAlloc(parentSize + childSize + sizeof(USHORT)));
    if (!raw)
        return {};
    if (parentSize)
        std::memcpy(raw, parent, parentSize);
    if (childSize)
        std::memcpy(raw + parentSize, child, childSize);
    std::memset(raw + parentSize + childSize, 0, sizeof(USHORT));
    return CItemIdList(reinterpret_cast<ITEMIDLIST*>(raw));
}

long CItemIdList::LiveCount() noexcept
{
    return g_liveLists.load();
}
