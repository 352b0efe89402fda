// The program's one random number generator: an 89-word lagged exclusive-or
// generator (a feedback shift register on the trinomial x^89 + x^38 + 1) with
// a fixed initial table. Every draw anywhere advances the same state.
#pragma once

#include <cstdint>

constexpr int kRandomWords = 89;
constexpr int kRandomLag = 51;  // T[p] ^= T[(p + 51) mod 89]

struct RandomSource {
  int32_t word[kRandomWords];
  int position = 0;
  // Draws since the initial table: the state is the table advanced by as
  // many draws, so this one number tells it whole.
  uint64_t draws = 0;

  RandomSource();
};

// The next word (0 to 32767).
inline int32_t RandomNextWord(RandomSource& random) {
  int p = random.position + 1;
  if (p == kRandomWords) p = 0;
  int q = p + kRandomLag;
  if (q >= kRandomWords) q -= kRandomWords;
  random.position = p;
  ++random.draws;
  return random.word[p] ^= random.word[q];
}

// The next count words, as count calls of RandomNextWord give them, made
// many at a time.
void RandomWords(RandomSource& random, int32_t* words, int count);

// A word scaled to a: 0 to a - 1 for a positive a, 0 for 0, -(|a| - 1) to 0
// for a negative a; the product is taken as a signed 32-bit number.
inline int32_t ScaleRandomWord(int32_t a, int32_t word) { return int32_t(uint32_t(a) * uint32_t(word)) / 32768; }

// The next word scaled to a. The argument never affects the state.
inline int32_t RandomNext(RandomSource& random, int32_t a) { return ScaleRandomWord(a, RandomNextWord(random)); }

// The state after that many draws from the initial table, found without
// drawing them all (as fast for 10^18 draws as for 10).
RandomSource RandomSourceAfter(uint64_t draws);

// Start-up: (time mod 100) draws, discarded.
void WarmUpAtStartup(RandomSource& random, int64_t calendarSeconds);
// Before every image: (|low 16 bits of time as signed| mod 100) + 1 draws of
// RandomNext(4), discarded.
void WarmUpForImage(RandomSource& random, int64_t calendarSeconds);
