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

LayoutRect Toolbar(int left, LayoutSize size, int bandTop, int bandHeight)
{
    const int top = bandTop + (bandHeight - size.height) / 2;
    return {left, top, left + size.width, top + size.height};
}
}

int ScaleForDpi(int pixels, int dpi)
{
    return dpi > 0 ? (pixels * dpi + 48) / 96 : pixels;
}

MainLayout ComputeMainLayout(const LayoutRect& cr, LayoutSize menuBar, LayoutSize fileBar, const MainLayout& current,
                             int dpi)
{
    auto px = [dpi](int pixels) { return ScaleForDpi(pixels, dpi); };
    const int margin = px(10);
    const int band = px(kToolbarBandHeight);
    MainLayout out = current;
    out.menuBar = Toolbar(cr.right - margin - menuBar.width, menuBar, cr.top, band);
    out.fileBar = Toolbar(cr.left + px(11), fileBar, cr.top, band);
    out.close = WithRight(WithBottom(current.close, cr.bottom - margin), cr.right - margin);
    const int gap = px(6);
    out.convert = {out.close.left - gap - current.close.Width(), out.close.top, out.close.left - gap, out.close.bottom};
    out.onTop = WithBottom(current.onTop, cr.bottom - px(8));
    out.autoClose = WithBottom(current.autoClose, out.onTop.top - px(4));
    out.format = WithBottom(current.format, cr.bottom - px(56));
    out.format.right = cr.right - margin;
    out.label = WithBottom(current.label, out.format.top - px(2));
    out.list = {current.list.left, cr.top + band, cr.right - margin, out.label.top - px(6)};
    return out;
}
