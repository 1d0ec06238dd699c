#pragma once
// The line-ending conversion written the plain way: one unit at a time over the
// whole input, with the counter checked after every counted unit. Tests and the
// fuzz target compare the block converter against it.
#include <cstdint>
#include <vector>

#include "ProgressSink.h"

std::vector<uint8_t> ReferenceConvert(const std::vector<uint8_t>& input, int format, CProgressSink* sink);
