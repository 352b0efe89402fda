#include "wallpaper/screen_sources.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// A value of JSON (swaymsg, kscreen-doctor) or of GVariant's text form
// (gdbus): tuples and arrays become lists, dictionaries and objects maps,
// variants their content; type words such as "uint32" or "@a{sv}" are
// skipped.
struct TreeValue {
  enum Kind { kNone, kNumber, kText, kTruth, kList, kMap } kind = kNone;
  double number = 0;
  std::string text;
  bool truth = false;
  std::vector<TreeValue> items;  // a list's items, a map's values
  std::vector<std::string> keys;  // a map's keys

  const TreeValue& operator[](const char* key) const {
    static const TreeValue none;
    for (size_t i = 0; i < keys.size(); ++i) {
      if (keys[i] == key) return items[i];
    }
    return none;
  }
  const TreeValue& At(size_t index) const {
    static const TreeValue none;
    return index < items.size() ? items[index] : none;
  }
  int Int() const { return int(std::lround(number)); }
};

class TreeReader {
 public:
  explicit TreeReader(const std::string& text) : text_(text) {}

  // False when the text is no well-formed value.
  bool Read(TreeValue& value, int depth = 0) {
    if (depth > 64) return false;
    SkipBlanks();
    if (at_ >= text_.size()) return false;
    const char c = text_[at_];
    if (c == '{' || c == '[' || c == '(') return ReadGroup(value, depth);
    if (c == '<') {
      ++at_;
      return Read(value, depth + 1) && Take('>');
    }
    if (c == '"' || c == '\'') return ReadText(value);
    if (c == '@') {  // a type annotation
      while (at_ < text_.size() && text_[at_] != ' ') ++at_;
      return Read(value, depth + 1);
    }
    if (c == '-' || (c >= '0' && c <= '9')) {
      const char* start = text_.c_str() + at_;
      char* end = nullptr;
      value.kind = TreeValue::kNumber;
      value.number = std::strtod(start, &end);
      at_ += size_t(end - start);
      return end != start;
    }
    std::string word;
    while (at_ < text_.size() && std::isalnum(static_cast<unsigned char>(text_[at_]))) word += text_[at_++];
    if (word == "true" || word == "false") {
      value.kind = TreeValue::kTruth;
      value.truth = word == "true";
      return true;
    }
    if (word == "null" || word == "nothing") return true;
    return !word.empty() && Read(value, depth + 1);  // a type word before the value
  }

 private:
  void SkipBlanks() {
    while (at_ < text_.size() && std::strchr(" \t\r\n", text_[at_])) ++at_;
  }
  bool Take(char c) {
    SkipBlanks();
    if (at_ >= text_.size() || text_[at_] != c) return false;
    ++at_;
    return true;
  }
  bool ReadText(TreeValue& value) {
    const char quote = text_[at_++];
    value.kind = TreeValue::kText;
    while (at_ < text_.size() && text_[at_] != quote) {
      if (text_[at_] == '\\' && at_ + 1 < text_.size()) ++at_;
      value.text += text_[at_++];
    }
    return Take(quote);
  }
  // A list or map up to its closing bracket; a comma may end it.
  bool ReadGroup(TreeValue& value, int depth) {
    const char open = text_[at_++];
    const char close = open == '{' ? '}' : open == '[' ? ']' : ')';
    value.kind = open == '{' ? TreeValue::kMap : TreeValue::kList;
    while (!Take(close)) {
      if (open == '{') {
        TreeValue key;
        if (!Read(key, depth + 1) || !Take(':')) return false;
        value.keys.push_back(key.text);
      }
      value.items.emplace_back();
      if (!Read(value.items.back(), depth + 1)) return false;
      if (!Take(',')) return Take(close);
    }
    return true;
  }

  const std::string& text_;
  size_t at_ = 0;
};

TreeValue ReadTree(const std::string& text) {
  TreeValue value;
  TreeReader reader(text);
  if (!reader.Read(value)) return TreeValue();
  return value;
}

bool Has(const DesktopSession& session, const char* program) {
  return std::find(session.programs.begin(), session.programs.end(), program) != session.programs.end();
}

