#include <gtest/gtest.h>

#include "DropWidth.h"

namespace {
DropListMetrics ShortList()
{
    DropListMetrics m;
    m.widestTextWidth = 120;
    m.letterWWidth = 10;
    m.imageWidth = 17;
    m.itemHeight = 16;
    m.itemCount = 3;
    m.droppedListHeight = 200;
    m.scrollBarWidth = 17;
    m.comboLeft = 100;
    m.screenRight = 1280;
    return m;
}
}  // namespace

TEST(DropWidth, WidestTextPlusMarginsAndScrollBarOnlyWhenTheItemsFillTheList)
{
    DropListMetrics m = ShortList();
    EXPECT_EQ(ComputeDropWidth(m), 120 + 20 + 17 + 8);

    m.imageWidth = 0;
    EXPECT_EQ(ComputeDropWidth(m), 120 + 20 + 8);

    m.itemCount = 12;  // 12 * 16 = 192: still below the list height
    EXPECT_EQ(ComputeDropWidth(m), 148);
    m.droppedListHeight = 192;  // exactly full: a scroll bar appears
    EXPECT_EQ(ComputeDropWidth(m), 148 + 17);
}

TEST(DropWidth, NarrowedToStayTwoPixelsInsideTheMonitor)
{
    DropListMetrics m = ShortList();
    m.comboLeft = 1280 - 165 - 2;  // the list just fits
    EXPECT_EQ(ComputeDropWidth(m), 165);
    m.comboLeft += 40;
    EXPECT_EQ(ComputeDropWidth(m), 165 - 40);

    // A monitor left of the primary one has negative coordinates.
    m.comboLeft = -300;
    m.screenRight = -100;
    EXPECT_EQ(ComputeDropWidth(m), 165);
    m.comboLeft = -150;
    EXPECT_EQ(ComputeDropWidth(m), 48);

    // A combo box reaching past the edge never gets a negative width.
    m.comboLeft = -99;
    EXPECT_EQ(ComputeDropWidth(m), 0);
}
