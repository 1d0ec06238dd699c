#pragma once
// The sort state of a list with clickable column headers: which column is
// sorted and in which direction, and how a header click changes both.

class CSortState {
public:
    static constexpr int kUnsorted = 0;
    static constexpr int kAscending = 1;
    static constexpr int kDescending = -1;

    // Header image list slots of the two arrows.
    static constexpr int kAscendingArrowImage = 0;
    static constexpr int kDescendingArrowImage = 1;

    // Applies a click on the header of `column`. The first click, and every
    // click on the column already sorted, toggles the direction (ascending
    // first); a click on another column keeps the direction and moves the
    // sort there. Returns the column that was sorted before the click, whose
    // arrow has to be removed.
    int OnHeaderClick(int column);

    int Column() const { return m_column; }
    int Direction() const { return m_direction; }
    int ArrowImage() const;

private:
    int m_column = 0;
    int m_direction = kUnsorted;
};
