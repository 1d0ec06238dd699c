#include <gtest/gtest.h>

#include "CSortState.h"

TEST(CSortState, SameColumnTogglesAndAnotherColumnKeepsTheDirection)
{
    CSortState s;
    EXPECT_EQ(s.Direction(), CSortState::kUnsorted);
    EXPECT_EQ(s.Column(), 0);

    // The first click on a column other than 0 still starts ascending.
    EXPECT_EQ(s.OnHeaderClick(2), 0);
    EXPECT_EQ(s.Column(), 2);
    EXPECT_EQ(s.Direction(), CSortState::kAscending);
    EXPECT_EQ(s.ArrowImage(), CSortState::kAscendingArrowImage);

    EXPECT_EQ(s.OnHeaderClick(2), 2);
    EXPECT_EQ(s.Direction(), CSortState::kDescending);
    EXPECT_EQ(s.ArrowImage(), CSortState::kDescendingArrowImage);

    EXPECT_EQ(s.OnHeaderClick(1), 2);
    EXPECT_EQ(s.Column(), 1);
    EXPECT_EQ(s.Direction(), CSortState::kDescending);

    EXPECT_EQ(s.OnHeaderClick(1), 1);
    EXPECT_EQ(s.Direction(), CSortState::kAscending);
}
