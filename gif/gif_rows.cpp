#include "gif/gif_rows.h"

#include <cstddef>

std::vector<int> GifRowOrder(int height, bool interlace) {
  std::vector<int> order;
  order.reserve(height > 0 ? size_t(height) : 0);
  if (!interlace) {
    for (int r = 0; r < height; ++r) order.push_back(r);
    return order;
  }
  static const int kStart[4] = {0, 4, 2, 1};
  static const int kStep[4] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass) {
    for (int r = kStart[pass]; r < height; r += kStep[pass]) order.push_back(r);
  }
  return order;
}