bool Names(const DesktopSession& session, const char* desktop) {
  std::string names = session.currentDesktop;
  for (char& c : names) c = char(std::tolower(static_cast<unsigned char>(c)));
  return (":" + names + ":").find(std::string(":") + desktop + ":") != std::string::npos;
}

// A screen at its logical place, its size in pixels.
Screen Placed(const std::string& name, const TreeValue& x, const TreeValue& y, int width, int height, bool primary) {
  Screen screen;
  screen.name = name;
  screen.left = x.Int();
  screen.top = y.Int();
  screen.width = width;
  screen.height = height;
  screen.primary = primary;
  return screen;
}

// Identifiers given as texts or as numbers.
bool SameId(const TreeValue& a, const TreeValue& b) {
  return a.kind != TreeValue::kNone && a.kind == b.kind && a.text == b.text && a.number == b.number;
}

double ScaleOf(const TreeValue& value) { return value.number > 0 ? value.number : 1; }

// "Monitors: 2" then " 0: +*NAME W/MMxH/MM+X+Y  OUTPUT" for each monitor;
// "*" marks the primary one.
ScreenLayout ReadXrandrMonitors(const std::string& answer) {
  ScreenLayout screens;
  size_t start = answer.find('\n');
  while (start != std::string::npos && start < answer.size()) {
    const size_t end = std::min(answer.find('\n', start + 1), answer.size());
    const std::string line = answer.substr(start + 1, end - start - 1);
    start = end;
    const size_t colon = line.find(": ");
    if (colon == std::string::npos) continue;
    size_t at = colon + 2;
    Screen screen;
    for (; at < line.size() && (line[at] == '+' || line[at] == '*'); ++at) screen.primary |= line[at] == '*';
    const size_t blank = line.find(' ', at);
    if (blank == std::string::npos) continue;
    screen.name = line.substr(at, blank - at);
    int widthMm = 0, heightMm = 0;
    if (std::sscanf(line.c_str() + blank, " %d/%dx%d/%d%d%d", &screen.width, &widthMm, &screen.height, &heightMm,
                    &screen.left, &screen.top) == 6 &&
        screen.width > 0 && screen.height > 0) {
      screens.push_back(screen);
    }
  }
  return screens;
}

// swaymsg -t get_outputs: the active outputs' logical rectangles and scales.
ScreenLayout ReadSwayOutputs(const std::string& answer, std::vector<double>& scales) {
  ScreenLayout screens;
  const TreeValue tree = ReadTree(answer);
  for (const TreeValue& output : tree.items) {
    if (!output["active"].truth) continue;
    const TreeValue& rect = output["rect"];
    const double scale = ScaleOf(output["scale"]);
    screens.push_back(Placed(output["name"].text, rect["x"], rect["y"], int(std::lround(rect["width"].number * scale)),
                             int(std::lround(rect["height"].number * scale)), output["primary"].truth));
    scales.push_back(scale);
  }
  return screens;
}

// Mutter's GetCurrentState: (serial, monitors, logical monitors, properties).
// A monitor is ((connector, ...), modes, properties), a mode (id, width,
// height, ..., properties with "is-current"); a logical monitor (x, y,
// scale, transform, primary, monitors, properties). Transforms 1, 3, 5 and
// 7 turn the screen a quarter. Layout mode 2 places monitors in pixels.
ScreenLayout ReadMutterState(const std::string& answer, std::vector<double>& scales) {
  const TreeValue state = ReadTree(answer);
  const bool logicalLayout = state.At(3)["layout-mode"].Int() != 2;
  ScreenLayout screens;
  for (const TreeValue& logical : state.At(2).items) {
    const std::string connector = logical.At(5).At(0).At(0).text;
    for (const TreeValue& monitor : state.At(1).items) {
      if (monitor.At(0).At(0).text != connector) continue;
      for (const TreeValue& mode : monitor.At(1).items) {
        if (!mode.At(6)["is-current"].truth) continue;
        const bool turned = logical.At(3).Int() % 2 == 1;
        screens.push_back(Placed(connector, logical.At(0), logical.At(1), mode.At(turned ? 2 : 1).Int(),
                                 mode.At(turned ? 1 : 2).Int(), logical.At(4).truth));
        scales.push_back(logicalLayout ? ScaleOf(logical.At(2)) : 1);
      }
    }
  }
  return screens;
}

