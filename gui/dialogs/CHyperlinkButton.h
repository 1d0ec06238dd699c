#pragma once
// Classes: CHyperlinkButton, an owner-drawn button that looks like a link: its
// text in the link colour, the hover colour (and font) while the mouse is over
// it, the hand cursor, and the parent's background showing through. A click
// opens the target; without a target the parent gets the click as an ordinary
// command.
#include "CButton.h"

#include <string>

class CHyperlinkButton : public CButton {
public:
    static constexpr COLORREF kDefaultLinkColour = RGB(0, 0, 255);
    static constexpr COLORREF kDefaultHoverColour = RGB(255, 0, 0);

    CHyperlinkButton();

    // Sets the target; a non-null caption becomes the button's text.
    void SetLink(const std::wstring& target, const wchar_t* caption = nullptr);
    const std::wstring& Target() const { return m_target; }
    // Resizes a single-line button to its text, keeping position and height.
    void FitToText();

    void SetLinkColour(COLORREF colour) { m_linkColour = colour; }
    void SetHoverColour(COLORREF colour) { m_hoverColour = colour; }
    void SetBackgroundColour(COLORREF colour) { m_backgroundColour = colour; }
    // Not owned; null draws the hover state with the button's own font.
    void SetHoverFont(HFONT font) { m_hoverFont = font; }
    // Not owned; null uses the system's hand cursor.
    void SetHandCursor(HCURSOR cursor) { m_handCursor = cursor; }
    void SetTransparent(bool transparent) { m_transparent = transparent; }
    bool IsHovering() const { return m_hover; }

    bool OnReflectedCommand(UINT code, LRESULT& result) override;
    bool OnReflectedDrawItem(DRAWITEMSTRUCT* item) override;

protected:
    virtual void DrawItem(const DRAWITEMSTRUCT& item);
    // Opens the target through the shell.
    virtual void OpenTarget();

    bool OnSetCursor(HWND window, UINT hitTest, UINT mouseMessage) override;
    bool OnEraseBackground(HDC dc, LRESULT& result) override;
    bool OnMouseMove(UINT keys, POINT point) override;
    bool OnMouseLeave() override;

private:
    void DrawBackground(HDC dc, const RECT& rect) const;
    void DrawLabel(HDC dc, RECT rect) const;

    HFONT m_hoverFont = nullptr;
    HCURSOR m_handCursor = nullptr;
    COLORREF m_linkColour = kDefaultLinkColour;
    COLORREF m_hoverColour = kDefaultHoverColour;
    COLORREF m_backgroundColour;
    std::wstring m_target;
    bool m_hover = false;
    bool m_transparent = true;
};
