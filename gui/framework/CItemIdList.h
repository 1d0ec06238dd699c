#pragma once
// Classes: CItemIdList, a move-only owner of one shell item-ID list, freed
// with the shell's allocator (the COM task allocator). Out-parameters go
// through Put(), whose result adopts the list when the full expression ends:
//     HRESULT hr = folder->ParseDisplayName(..., list.Put(), nullptr);
//     if (FAILED(hr) || !list) ...
// so the list is looked at in a later statement, never in the same one.
// LiveCount() tells how many lists are owned right now in the process; tests
// use it to prove that every list has been freed.
#include <windows.h>
#include <shtypes.h>

class CItemIdList {
public:
    CItemIdList() noexcept = default;
    // Takes ownership of a list made by the shell allocator.
    explicit CItemIdList(ITEMIDLIST* owned) noexcept;
    CItemIdList(CItemIdList&& other) noexcept;
    CItemIdList& operator=(CItemIdList&& other) noexcept;
    CItemIdList(const CItemIdList&) = delete;
    CItemIdList& operator=(const CItemIdList&) = delete;
    ~CItemIdList() { Reset(); }

    const ITEMIDLIST* Get() const noexcept { return m_list; }
    explicit operator bool() const noexcept { return m_list != nullptr; }
    // True for no list and for the empty list (the desktop).
    bool IsEmpty() const noexcept { return !m_list || m_list->mkid.cb == 0; }

    void Reset(ITEMIDLIST* owned = nullptr) noexcept;

    // The slot for an out-parameter; the list written there is adopted when
    // the full expression ends.
    class COutSlot {
    public:
        explicit COutSlot(CItemIdList& owner) noexcept : m_owner(owner) {}
        ~COutSlot() { m_owner.Reset(m_raw); }
        COutSlot(const COutSlot&) = delete;
        COutSlot& operator=(const COutSlot&) = delete;
        operator ITEMIDLIST**() noexcept { return &m_raw; }

    private:
        CItemIdList& m_owner;
        ITEMIDLIST* m_raw = nullptr;
    };
    COutSlot Put() noexcept
    {
        Reset();
        return COutSlot(*this);
    }

    // A copy of `parent` followed by `child`; either may be null or empty.
    // An empty object when memory runs out.
    static CItemIdList Combine(const ITEMIDLIST* parent, const ITEMIDLIST* child);
    static CItemIdList Copy(const ITEMIDLIST* list) { return Combine(list, nullptr); }
    // The last item ID of a list (the list itself when it has one ID; the
    // terminator when it is empty).
    static const ITEMIDLIST* LastId(const ITEMIDLIST* list) noexcept;
    // Bytes of the list without its two-byte terminator.
    static UINT ContentSize(const ITEMIDLIST* list) noexcept;

    static long LiveCount() noexcept;

private:
    ITEMIDLIST* m_list = nullptr;
};
