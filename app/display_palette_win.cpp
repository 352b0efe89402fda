#include "app/display_palette_win.h"

#include <vector>

#include "base/texts.h"

HPALETTE CreateImagePalette(HWND window, const PaletteColors& colors) {
  std::vector<BYTE> record(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * 256, 0);
  auto* palette = reinterpret_cast<LOGPALETTE*>(record.data());
  palette->palVersion = 0x300;
  palette->palNumEntries = WORD(colors.count);
  for (int i = 0; i < colors.count; ++i) {
    palette->palPalEntry[i] = {colors.entries[i].red, colors.entries[i].green, colors.entries[i].blue, 0};
  }
  HPALETTE made = CreatePalette(palette);
  if (!made) MessageBoxA(window, TextOf(IDS_CANNOT_MAKE_PALETTE), "PAL2", MB_OK | MB_ICONWARNING);
  return made;
}

void RefreshDisplayPalette(AppState& state) {
  if (state.displayPalette) {
    DeleteObject(state.displayPalette);
    state.displayPalette = nullptr;
  }
  PaletteColors colors;
  if (DisplayPaletteColors(state.currentImage.get(), state.screenDepth, state.displayTable, colors)) {
    state.displayPalette = CreateImagePalette(state.mainWindow, colors);
  }
}
