#include "DropWidth.h"

namespace {
// Room for the list's own border and the gap between image and text.
constexpr int kDropListPadding = 8;
}

int ComputeDropWidth(const DropListMetrics& m)
{
    int width = m.widestTextWidth + 2 * m.letterWWidth + m.imageWidth + kDropListPadding;

    // When the items fill the list (or more), the list shows a vertical scroll
    // bar, which would otherwise cover the end of the widest text.
    const long long itemsHeight = static_cast<long long>(m.itemHeight) * m.itemCount;
    if (itemsHeight >= m.droppedListHeight) width += m.scrollBarWidth;

    const long long room = static_cast<long long>(m.screenRight) - m.comboLeft - kDropListEdgeGap;
    if (static_cast<long long>(width) > room) width = room > 0 ? static_cast<int>(room) : 0;
    return width;
}
