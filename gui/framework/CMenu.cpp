#include "CMenu.h"

#include <utility>

CMenu& CMenu::operator=(CMenu&& other) noexcept
{
    if (this != &other) {
        Destroy();
        m_menu = other.Detach();
    }
    return *this;
}

bool CMenu::Load(HINSTANCE module, UINT id)
{
    Destroy();
    m_menu = ::LoadMenuW(module, MAKEINTRESOURCEW(id));
    return m_menu != nullptr;
}

bool CMenu::CreatePopup()
{
    Destroy();
    m_menu = ::CreatePopupMenu();
    return m_menu != nullptr;
}

void CMenu::Destroy() noexcept
{
    if (HMENU menu = Detach())
        ::DestroyMenu(menu);
}

HMENU CMenu::Detach() noexcept
{
    return std::exchange(m_menu, nullptr);
}
