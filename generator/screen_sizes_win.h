// Windows: measuring the screens in every monitor's own pixels.
#pragma once

#include <windows.h>

// Per-monitor DPI awareness for this thread, where the system offers it, so
// that every monitor reports its own pixels; the old awareness comes back.
struct PerMonitorPixels {
  using Setter = DPI_AWARENESS_CONTEXT(WINAPI*)(DPI_AWARENESS_CONTEXT);
  Setter set = nullptr;
  DPI_AWARENESS_CONTEXT before = nullptr;
  PerMonitorPixels() {
    if (HMODULE user = GetModuleHandleA("user32.dll")) {
      set = reinterpret_cast<Setter>(reinterpret_cast<void*>(GetProcAddress(user, "SetThreadDpiAwarenessContext")));
    }
    if (set) before = set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  }
  ~PerMonitorPixels() {
    if (set && before) set(before);
  }
  PerMonitorPixels(const PerMonitorPixels&) = delete;
  PerMonitorPixels& operator=(const PerMonitorPixels&) = delete;
};