// kscreen-doctor --json: the enabled outputs, their current mode's size
// (turned by rotations 2 and 8), their logical place, and their priority
// (1 the primary) or the older "primary".
ScreenLayout ReadKscreenOutputs(const std::string& answer, std::vector<double>& scales) {
  struct Ranked {
    int priority;
    Screen screen;
  };
  std::vector<Ranked> ranked;
  const TreeValue tree = ReadTree(answer);
  for (const TreeValue& output : tree["outputs"].items) {
    if (!output["enabled"].truth) continue;
    const TreeValue* size = &output["size"];
    for (const TreeValue& mode : output["modes"].items) {
      if (SameId(mode["id"], output["currentModeId"])) size = &mode["size"];
    }
    const bool turned = output["rotation"].Int() == 2 || output["rotation"].Int() == 8;
    const int priority = output["priority"].kind == TreeValue::kNumber ? output["priority"].Int()
                         : output["primary"].truth                     ? 1
                                                                       : 1000;
    ranked.push_back({priority, Placed(output["name"].text, output["pos"]["x"], output["pos"]["y"],
                                       (*size)[turned ? "height" : "width"].Int(),
                                       (*size)[turned ? "width" : "height"].Int(), priority == 1)});
    scales.push_back(ScaleOf(output["scale"]));
  }
  std::stable_sort(ranked.begin(), ranked.end(), [](const Ranked& a, const Ranked& b) { return a.priority < b.priority; });
  ScreenLayout screens;
  for (const Ranked& each : ranked) screens.push_back(each.screen);
  return screens;
}

// Logical places in pixels: every place times the largest scale, so that
// screens of several scales never overlap (a screen of a smaller scale may
// leave a gap).
void PlaceInPixels(ScreenLayout& screens, const std::vector<double>& scales) {
  const double largest = scales.empty() ? 1 : *std::max_element(scales.begin(), scales.end());
  for (Screen& screen : screens) {
    screen.left = int(std::lround(screen.left * largest));
    screen.top = int(std::lround(screen.top * largest));
  }
}

}  // namespace

std::vector<ScreenQuery> ScreenQueries(const DesktopSession& session) {
  std::vector<ScreenQuery> queries;
  if (session.swaySocket && Has(session, "swaymsg")) {
    queries.push_back({ScreenSource::kSway, {"swaymsg", "-r", "-t", "get_outputs"}});
  }
  if (session.waylandDisplay && Names(session, "gnome") && Has(session, "gdbus")) {
    queries.push_back({ScreenSource::kMutter,
                       {"gdbus", "call", "--session", "--dest", "org.gnome.Mutter.DisplayConfig", "--object-path",
                        "/org/gnome/Mutter/DisplayConfig", "--method",
                        "org.gnome.Mutter.DisplayConfig.GetCurrentState"}});
  }
  if (session.waylandDisplay && Names(session, "kde") && Has(session, "kscreen-doctor")) {
    queries.push_back({ScreenSource::kKscreen, {"kscreen-doctor", "--json"}});
  }
  if (session.x11Display && Has(session, "xrandr")) queries.push_back({ScreenSource::kXrandr, {"xrandr", "--listmonitors"}});
  return queries;
}

ScreenLayout ReadScreens(ScreenSource source, const std::string& answer) {
  ScreenLayout screens;
  std::vector<double> scales;
  switch (source) {
    case ScreenSource::kXrandr: screens = ReadXrandrMonitors(answer); break;
    case ScreenSource::kSway: screens = ReadSwayOutputs(answer, scales); break;
    case ScreenSource::kMutter: screens = ReadMutterState(answer, scales); break;
    case ScreenSource::kKscreen: screens = ReadKscreenOutputs(answer, scales); break;
  }
  PlaceInPixels(screens, scales);
  screens.erase(std::remove_if(screens.begin(), screens.end(),
                               [](const Screen& screen) { return screen.width <= 0 || screen.height <= 0; }),
                screens.end());
  return screens;
}
