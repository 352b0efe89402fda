#include "generator/random_source.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "generator/make_settings.h"

namespace {

TEST(RandomSource, PublishedSequences) {
  RandomSource words;
  for (int32_t expected : {31250, 120, 14580, 26806, 26583}) EXPECT_EQ(RandomNextWord(words), expected);

  RandomSource hundred, seven;
  for (int32_t expected : {95, 0, 44, 81, 81, 13, 97, 3, 36, 83}) EXPECT_EQ(RandomNext(hundred, 100), expected);
  for (int32_t expected : {6, 0, 3, 5, 5, 0, 6, 0, 2, 5}) EXPECT_EQ(RandomNext(seven, 7), expected);
}

TEST(RandomSource, ArgumentOnlyScales) {
  RandomSource zero, reference;
  EXPECT_EQ(RandomNext(zero, 0), 0);  // still advances
  RandomNextWord(reference);
  EXPECT_EQ(RandomNextWord(zero), RandomNextWord(reference));

  RandomSource negative;
  EXPECT_EQ(RandomNext(negative, -100), -95);
  // Large arguments wrap as a signed 32-bit product.
  RandomSource large;
  EXPECT_EQ(RandomNext(large, 0x7FFFFFFF), int32_t(uint32_t(0x7FFFFFFF) * 31250u) / 32768);
}

TEST(RandomSource, ManyWordsAtATimeAreTheSameWords) {
  RandomSource many, one;
  int32_t words[2000];
  for (int count : {0, 1, 37, 38, 39, 50, 51, 52, 88, 89, 90, 1600, 2000}) {
    RandomWords(many, words, count);
    for (int i = 0; i < count; ++i) ASSERT_EQ(words[i], RandomNextWord(one)) << count << ": " << i;
    ASSERT_EQ(many.position, one.position);
    ASSERT_TRUE(std::equal(many.word, many.word + kRandomWords, one.word)) << count;
  }
}

TEST(RandomSource, JumpsAheadToTheStateOfAsManyDraws) {
  RandomSource drawn;
  uint64_t done = 0;
  for (uint64_t draws : {0u, 1u, 37u, 88u, 89u, 90u, 1000u, 123457u}) {
    for (; done < draws; ++done) RandomNextWord(drawn);
    const RandomSource jumped = RandomSourceAfter(draws);
    ASSERT_EQ(jumped.position, drawn.position) << draws;
    ASSERT_EQ(jumped.draws, drawn.draws) << draws;
    ASSERT_TRUE(std::equal(drawn.word, drawn.word + kRandomWords, jumped.word)) << draws;
  }
}

TEST(RandomSource, WarmUpsDrawByTheClock) {
  auto drawsOf = [](void (*warmUp)(RandomSource&, int64_t), int64_t time) {
    RandomSource warmed;
    warmUp(warmed, time);
    RandomSource counter;
    for (int draws = 0; draws < 200; ++draws) {
      if (std::equal(std::begin(warmed.word), std::end(warmed.word), std::begin(counter.word)) &&
          warmed.position == counter.position) {
        return draws;
      }
      RandomNextWord(counter);
    }
    return -1;
  };
  EXPECT_EQ(drawsOf(WarmUpAtStartup, 1700000042), 42);
  EXPECT_EQ(drawsOf(WarmUpAtStartup, 1700000000), 0);
  // Low 16 bits taken as signed: 0x1FFFF is -1, 0x18000 is -32768.
  EXPECT_EQ(drawsOf(WarmUpForImage, 0x1FFFF), 2);
  EXPECT_EQ(drawsOf(WarmUpForImage, 0x18000), 69);
  EXPECT_EQ(drawsOf(WarmUpForImage, 199), 100);
}

TEST(MirrorMode, LastDigitSelectsTheFold) {
  EXPECT_EQ(MirrorKindOf(23), kMirrorKaleidoscope);
  EXPECT_EQ(WithMirrorKind(23, kMirrorVertical), 21);
  EXPECT_EQ(MirrorKindOf(7), kMirrorNone);
  EXPECT_EQ(MirrorKindOf(-1), kMirrorNone);  // truncating remainder
  EXPECT_EQ(MirrorKindOf(0), kMirrorNormal);
  EXPECT_EQ(MirrorKindOf(12), kMirrorCross);
}

}  // namespace
