#pragma once
// How a link-style button places its text: alignment from the button's
// horizontal alignment bits, wrapping from its multi-line style, and the width
// that makes the button fit its text.

enum class LinkTextAlign { Left, Center, Right };

struct LinkTextLayout {
    LinkTextAlign align = LinkTextAlign::Center;
    bool wrap = false;  // multi-line buttons wrap; others are one vertically centred line
};

// hasLeftBit / hasRightBit are the button style's BS_LEFT and BS_RIGHT bits;
// both together are BS_CENTER, neither is the button default, centred.
LinkTextLayout LayoutLinkText(bool hasLeftBit, bool hasRightBit, bool multiLine);

// Width of a button that fits a text of `textWidth` pixels: one pixel of room
// each side, the same room the drawing leaves around the text.
int FitLinkWidth(int textWidth);
