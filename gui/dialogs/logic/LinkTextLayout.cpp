#include "LinkTextLayout.h"

namespace {
constexpr int kLinkSideMargin = 1;
}

LinkTextLayout LayoutLinkText(bool hasLeftBit, bool hasRightBit, bool multiLine)
{
    LinkTextLayout layout;
    layout.wrap = multiLine;
    if (hasRightBit && !hasLeftBit)
        layout.align = LinkTextAlign::Right;
    else if (hasLeftBit && !hasRightBit)
        layout.align = LinkTextAlign::Left;
    else
        layout.align = LinkTextAlign::Center;
    return layout;
}

int FitLinkWidth(int textWidth)
{
    return textWidth + 2 * kLinkSideMargin;
}
