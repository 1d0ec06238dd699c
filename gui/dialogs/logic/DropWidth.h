#pragma once
// Width of an extended combo box's dropped list: wide enough for the widest
// item text with its image, narrowed so that the list stays on the monitor.

struct DropListMetrics {
    int widestTextWidth = 0;  // widest item text, in pixels, with the control's font
    int letterWWidth = 0;     // width of "W" with the same font: the side margins
    int imageWidth = 0;       // first image's width + 1, or 0 without an image list
    int itemHeight = 0;
    int itemCount = 0;
    int droppedListHeight = 0;  // height of the dropped list rectangle
    int scrollBarWidth = 0;     // SM_CXVSCROLL
    int comboLeft = 0;          // left edge of the combo box, screen coordinates
    int screenRight = 0;        // right edge of the monitor that shows the combo box
};

// Pixels kept free between the dropped list and the monitor's right edge.
inline constexpr int kDropListEdgeGap = 2;

int ComputeDropWidth(const DropListMetrics& m);
