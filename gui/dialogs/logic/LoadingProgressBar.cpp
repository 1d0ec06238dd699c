#include "LoadingProgressBar.h"

#include <algorithm>
#include <cmath>

int LoadingFillWidth(int count, int total, int fullWidth)
{
    if (count <= 0)
        return 0;
    if (total > 0)
        return static_cast<int>(static_cast<long long>(fullWidth) * std::min(count, total) / total);
    const double n = count;
    const double grown = std::exp(0.4 * n);
    // Past the range of double the curve has long reached the full width.
    if (!std::isfinite(grown))
        return fullWidth;
    const double fraction = 1.0 + 0.2 * n - 0.5 * std::log(grown + std::exp(2.0) - 1.0);
    const int width = static_cast<int>(fullWidth * fraction);
    return std::clamp(width, 0, fullWidth);
}
