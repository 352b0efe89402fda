// The order in which a GIF image stores its rows: top to bottom, or in the
// four interlace passes (every 8th row from 0, every 8th from 4, every 4th
// from 2, every 2nd from 1).
#pragma once

#include <vector>

// Image rows (0 = top) in the order the file holds them.
std::vector<int> GifRowOrder(int height, bool interlace);
