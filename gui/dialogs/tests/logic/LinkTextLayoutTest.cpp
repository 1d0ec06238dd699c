#include <gtest/gtest.h>

#include "LinkTextLayout.h"

TEST(LinkTextLayout, AlignmentBitsAndWrapping)
{
    EXPECT_EQ(LayoutLinkText(false, false, false).align, LinkTextAlign::Center);
    EXPECT_EQ(LayoutLinkText(true, false, false).align, LinkTextAlign::Left);
    EXPECT_EQ(LayoutLinkText(false, true, false).align, LinkTextAlign::Right);
    // BS_CENTER sets both bits; it must not read as right-aligned.
    EXPECT_EQ(LayoutLinkText(true, true, false).align, LinkTextAlign::Center);

    EXPECT_FALSE(LayoutLinkText(true, false, false).wrap);
    EXPECT_TRUE(LayoutLinkText(true, false, true).wrap);
}

