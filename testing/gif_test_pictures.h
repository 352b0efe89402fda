// Pictures for the GIF tests: palette images from a pixel rule, and the
// same pixels as giflib sees them.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "testing/giflib_peer.h"
#include "image/dib_image.h"

// A palette image whose pixel (x, y), y = 0 at the top, is rule(x, y) masked
// to the depth; colour i is red i * 7, green 255 - i, blue i * 3.
DibImagePtr RulePicture(int width, int height, int depth, const std::function<int(int, int)>& rule);
// Pixels of random bytes masked to the depth.
DibImagePtr RandomPicture(int width, int height, int depth, unsigned seed);
// The image as a giflib picture (same colours, same indexes).
PeerPicture PeerOf(const DibImage& image);
