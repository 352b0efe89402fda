#include "generator/random_source.h"

#include <algorithm>
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
