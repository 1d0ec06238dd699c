#pragma once
// The width in pixels of the fill of the folder tree's small loading bar.
// With a known total the fill grows in proportion to the count. While the
// total is unknown (0, throughout an enumeration) it grows quickly at first
// and then ever more slowly towards the full width, never reaching past it:
//     full * (1 + 0.2 n - 0.5 ln(e^(0.4 n) + e^2 - 1)), truncated.
int LoadingFillWidth(int count, int total, int fullWidth);
