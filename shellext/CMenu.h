#pragma once
// CMenu owns a menu (DestroyMenu); Detach hands it over, for example to the
// menu it is inserted into as a popup.
#include <windows.h>

#include <utility>

class CMenu {
public:
    explicit CMenu(HMENU menu = nullptr) : m_menu(menu) {}
    ~CMenu() {
        if (m_menu != nullptr)
            DestroyMenu(m_menu);
    }
    CMenu(CMenu&& other) noexcept : m_menu(std::exchange(other.m_menu, nullptr)) {}
    CMenu& operator=(CMenu&&) = delete;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    HMENU Get() const { return m_menu; }
    HMENU Detach() { return std::exchange(m_menu, nullptr); }

private:
    HMENU m_menu;
};
