#pragma once
// Where the main window's controls go for a client rectangle: the toolbars in
// a 40-pixel band at the top, the buttons and check boxes along the bottom,
// and the list filling the rest.

#include "LayoutRect.h"

struct MainLayout {
    LayoutRect menuBar, fileBar, close, convert, autoClose, onTop, format, label, list;
};

struct LayoutSize {
    int width = 0, height = 0;
};

// `current` holds the controls' present rectangles; what a step leaves
// unchanged (sizes, some left edges) is taken from it. Toolbars are given by
// their measured sizes. The gaps are pixels at 96 DPI and grow with `dpi`,
// as the controls' own sizes do.
MainLayout ComputeMainLayout(const LayoutRect& client, LayoutSize menuBar, LayoutSize fileBar,
                             const MainLayout& current, int dpi = 96);

// A length in pixels at 96 DPI, at `dpi`.
int ScaleForDpi(int pixels, int dpi);

constexpr int kToolbarBandHeight = 40;
constexpr int kMinWindowWidth = 480;
constexpr int kMinWindowHeight = 320;
