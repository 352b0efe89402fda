// Where a Linux session tells its screens: the programs to ask, and the
// reading of their answers into the screens' record. Only the choice and the
// reading are here; the caller runs the commands.
#pragma once

#include <string>
#include <vector>

#include "generator/screen_sizes.h"
#include "wallpaper/desktop_setters.h"

enum class ScreenSource { kXrandr, kSway, kMutter, kKscreen };

struct ScreenQuery {
  ScreenSource source;
  ArgumentVector command;
};

// The sources to ask, in order, for the session: Sway by its socket, GNOME
// and KDE Plasma on Wayland by their own programs, then RandR on an X11
// display. Only sources whose program was found are named.
std::vector<ScreenQuery> ScreenQueries(const DesktopSession& session);

// The screens in a source's answer, in physical pixels; empty when the
// answer holds none. Sway's, Mutter's (in its logical layout) and Plasma's
// logical places are turned into pixels by the largest scale of any screen.
// Plasma's screens come in its own order of screens, the primary first.
ScreenLayout ReadScreens(ScreenSource source, const std::string& answer);
