#include "app/view_scroll.h"

#include <algorithm>
#include <cstdint>

int ClampScrollPosition(int position, int extent, int page) {
  return std::max(0, std::min(position, extent - page));
}

int ScrollPositionAfter(int position, ScrollMove move, int extent, int page, int line) {
  const int pageStep = std::max(1, page - line);  // a page on keeps a line in sight
  switch (move) {
    case ScrollMove::kLineBack: position -= line; break;
    case ScrollMove::kLineOn: position += line; break;
    case ScrollMove::kPageBack: position -= pageStep; break;
    case ScrollMove::kPageOn: position += pageStep; break;
    case ScrollMove::kToStart: position = 0; break;
    case ScrollMove::kToEnd: position = extent; break;
  }
  return ClampScrollPosition(position, extent, page);
}

int WheelScrollPosition(int position, int wheelDelta, int linesPerNotch, int extent, int page, int line) {
  constexpr int kNotch = 120;
  const int64_t notchStep = linesPerNotch < 0 ? std::max(1, page - line) : int64_t(linesPerNotch) * line;
  const int64_t moved = -int64_t(wheelDelta) * notchStep / kNotch;
  const int64_t target = std::clamp<int64_t>(position + moved, 0, extent);
  return ClampScrollPosition(int(target), extent, page);
}
