#pragma once
// Free functions: DefaultFilterTable, the 20 preset filters a first start
// offers and "Load Defaults" restores, in display order.
#include "PresetFilter.h"

#include <vector>

std::vector<PresetFilter> DefaultFilterTable();
