#include "SelectFolderLayout.h"

namespace {
const int kMargin = 10;
const int kButtonGap = 6;
const int kComboBelowButtons = 16;  // combo bottom above the client bottom, besides the OK height
const int kLabelAboveCombo = 18;
const int kTreeAboveLabel = 4;

LayoutRect WithBottom(const LayoutRect& r, int bottom)
{
    return {r.left, bottom - r.Height(), r.right, bottom};
}
}

SelectFolderControls LayoutSelectFolder(const SelectFolderControls& now, int width, int height,
                                        int scrollWidth, int scrollHeight)
{
    SelectFolderControls out = now;
    out.prompt.right = width - kMargin;
    out.sizeGrip = {width - scrollWidth, height - scrollHeight, width, height};
    out.scanCheck = WithBottom(now.scanCheck, height - kMargin);

    out.cancel = {width - kMargin - now.cancel.Width(), height - kMargin - now.cancel.Height(), width - kMargin,
                  height - kMargin};
    out.ok = {out.cancel.left - kButtonGap - now.ok.Width(), out.cancel.bottom - now.ok.Height(),
              out.cancel.left - kButtonGap, out.cancel.bottom};

    const int okHeight = now.ok.Height();
    out.filterLabel = WithBottom(now.filterLabel, height - now.filterCombo.Height() - okHeight - kLabelAboveCombo);
    out.filterCombo = WithBottom(now.filterCombo, height - okHeight - kComboBelowButtons);
    out.filterCombo.right = width - kMargin;

    out.tree.right = width - kMargin;
    out.tree.bottom = out.filterLabel.top - kTreeAboveLabel;
    return out;
}
