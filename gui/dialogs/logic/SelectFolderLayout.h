#pragma once
// Where the Select Folder dialog's controls go for a client area of
// width x height pixels: buttons at the bottom right, the check box at the
// bottom left, the filter label and combo above the buttons, the size grip
// in the corner and the tree filling the rest. Sizes the rules keep come
// from the controls' current rectangles.
#include "LayoutRect.h"


struct SelectFolderControls {
    LayoutRect prompt, tree, filterLabel, filterCombo, scanCheck, ok, cancel, sizeGrip;
};

// scrollWidth, scrollHeight: the system's SM_CXVSCROLL and SM_CYHSCROLL.
SelectFolderControls LayoutSelectFolder(const SelectFolderControls& now, int width, int height,
                                        int scrollWidth, int scrollHeight);
