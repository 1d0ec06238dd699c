#include "MainLayout.h"

namespace {
// Moves a rectangle so that its bottom edge is at `bottom`, keeping its height.
LayoutRect WithBottom(LayoutRect r, int bottom)
{
    r.top = bottom - r.Height();
    r.bottom = bottom;
    return r;
}

LayoutRect WithRight(LayoutRect r, int right)
{
    r.left = right - r.Width();
    r.right = right;
    return r;
}

LayoutRect Toolbar(int left, LayoutSize size, int bandTop)
{
    const int top = bandTop + (kToolbarBandHeight - size.height) / 2;
    return {left, top, left + size.width, top + size.height};
}
}

MainLayout ComputeMainLayout(const LayoutRect& cr, LayoutSize menuBar, LayoutSize fileBar, const MainLayout& current)
{
    const int margin = 10;
    MainLayout out = current;
    out.menuBar = Toolbar(cr.right - margin - menuBar.width, menuBar, cr.top);
    out.fileBar = Toolbar(cr.left + 11, fileBar, cr.top);
    out.close = WithRight(WithBottom(current.close, cr.bottom - margin), cr.right - margin);
    out.convert = {out.close.left - 6 - current.close.Width(), out.close.top, out.close.left - 6, out.close.bottom};
    out.onTop = WithBottom(current.onTop, cr.bottom - 8);
    out.autoClose = WithBottom(current.autoClose, out.onTop.top - 4);
    out.format = WithBottom(current.format, cr.bottom - 56);
    out.format.right = cr.right - margin;
    out.label = WithBottom(current.label, out.format.top - 2);
    out.list = {current.list.left, cr.top + kToolbarBandHeight, cr.right - margin, out.label.top - 6};
    return out;
}
