#include "wallpaper/signin.h"

#include <algorithm>
#include <utility>

#include "base/file_io.h"
#include "base/texts.h"

namespace {

constexpr const char kPicturePrefix[] = "wallpaper-";
constexpr const char kPictureSuffix[] = ".png";

// The N of "wallpaper-N.png" as its digits without leading zeros ("0" for
// zero), so that numbers of any length compare and count; empty for any
// other name.
std::string PictureNumber(const std::string& name) {
  const size_t prefix = sizeof kPicturePrefix - 1, suffix = sizeof kPictureSuffix - 1;
  if (name.size() <= prefix + suffix || name.compare(0, prefix, kPicturePrefix) != 0 ||
      name.compare(name.size() - suffix, suffix, kPictureSuffix) != 0) {
    return std::string();
  }
  const std::string digits = name.substr(prefix, name.size() - prefix - suffix);
  if (digits.find_first_not_of("0123456789") != std::string::npos) return std::string();
  const size_t first = std::min(digits.find_first_not_of('0'), digits.size() - 1);
  return digits.substr(first);
}

bool NumberBelow(const std::string& a, const std::string& b) {
  return a.size() != b.size() ? a.size() < b.size() : a < b;
}

// The decimal number one above.
std::string NumberAfter(std::string number) {
  size_t i = number.size();
  while (i > 0 && number[i - 1] == '9') number[--i] = '0';
  if (i == 0) return "1" + number;
  ++number[i - 1];
  return number;
}

// The numbered pictures, newest (highest number) first.
std::vector<std::pair<std::string, std::string>> NumberedPictures(const std::vector<std::string>& names) {
  std::vector<std::pair<std::string, std::string>> pictures;
  for (const std::string& name : names) {
    std::string number = PictureNumber(name);
    if (!number.empty()) pictures.emplace_back(std::move(number), name);
  }
  std::sort(pictures.begin(), pictures.end(),
            [](const auto& a, const auto& b) { return NumberBelow(b.first, a.first); });
  return pictures;
}

char LowerAscii(char c) { return char(c >= 'A' && c <= 'Z' ? c + 32 : c); }

// One argument as the Exec key wants it: plain when it holds nothing the
// format reserves, otherwise in double quotes with ", `, $ and \ escaped.
std::string ExecArgument(const std::string& argument) {
  const bool plain = !argument.empty() && argument.find_first_of(" \t\n\"'\\><~|&;$*?#()`%") == std::string::npos;
  if (plain) return argument;
  std::string quoted = "\"";
  for (char c : argument) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

}  // namespace

const char* MirrorOptionName(MirrorKind kind) {
  switch (kind) {
    case kMirrorVertical: return "vertical";
    case kMirrorCross: return "cross";
    case kMirrorKaleidoscope: return "kaleidoscope";
    default: return "normal";
  }
}

std::vector<std::string> SigninWallpaperArguments(const SigninChoice& choice) {
  std::vector<std::string> arguments = {"wallpaper",
          choice.arrangement == WallpaperArrangement::Tiled ? "tile" : "center",
          "--pattern",
          "random",
          "--mirror",
          MirrorOptionName(choice.mirror),
          "--size",
          std::to_string(choice.width) + "x" + std::to_string(choice.height)};
  if (choice.eachScreen) arguments.push_back("--each-screen");
  return arguments;
}

std::string SigninRunCommand(const std::string& toolPath, const std::vector<std::string>& arguments) {
  std::string command = "\"" + toolPath + "\"";
  for (const std::string& argument : arguments) command += " " + argument;
  return command;
}

bool RunCommandNamesTool(const std::string& runCommand, const std::string& toolPath) {
  const std::string quoted = "\"" + toolPath + "\"";
  if (runCommand.size() < quoted.size()) return false;
  if (runCommand.size() > quoted.size() && runCommand[quoted.size()] != ' ') return false;
  return std::equal(quoted.begin(), quoted.end(), runCommand.begin(),
                    [](char a, char b) { return LowerAscii(a) == LowerAscii(b); });
}

std::string AutostartEntry(const std::string& toolPath, const std::vector<std::string>& arguments) {
  std::string exec = ExecArgument(toolPath);
  for (const std::string& argument : arguments) {
    exec += ' ';
    exec += ExecArgument(argument);
  }
  // The Exec value is also a string value: its backslashes are doubled once
  // more, and a per cent sign is written twice so that it is no field code.
  std::string value;
  for (char c : exec) {
    if (c == '\\') value += "\\\\";
    else if (c == '%') value += "%%";
    else if (c == '\n') value += "\\n";
    else value += c;
  }
  std::string entry =
      "[Desktop Entry]\n"
      "Type=Application\n"
      "Name=Vitrelle wallpaper\n"
      "Comment=A new desktop picture at every sign-in\n";
  entry += "Exec=";
  entry += value;
  entry += "\nTerminal=false\nNoDisplay=true\nX-GNOME-Autostart-enabled=true\n";
  return entry;
}

std::string NextNumberedPicture(const std::vector<std::string>& names) {
  const auto pictures = NumberedPictures(names);
  return kPicturePrefix + (pictures.empty() ? std::string("1") : NumberAfter(pictures.front().first)) + kPictureSuffix;
}

std::vector<std::string> OldNumberedPictures(const std::vector<std::string>& names,
                                             const std::vector<std::string>& newest,
                                             const std::vector<std::string>* shownBefore) {
  const auto among = [](const std::vector<std::string>& list, const std::string& name) {
    return std::find(list.begin(), list.end(), name) != list.end();
  };
  std::vector<std::string> old;
  bool keptOneBefore = shownBefore != nullptr;
  for (const auto& picture : NumberedPictures(names)) {
    if (among(newest, picture.second) || (shownBefore && among(*shownBefore, picture.second))) continue;
    if (!keptOneBefore) {
      keptOneBefore = true;
      continue;
    }
    old.push_back(picture.second);
  }
  return old;
}

bool SigninIsOn(const SigninCalls& calls, const std::string& toolPath) {
  std::string value;
  return calls.readRunValue(calls.context, value) && RunCommandNamesTool(value, toolPath);
}

void SwitchSignin(const Owner* owner, const SigninCalls& calls, const std::string& toolPath, SigninChoice choice) {
  if (SigninIsOn(calls, toolPath)) {
    if (!calls.deleteRunValue(calls.context)) OwnerWarn(owner, TextOf(IDS_SIGNIN_NOT_REMOVED), TextOf(IDS_CAUTION));
    return;
  }
  if (!FileExists(toolPath)) {
    OwnerWarn(owner, TextOf(IDS_SIGNIN_NO_TOOL), toolPath.c_str());
    return;
  }
  if (!calls.askChoice(calls.context, choice)) return;
  if (!calls.writeRunValue(calls.context, SigninRunCommand(toolPath, SigninWallpaperArguments(choice)))) {
    OwnerWarn(owner, TextOf(IDS_SIGNIN_NOT_REGISTERED), TextOf(IDS_CAUTION));
  }
}
