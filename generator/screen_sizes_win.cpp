#include <windows.h>

#include "generator/screen_sizes.h"
#include "generator/screen_sizes_win.h"

namespace {

struct MonitorSurvey {
  ScreenSizes sizes;
  RECT all = {};  // the union of every monitor, in device pixels
};

// A monitor's place and size in device pixels: the display mode of its
// device, which no scaling changes; the system's metrics for it otherwise.
RECT DevicePixelsOf(const MONITORINFOEXA& info) {
  DEVMODEA mode = {};
  mode.dmSize = sizeof mode;
  if (EnumDisplaySettingsA(info.szDevice, ENUM_CURRENT_SETTINGS, &mode) && mode.dmPelsWidth && mode.dmPelsHeight) {
    const LONG left = (mode.dmFields & DM_POSITION) ? mode.dmPosition.x : info.rcMonitor.left;
    const LONG top = (mode.dmFields & DM_POSITION) ? mode.dmPosition.y : info.rcMonitor.top;
    return {left, top, left + LONG(mode.dmPelsWidth), top + LONG(mode.dmPelsHeight)};
  }
  return info.rcMonitor;
}

BOOL CALLBACK SurveyMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM context) {
  auto& survey = *reinterpret_cast<MonitorSurvey*>(context);
  MONITORINFOEXA info = {};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoA(monitor, &info)) return TRUE;
  const RECT pixels = DevicePixelsOf(info);
  if (info.dwFlags & MONITORINFOF_PRIMARY) {
    survey.sizes.primaryWidth = int(pixels.right - pixels.left);
    survey.sizes.primaryHeight = int(pixels.bottom - pixels.top);
  }
  UnionRect(&survey.all, &survey.all, &pixels);
  ++survey.sizes.monitorCount;
  return TRUE;
}

BOOL CALLBACK ListMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM context) {
  MONITORINFOEXA info = {};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoA(monitor, &info)) return TRUE;
  const RECT pixels = DevicePixelsOf(info);
  if (pixels.right <= pixels.left || pixels.bottom <= pixels.top) return TRUE;  // detached
  Screen screen;
  screen.name = info.szDevice;
  screen.left = int(pixels.left);
  screen.top = int(pixels.top);
  screen.width = int(pixels.right - pixels.left);
  screen.height = int(pixels.bottom - pixels.top);
  screen.primary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
  reinterpret_cast<ScreenLayout*>(context)->push_back(screen);
  return TRUE;
}

}  // namespace

ScreenLayout MeasureScreenLayout() {
  PerMonitorPixels awareness;
  ScreenLayout screens;
  EnumDisplayMonitors(nullptr, nullptr, ListMonitor, reinterpret_cast<LPARAM>(&screens));
  return screens;
}

ScreenSizes MeasureScreens() {
  MonitorSurvey survey;
  EnumDisplayMonitors(nullptr, nullptr, SurveyMonitor, reinterpret_cast<LPARAM>(&survey));
  if (survey.sizes.monitorCount == 0 || survey.sizes.primaryWidth == 0) {
    survey.sizes.monitorCount = 1;
    survey.sizes.primaryWidth = GetSystemMetrics(SM_CXSCREEN);
    survey.sizes.primaryHeight = GetSystemMetrics(SM_CYSCREEN);
    survey.all = {0, 0, survey.sizes.primaryWidth, survey.sizes.primaryHeight};
  }
  survey.sizes.allWidth = int(survey.all.right - survey.all.left);
  survey.sizes.allHeight = int(survey.all.bottom - survey.all.top);
  return survey.sizes;
}
