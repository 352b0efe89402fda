#include "generator/random_source.h"

#include <algorithm>
#include <bitset>
#include <cstdlib>

#include "generator/wide_vectors.h"

static const int32_t kInitialWords[kRandomWords] = {
    2090,  446,   15978, 9664,  24976, 2778,  12587, 13465, 5144,  3413,  18023, 29380, 28864, 19910, 30595,
    3177,  18076, 32190, 1838,  8983,  16937, 23105, 14955, 12441, 23517, 25049, 4256,  3271,  12555, 32150,
    13907, 13346, 30690, 20472, 27660, 21073, 15896, 29159, 29303, 4526,  24648, 31651, 18978, 4401,  31674,
    19298, 14469, 29692, 11563, 1055,  17434, 10831, 31660, 15890, 7476,  2342,  27917, 8339,  18910, 4275,
    9156,  11302, 16820, 17608, 4219,  26169, 13947, 6168,  30010, 698,   32446, 29232, 28041, 29867, 8134,
    12469, 12342, 25134, 16114, 2415,  17831, 28690, 11366, 30130, 22020, 12864, 22444, 15253, 5850};

RandomSource::RandomSource() {
  for (int i = 0; i < kRandomWords; ++i) word[i] = kInitialWords[i];
}

namespace {

// Polynomials over GF(2) of degree below 2 x 89, bit i the coefficient of x^i.
using Polynomial = std::bitset<2 * kRandomWords>;

// The product modulo x^89 + x^51 + 1, the characteristic polynomial of the
// words' sequence y(n) = y(n - 89) ^ y(n - 38).
Polynomial MultiplyModulo(const Polynomial& a, const Polynomial& b) {
  Polynomial product;
  for (int i = 0; i < kRandomWords; ++i) {
    if (a[size_t(i)]) product ^= b << size_t(i);
  }
  for (int i = 2 * kRandomWords - 1; i >= kRandomWords; --i) {
    if (!product[size_t(i)]) continue;
    product.reset(size_t(i));
    product.flip(size_t(i - kRandomWords + kRandomLag));
    product.flip(size_t(i - kRandomWords));
  }
  return product;
}

}  // namespace

// Every bit of the words follows the same linear recurrence, so with
// x^draws = sum of c(i) x^i modulo its polynomial, y(m + draws) is the
// exclusive-or of the y(m + i) with c(i) = 1. The initial table holds
// y(-88) to y(0) (y(n) at position n mod 89), and 88 draws more give the
// y(1) to y(88) that the 89 words after the jump need.
RandomSource RandomSourceAfter(uint64_t draws) {
  Polynomial power, x;
  power.set(0);
  x.set(1);
  for (int bit = 63; bit >= 0; --bit) {
    power = MultiplyModulo(power, power);
    if (draws >> bit & 1) power = MultiplyModulo(power, x);
  }
  RandomSource start;
  int32_t y[2 * kRandomWords - 1];  // y(-88) to y(88)
  for (int n = -88; n <= 0; ++n) y[n + 88] = start.word[(n + kRandomWords) % kRandomWords];
  RandomWords(start, y + kRandomWords, kRandomWords - 1);

  RandomSource after;
  for (int j = 0; j < kRandomWords; ++j) {
    int32_t word = 0;
    for (int i = 0; i < kRandomWords; ++i) {
      if (power[size_t(i)]) word ^= y[j + i];
    }
    // y(draws - 88 + j) lies at position (draws - 88 + j) mod 89.
    after.word[(draws + uint64_t(j) + 1) % kRandomWords] = word;
  }
  after.position = int(draws % kRandomWords);
  after.draws = draws;
  return after;
}

void WarmUpAtStartup(RandomSource& random, int64_t calendarSeconds) {
  const int64_t draws = calendarSeconds % 100;
  for (int64_t i = 0; i < draws; ++i) RandomNext(random, int32_t(i));
}

void WarmUpForImage(RandomSource& random, int64_t calendarSeconds) {
  const int t16 = int16_t(uint16_t(calendarSeconds & 0xFFFF));
  const int draws = std::abs(t16) % 100 + 1;
  for (int i = 0; i < draws; ++i) RandomNext(random, 4);
}

// In place on the ring: position i takes T[i] ^ T[(i + 51) mod 89].
// Positions 0 to 37 read words 51 to 88, which this round has not reached
// yet; positions 38 to 88 read words 0 to 50, made 38 steps earlier. Either
// run vectorises, as no word depends on one made less than 38 steps before.
WIDE_VECTORS void RandomWords(RandomSource& random, int32_t* words, int count) {
  int32_t* t = random.word;
  random.draws += uint64_t(count > 0 ? count : 0);
  int p = random.position;
  while (count > 0) {
    const int first = p + 1 == kRandomWords ? 0 : p + 1;
    const int runEnd = first < kRandomWords - kRandomLag ? kRandomWords - kRandomLag : kRandomWords;
    const int n = std::min(count, runEnd - first);
    if (first < kRandomWords - kRandomLag) {
      for (int i = 0; i < n; ++i) words[i] = t[first + i] ^= t[first + i + kRandomLag];
    } else {
      for (int i = 0; i < n; ++i) words[i] = t[first + i] ^= t[first + i - (kRandomWords - kRandomLag)];
    }
    words += n;
    count -= n;
    p = first + n - 1;
  }
  random.position = p;
}
