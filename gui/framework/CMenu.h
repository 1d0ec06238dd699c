#pragma once
// Classes: CMenu, a move-only owner of one menu (loaded from a resource or
// created); it destroys the menu with its popups. Use CMenuHandle for views.
#include "CMenuHandle.h"

class CMenu : public CMenuHandle {
public:
    CMenu() noexcept = default;
    explicit CMenu(HMENU menu) noexcept : CMenuHandle(menu) {}
    CMenu(CMenu&& other) noexcept : CMenuHandle(other.Detach()) {}
    CMenu& operator=(CMenu&& other) noexcept;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;
    ~CMenu() { Destroy(); }

    bool Load(HINSTANCE module, UINT id);
    bool CreatePopup();
    void Destroy() noexcept;
    HMENU Detach() noexcept;
};
