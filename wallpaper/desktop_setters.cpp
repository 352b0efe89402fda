#include "wallpaper/desktop_setters.h"

#include <algorithm>
#include <cstdio>

namespace {

bool Found(const DesktopSession& session, const char* program) {
  return std::find(session.programs.begin(), session.programs.end(), program) != session.programs.end();
}

// The first of the programs that was found; null when none.
const char* FirstFound(const DesktopSession& session, std::initializer_list<const char*> programs) {
  for (const char* program : programs) {
    if (Found(session, program)) return program;
  }
  return nullptr;
}

std::string Lower(std::string text) {
  for (char& c : text) c = char(c >= 'A' && c <= 'Z' ? c + 32 : c);
  return text;
}

// The desktop a name of $XDG_CURRENT_DESKTOP stands for, if its program is there.
LinuxDesktop DesktopOfName(const std::string& name, const DesktopSession& session) {
  const bool gsettings = Found(session, "gsettings");
  if (name == "gnome" || name == "unity" || name == "budgie") return gsettings ? LinuxDesktop::kGnome : LinuxDesktop::kNone;
  if (name == "x-cinnamon" || name == "cinnamon") return gsettings ? LinuxDesktop::kCinnamon : LinuxDesktop::kNone;
  if (name == "mate") return gsettings ? LinuxDesktop::kMate : LinuxDesktop::kNone;
  if (name == "kde") {
    return FirstFound(session, {"qdbus6", "qdbus", "plasma-apply-wallpaperimage"}) ? LinuxDesktop::kKde
                                                                                    : LinuxDesktop::kNone;
  }
  if (name == "xfce") return Found(session, "xfconf-query") ? LinuxDesktop::kXfce : LinuxDesktop::kNone;
  if (name == "sway") return Found(session, "swaymsg") ? LinuxDesktop::kSway : LinuxDesktop::kNone;
  return LinuxDesktop::kNone;
}

// A text in the quote character with that quote and backslashes escaped by
// a backslash: a GVariant string literal (single quotes) as gsettings reads
// values, or a string of the Plasma shell's scripts (double quotes).
std::string Quoted(const std::string& text, char quote) {
  std::string quoted(1, quote);
  for (char c : text) {
    if (c == quote || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + quote;
}

// Spanned: one picture across all screens, whatever Tile or Center asked.
std::vector<ArgumentVector> GsettingsCommands(const char* schema, const std::vector<std::string>& pictureKeys,
                                              const std::string& pictureValue, WallpaperAction action,
                                              bool spanned = false) {
  const char* option = action == WallpaperAction::kClear    ? "none"
                       : spanned                           ? "spanned"
                       : action == WallpaperAction::kTile ? "wallpaper"
                                                          : "centered";
  std::vector<ArgumentVector> commands = {{"gsettings", "set", schema, "picture-options", Quoted(option, '\'')}};
  if (action == WallpaperAction::kClear) return commands;
  for (const std::string& key : pictureKeys) commands.push_back({"gsettings", "set", schema, key, Quoted(pictureValue, '\'')});
  return commands;
}

std::vector<std::string> GnomePictureKeys(const DesktopSession& session) {
  if (session.noDarkPicture) return {"picture-uri"};
  return {"picture-uri", "picture-uri-dark"};
}

std::vector<ArgumentVector> XfceCommands(const DesktopSession& session, const std::string& picture,
                                         WallpaperAction action) {
  static const char kImageSuffix[] = "last-image";
  std::vector<std::string> properties = session.xfceImageProperties;
  if (properties.empty()) properties.push_back("/backdrop/screen0/monitor0/workspace0/last-image");
  const char* style = action == WallpaperAction::kTile ? "2" : action == WallpaperAction::kCenter ? "1" : "0";
  std::vector<ArgumentVector> commands;
  for (const std::string& property : properties) {
    const std::string styleProperty = property.substr(0, property.size() - (sizeof kImageSuffix - 1)) + "image-style";
    commands.push_back({"xfconf-query", "-c", "xfce4-desktop", "-p", styleProperty, "-n", "-t", "int", "-s", style});
    if (action != WallpaperAction::kClear) {
      commands.push_back({"xfconf-query", "-c", "xfce4-desktop", "-p", property, "-n", "-t", "string", "-s", picture});
    }
  }
  return commands;
}

// Plasma's image wallpaper through its shell's script: one picture on every
// desktop, or each screen's on the desktops of that screen. Its fill modes
// are Qt's image fill modes, 3 tiling and 6 centring the picture unscaled.
ArgumentVector KdeScriptCommand(const char* qdbus, const std::vector<std::string>& pictures, bool tile,
                                bool eachScreen) {
  std::string list;
  for (const std::string& picture : pictures) list += (list.empty() ? "" : ", ") + Quoted(FileUri(picture), '"');
  const std::string script =
      "var pictures = [" + list + "];\n"
      "var all = desktops();\n"
      "for (var i = 0; i < all.length; i++) {\n"
      "  var d = all[i];\n" +
      std::string(eachScreen ? "  if (d.screen < 0 || d.screen >= pictures.length) continue;\n" : "") +
      "  d.wallpaperPlugin = \"org.kde.image\";\n"
      "  d.currentConfigGroup = Array(\"Wallpaper\", \"org.kde.image\", \"General\");\n"
      "  d.writeConfig(\"Image\", pictures[" + (eachScreen ? "d.screen" : "0") + "]);\n"
      "  d.writeConfig(\"FillMode\", " + (tile ? "3" : "6") + ");\n"
      "}\n";
  return {qdbus, "org.kde.plasmashell", "/PlasmaShell", "org.kde.PlasmaShell.evaluateScript", script};
}

std::vector<ArgumentVector> KdeCommands(const DesktopSession& session, const std::string& picture,
                                        WallpaperAction action) {
  if (action == WallpaperAction::kClear) return {};
  const bool tile = action == WallpaperAction::kTile;
  if (const char* qdbus = FirstFound(session, {"qdbus6", "qdbus"})) return {KdeScriptCommand(qdbus, {picture}, tile, false)};
  return {{"plasma-apply-wallpaperimage", "--fill-mode", tile ? "tile" : "pad", picture}};
}

// Each screen's picture on its monitor<NAME> keys, on every workspace that
// the listing names (the first at least).
std::vector<ArgumentVector> XfceScreenCommands(const DesktopSession& session, const std::vector<ScreenPicture>& pictures,
                                               WallpaperAction action) {
  std::vector<std::string> workspaces = {"workspace0"};
  for (const std::string& property : session.xfceImageProperties) {
    const size_t start = property.find("/workspace");
    if (start == std::string::npos) continue;
    const std::string workspace = property.substr(start + 1, property.find('/', start + 1) - start - 1);
    if (std::find(workspaces.begin(), workspaces.end(), workspace) == workspaces.end()) workspaces.push_back(workspace);
  }
  DesktopSession screens;
  std::vector<ArgumentVector> all;
  for (const ScreenPicture& each : pictures) {
    for (const std::string& workspace : workspaces) {
      screens.xfceImageProperties = {"/backdrop/screen0/monitor" + each.screen + "/" + workspace + "/last-image"};
      const std::vector<ArgumentVector> commands = XfceCommands(screens, each.picture, action);
      all.insert(all.end(), commands.begin(), commands.end());
    }
  }
  return all;
}

// A picture or output name for swaymsg, which joins its arguments into one command line.
// Sway splits that line at ";" and "," outside quotes (a backslash escapes
// a quote and stays), drops the quotes around an argument and then expands
// the path as a shell word. So the path goes in double quotes, and in it every
// byte a shell would read otherwise is escaped by a backslash: the word
// then expands to the path itself and runs nothing. A line feed, which sway
// turns into ";" before anything else, is refused by PictureNameRefused.
std::string SwayWord(const std::string& picture) {
  std::string word = "\"";
  for (unsigned char c : picture) {
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '/' ||
                       c == '.' || c == '_' || c == '-' || c >= 0x80;
    if (!plain) word += '\\';
    word += char(c);
  }
  return word + '"';
}

}  // namespace

const std::vector<std::string>& DesktopPrograms() {
  static const std::vector<std::string> programs = {"gsettings", "qdbus6",  "qdbus",      "plasma-apply-wallpaperimage",
                                                    "xfconf-query", "swaymsg", "xwallpaper", "feh",
                                                    "xrandr",    "gdbus",   "kscreen-doctor", "kwriteconfig6",
                                                    "kwriteconfig5"};
  return programs;
}

LinuxDesktop ChooseLinuxDesktop(const DesktopSession& session) {
  const std::string names = Lower(session.currentDesktop);
  size_t start = 0;
  while (start <= names.size()) {
    const size_t end = std::min(names.find(':', start), names.size());
    const LinuxDesktop desktop = DesktopOfName(names.substr(start, end - start), session);
    if (desktop != LinuxDesktop::kNone) return desktop;
    start = end + 1;
  }
  if (session.swaySocket && Found(session, "swaymsg")) return LinuxDesktop::kSway;
  if (session.x11Display && Found(session, "xwallpaper")) return LinuxDesktop::kXwallpaper;
  if (session.x11Display && Found(session, "feh")) return LinuxDesktop::kFeh;
  return LinuxDesktop::kNone;
}

const char* LinuxDesktopName(LinuxDesktop desktop) {
  switch (desktop) {
    case LinuxDesktop::kGnome: return "GNOME";
    case LinuxDesktop::kCinnamon: return "Cinnamon";
    case LinuxDesktop::kMate: return "MATE";
    case LinuxDesktop::kKde: return "KDE Plasma";
    case LinuxDesktop::kXfce: return "XFCE";
    case LinuxDesktop::kSway: return "Sway";
    case LinuxDesktop::kXwallpaper: return "X11 (xwallpaper)";
    case LinuxDesktop::kFeh: return "X11 (feh)";
    case LinuxDesktop::kNone: break;
  }
  return "none";
}

const char* KnownLinuxDesktops() {
  return "GNOME, Unity and Budgie (gsettings), Cinnamon and MATE (gsettings), KDE Plasma (qdbus or "
         "plasma-apply-wallpaperimage), XFCE (xfconf-query), Sway (swaymsg), and any X11 window manager "
         "through xwallpaper or feh";
}

std::vector<ArgumentVector> WallpaperCommandLines(LinuxDesktop desktop, const DesktopSession& session,
                                                  const std::string& picture, WallpaperAction action) {
  const bool tile = action == WallpaperAction::kTile;
  const bool clear = action == WallpaperAction::kClear;
  switch (desktop) {
    case LinuxDesktop::kGnome:
      return GsettingsCommands("org.gnome.desktop.background", GnomePictureKeys(session), FileUri(picture), action);
    case LinuxDesktop::kCinnamon:
      return GsettingsCommands("org.cinnamon.desktop.background", {"picture-uri"}, FileUri(picture), action);
    case LinuxDesktop::kMate: return GsettingsCommands("org.mate.background", {"picture-filename"}, picture, action);
    case LinuxDesktop::kKde: return KdeCommands(session, picture, action);
    case LinuxDesktop::kXfce: return XfceCommands(session, picture, action);
    case LinuxDesktop::kSway:
      if (clear) return {{"swaymsg", "output", "*", "bg", "#000000", "solid_color"}};
      return {{"swaymsg", "output", "*", "bg", SwayWord(picture), tile ? "tile" : "center"}};
    case LinuxDesktop::kXwallpaper:
      if (clear) return {};
      return {{"xwallpaper", tile ? "--tile" : "--center", picture}};
    case LinuxDesktop::kFeh:
      if (clear) return {};
      return {{"feh", "--no-fehbg", tile ? "--bg-tile" : "--bg-center", picture}};
    case LinuxDesktop::kNone: break;
  }
  return {};
}

bool TakesEachScreensPicture(LinuxDesktop desktop) {
  return desktop == LinuxDesktop::kSway || desktop == LinuxDesktop::kXfce || desktop == LinuxDesktop::kKde;
}

std::vector<ArgumentVector> EachScreenCommandLines(LinuxDesktop desktop, const DesktopSession& session,
                                                   const std::vector<ScreenPicture>& pictures,
                                                   const std::string& spanned, WallpaperAction action) {
  const bool tile = action == WallpaperAction::kTile;
  std::vector<ArgumentVector> commands;
  std::vector<std::string> files;
  for (const ScreenPicture& each : pictures) files.push_back(each.picture);
  switch (desktop) {
    case LinuxDesktop::kGnome:
      return GsettingsCommands("org.gnome.desktop.background", GnomePictureKeys(session), FileUri(spanned), action,
                               true);
    case LinuxDesktop::kCinnamon:
      return GsettingsCommands("org.cinnamon.desktop.background", {"picture-uri"}, FileUri(spanned), action, true);
    case LinuxDesktop::kMate: return GsettingsCommands("org.mate.background", {"picture-filename"}, spanned, action, true);
    case LinuxDesktop::kKde:
      if (const char* qdbus = FirstFound(session, {"qdbus6", "qdbus"})) return {KdeScriptCommand(qdbus, files, tile, true)};
      return KdeCommands(session, files.empty() ? spanned : files[0], action);
    case LinuxDesktop::kXfce: return XfceScreenCommands(session, pictures, action);
    case LinuxDesktop::kSway:
      for (const ScreenPicture& each : pictures) {
        commands.push_back({"swaymsg", "output", SwayWord(each.screen), "bg", SwayWord(each.picture), tile ? "tile" : "center"});
      }
      return commands;
    case LinuxDesktop::kXwallpaper: return {{"xwallpaper", "--no-randr", "--tile", spanned}};
    case LinuxDesktop::kFeh: return {{"feh", "--no-fehbg", "--no-xinerama", "--bg-tile", spanned}};
    case LinuxDesktop::kNone: break;
  }
  return {};
}

std::vector<ArgumentVector> LockScreenCommandLines(LinuxDesktop desktop, const DesktopSession& session,
                                                   const std::string& picture, WallpaperAction action, bool spanned) {
  if (action == WallpaperAction::kClear) return {};
  if (desktop == LinuxDesktop::kGnome) {
    return GsettingsCommands("org.gnome.desktop.screensaver", {"picture-uri"}, FileUri(picture), action, spanned);
  }
  if (desktop == LinuxDesktop::kCinnamon) {
    return GsettingsCommands("org.cinnamon.desktop.screensaver", {"picture-uri"}, FileUri(picture), action, spanned);
  }
  const char* kwriteconfig = FirstFound(session, {"kwriteconfig6", "kwriteconfig5"});
  if (desktop != LinuxDesktop::kKde || !kwriteconfig) return {};
  const ArgumentVector greeter = {kwriteconfig, "--file", "kscreenlockerrc", "--group", "Greeter"};
  ArgumentVector plugin = greeter, image = greeter;
  plugin.insert(plugin.end(), {"--key", "WallpaperPlugin", "org.kde.image"});
  image.insert(image.end(), {"--group", "Wallpaper", "--group", "org.kde.image", "--group", "General", "--key", "Image",
                             FileUri(picture)});
  return {plugin, image};
}

std::string PictureNameRefused(LinuxDesktop desktop, const std::string& picture) {
  if (desktop == LinuxDesktop::kSway && picture.find('\n') != std::string::npos) {
    return "Sway cannot take a picture whose name holds a line feed: rename " + picture;
  }
  return std::string();
}

ArgumentVector GnomeKeysCommand() { return {"gsettings", "list-keys", "org.gnome.desktop.background"}; }

ArgumentVector XfceListCommand() { return {"xfconf-query", "-c", "xfce4-desktop", "-l"}; }

std::vector<std::string> XfceImageProperties(const std::string& listOutput) {
  static const std::string kSuffix = "/last-image";
  std::vector<std::string> properties;
  size_t start = 0;
  while (start < listOutput.size()) {
    size_t end = listOutput.find('\n', start);
    if (end == std::string::npos) end = listOutput.size();
    std::string line = listOutput.substr(start, end - start);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    if (line.size() > kSuffix.size() && line.compare(line.size() - kSuffix.size(), kSuffix.size(), kSuffix) == 0 &&
        line[0] == '/') {
      properties.push_back(line);
    }
    start = end + 1;
  }
  return properties;
}

std::string FileUri(const std::string& path) {
  std::string uri = "file://";
  for (unsigned char c : path) {
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                       c == '.' || c == '_' || c == '~' || c == '/';
    if (plain) {
      uri += char(c);
    } else {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", c);
      uri += escaped;
    }
  }
  return uri;
}
