// How the image view scrolls through a picture larger than itself, along
// one direction at a time: positions are the picture's pixel at the view's
// left or top edge, from 0 to extent - page.
#pragma once

enum class ScrollMove { kLineBack, kLineOn, kPageBack, kPageOn, kToStart, kToEnd };

// The position brought into range for a picture `extent` pixels long seen
// through `page` pixels.
int ClampScrollPosition(int position, int extent, int page);

// After a scroll bar, arrow, page, Home or End move; a line is `line` pixels.
int ScrollPositionAfter(int position, ScrollMove move, int extent, int page, int line);

// After the wheel turned by wheelDelta (120 a notch, positive away from the
// user, which scrolls back) with linesPerNotch lines a notch; a system set
// to scroll a page a notch gives a negative linesPerNotch.
int WheelScrollPosition(int position, int wheelDelta, int linesPerNotch, int extent, int page, int line);
