// Setting a picture as the wallpaper of a Linux desktop: which desktop is in
// use, and the command lines that set, arrange or clear its wallpaper. Only
// the choice is made here; the caller runs the commands, one after another,
// each as an argument vector without a shell.
#pragma once

#include <string>
#include <vector>

#include "wallpaper/wallpaper.h"

// What the caller found out about the session.
struct DesktopSession {
  std::string currentDesktop;  // $XDG_CURRENT_DESKTOP, a colon-separated list
  bool swaySocket = false;     // $SWAYSOCK is set
  bool x11Display = false;     // $DISPLAY is set
  bool waylandDisplay = false;  // $WAYLAND_DISPLAY is set
  // The programs of the table below that were found on the search path.
  std::vector<std::string> programs;
  // XFCE only: every "last-image" property of the xfce4-desktop channel, as
  // XfceImageProperties reads them from "xfconf-query -c xfce4-desktop -l".
  std::vector<std::string> xfceImageProperties;
  // GNOME only: the background schema has no "picture-uri-dark" (before
  // GNOME 42), as GnomeKeysCommand's listing shows.
  bool noDarkPicture = false;
};

enum class LinuxDesktop { kNone, kGnome, kCinnamon, kMate, kKde, kXfce, kSway, kXwallpaper, kFeh };

enum class WallpaperAction { kTile, kCenter, kClear };

using ArgumentVector = std::vector<std::string>;

// Every program the table may use, for the caller to look up on the path.
const std::vector<std::string>& DesktopPrograms();

// The desktop to set: the first entry of $XDG_CURRENT_DESKTOP that is known
// and whose program was found, then Sway by its socket, then a plain X11
// display through xwallpaper or else feh. kNone when nothing fits.
LinuxDesktop ChooseLinuxDesktop(const DesktopSession& session);
// The desktop's name for messages and the log ("GNOME", "XFCE", ...).
const char* LinuxDesktopName(LinuxDesktop desktop);
// The desktops the tool knows, for the message when none is found.
const char* KnownLinuxDesktops();

// The commands that do the action on the desktop with the picture (an
// absolute path); empty for kNone, and for kClear where the desktop has no
// way to show no picture (KDE Plasma, xwallpaper, feh).
std::vector<ArgumentVector> WallpaperCommandLines(LinuxDesktop desktop, const DesktopSession& session,
                                                  const std::string& picture, WallpaperAction action);

// One screen's own picture.
struct ScreenPicture {
  std::string screen;   // the screen's name as the desktop names it
  std::string picture;  // an absolute path
};

// True when the desktop takes a picture for each screen: Sway, XFCE and KDE
// Plasma. The others take one picture spanned across every screen.
bool TakesEachScreensPicture(LinuxDesktop desktop);
// The commands that put each screen's picture (the primary's first) on its
// screen, or, on the desktops that take one picture, `spanned` (the screens'
// pictures composed) across all screens. Plasma's shell script gives the
// desktops of screen N the Nth picture and leaves those on no screen (-1)
// alone; without qdbus, every desktop gets the primary's. XFCE sets every
// workspace it lists, the first at least, of each screen.
std::vector<ArgumentVector> EachScreenCommandLines(LinuxDesktop desktop, const DesktopSession& session,
                                                   const std::vector<ScreenPicture>& pictures,
                                                   const std::string& spanned, WallpaperAction action);

// The commands that make the picture the lock screen's too, spanned or
// arranged as the action asks: GNOME's and Cinnamon's screensaver schemas,
// KDE Plasma's kscreenlockerrc through kwriteconfig6 or kwriteconfig5.
// Empty where the desktop offers no lock screen picture that a user may set.
std::vector<ArgumentVector> LockScreenCommandLines(LinuxDesktop desktop, const DesktopSession& session,
                                                   const std::string& picture, WallpaperAction action, bool spanned);

// Why the desktop cannot be given a picture of this name, to be told
// instead of running its commands; empty when it can. The command lines
// carry every other name unchanged.
std::string PictureNameRefused(LinuxDesktop desktop, const std::string& picture);

// GNOME's background keys, listed to learn whether "picture-uri-dark" exists.
ArgumentVector GnomeKeysCommand();

// XFCE needs its properties listed before they are set.
ArgumentVector XfceListCommand();
// The "last-image" properties in the output of XfceListCommand.
std::vector<std::string> XfceImageProperties(const std::string& listOutput);

// A file:// URI of an absolute path, with every byte outside the unreserved
// set and "/" percent-encoded.
std::string FileUri(const std::string& path);
