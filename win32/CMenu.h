#pragma once
// Classes: CMenu, a move-only owner of one menu (loaded from a resource or
// created); it destroys the menu with its popups. Detach hands the menu over,
// for example to the menu it is inserted into as a popup. Use CMenuHandle for
// views.
#include "CMenuHandle.h"
#include "CUniqueHandle.h"

#include <utility>

class CMenu : public CMenuHandle {
public:
    CMenu() noexcept = default;
    explicit CMenu(HMENU menu) noexcept : CMenuHandle(menu) {}
    CMenu(CMenu&& other) noexcept : CMenuHandle(other.Detach()) {}
    CMenu& operator=(CMenu&& other) noexcept
    {
        if (this != &other) {
            Destroy();
            m_menu = other.Detach();
        }
        return *this;
    }
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;
    ~CMenu() { Destroy(); }

    bool Load(HINSTANCE module, UINT id)
    {
        Destroy();
        m_menu = ::LoadMenuW(module, MAKEINTRESOURCEW(id));
        return m_menu != nullptr;
    }
    bool CreatePopup()
    {
        Destroy();
        m_menu = ::CreatePopupMenu();
        return m_menu != nullptr;
    }
    void Destroy() noexcept
    {
        if (HMENU menu = Detach())
            CMenuTraits::Close(menu);
    }
    HMENU Detach() noexcept { return std::exchange(m_menu, nullptr); }
};
