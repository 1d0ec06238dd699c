#include "CSortState.h"

int CSortState::OnHeaderClick(int column)
{
    if (m_direction == kUnsorted || column == m_column)
        m_direction = m_direction == kUnsorted ? kAscending : -m_direction;
    const int previous = m_column;
    m_column = column;
    return previous;
}

int CSortState::ArrowImage() const
{
    return m_direction == kDescending ? kDescendingArrowImage : kAscendingArrowImage;
}
