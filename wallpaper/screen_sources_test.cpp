#include "wallpaper/screen_sources.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

std::string Described(const ScreenLayout& screens) {
  std::string text;
  for (const Screen& s : screens) {
    text += (text.empty() ? "" : "; ") + s.name + " " + std::to_string(s.width) + "x" + std::to_string(s.height) +
            (s.left < 0 ? "" : "+") + std::to_string(s.left) + (s.top < 0 ? "" : "+") + std::to_string(s.top) +
            (s.primary ? "*" : "");
  }
  return text;
}

TEST(ScreenSources, EachSourcesAnswerGivesTheScreensInPixels) {
  const struct {
    ScreenSource source;
    const char* answer;
    const char* screens;
  } cases[] = {
      {ScreenSource::kXrandr,
       "Monitors: 3\n 0: +*L 1200/300x900/225+0+0  DUMMY0\n 1: R 800/200x1200/300+1200+0  none\n"
       " 2: +HDMI-1 1920/527x1080/296-1920-60  HDMI-1\n",
       "L 1200x900+0+0*; R 800x1200+1200+0; HDMI-1 1920x1080-1920-60"},
      {ScreenSource::kXrandr, "Monitors: 0\n", ""},
      {ScreenSource::kSway,
       R"([{"name":"DP-1","active":true,"primary":false,"scale":1.5,"rect":{"x":-1280,"y":0,"width":1280,"height":720}},
           {"name":"HDMI-A-1","active":false,"scale":-1.0,"rect":{"x":0,"y":0,"width":0,"height":0}},
           {"name":"eDP-1","active":true,"scale":1.0,"rect":{"x":0,"y":0,"width":1080,"height":1920}}])",
       "DP-1 1920x1080-1920+0; eDP-1 1080x1920+0+0"},
      {ScreenSource::kMutter,
       "(uint32 2, [(('DP-1', 'DEL', 'U2415', '7MT'), [('1920x1200@59.950', 1920, 1200, 59.950172424316406, 1.0, "
       "[1.0, 2.0], {'is-current': <true>, 'is-preferred': <true>}), ('1280x720@60.000', 1280, 720, 60.0, 1.0, "
       "[1.0], @a{sv} {})], {'display-name': <'Dell 24\"'>}), (('eDP-1', 'BOE', '0x0', '0x0'), "
       "[('2560x1600@60.000', 2560, 1600, 60.0, 2.0, [1.0, 2.0], {'is-current': <true>})], {'is-builtin': <true>})], "
       "[(0, 0, 1.0, uint32 0, false, [('DP-1', 'DEL', 'U2415', '7MT')], @a{sv} {}), (-800, 0, 2.0, uint32 1, true, "
       "[('eDP-1', 'BOE', '0x0', '0x0')], @a{sv} {})], {'layout-mode': <uint32 1>, 'renamed': <false>})\n",
       "DP-1 1920x1200+0+0; eDP-1 1600x2560-1600+0*"},
      {ScreenSource::kMutter, "Error: GDBus.Error:org.freedesktop.DBus.Error.ServiceUnknown", ""},
      {ScreenSource::kKscreen,
       R"({"outputs":[{"name":"HDMI-A-1","enabled":true,"priority":2,"pos":{"x":1920,"y":0},"scale":1,"rotation":8,
           "currentModeId":5,"modes":[{"id":5,"size":{"width":1920,"height":1080}},
           {"id":4,"size":{"width":1280,"height":720}},{"id":"6","size":{"width":1,"height":1}}],"size":{"width":1280,"height":720}},
           {"name":"DP-2","enabled":false,"priority":0,"pos":{"x":0,"y":0},"size":{"width":800,"height":600}},
           {"name":"eDP-1","enabled":true,"priority":1,"pos":{"x":0,"y":0},"scale":1.25,"rotation":1,
           "currentModeId":"1","modes":[{"id":"1","size":{"width":2400,"height":1500}}]}]})",
       "eDP-1 2400x1500+0+0*; HDMI-A-1 1080x1920+2400+0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answer);
    EXPECT_EQ(Described(ReadScreens(c.source, c.answer)), c.screens);
  }
}

// Two screens, one left of and one above the origin: each picture lands at
// its screen's place in the bounding box, black where there is no screen.
TEST(ScreenSources, ComposedPictureHoldsEachScreensPictureAtItsPlace) {
  const ScreenLayout screens = {{"A", -4, 0, 4, 2, false}, {"B", 0, -1, 2, 3, true}};
  EXPECT_EQ(Described({BoundingBox(screens)}), "all 6x3-4-1");
  EXPECT_EQ(PrimaryScreen(screens)->name, "B");
  DibImagePtr a = CreateDibImage(4, 2, 24), b = CreateDibImage(2, 3, 8);
  std::memset(DibPixels(*a), 0x40, DibRowStride(4, 24) * 2);
  DibColorTable(*b)[0] = {1, 2, 3, 0};
  const DibImagePtr composed = ComposeScreenPictures(screens, {a.get(), b.get()});
  ASSERT_TRUE(composed);
  ASSERT_EQ(DibWidth(*composed), 6);
  std::string rows;  // top row first: . black, A, B
  for (int y = 0; y < 3; ++y) {
    const uint8_t* row = DibPixels(*composed) + DibRowStride(6, 24) * size_t(2 - y);
    for (int x = 0; x < 6; ++x) rows += row[x * 3] == 0x40 ? 'A' : row[x * 3] == 1 && row[x * 3 + 2] == 3 ? 'B' : '.';
    rows += '/';
  }
  EXPECT_EQ(rows, "....BB/AAAABB/AAAABB/");
  EXPECT_FALSE(ComposeScreenPictures(screens, {a.get()}));
}

}  // namespace
