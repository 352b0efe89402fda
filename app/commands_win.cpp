#include "app/commands_win.h"

#include <shellapi.h>

#include <ctime>
#include <cstring>

#include "app/bars_win.h"
#include "app/command_flows.h"
#include "app/display_palette_win.h"
#include "app/file_dialogs_win.h"
#include "app/history_win.h"
#include "app/image_view_win.h"
#include "app/layout_win.h"
#include "app/picture_files.h"
#include "app/registry_store_win.h"
#include "app/shell_texts.h"
#include "base/file_io.h"
#include "base/texts.h"
#include "generator/pattern_panel_win.h"
#include "generator/recipe_dialog_win.h"
#include "gif/gif_options_dialog_win.h"
#include "image/brightness_dialog_win.h"
#include "plugins/plugin_library_win.h"
#include "wallpaper/signin_win.h"
#include "resources/resource.h"

namespace {

void Warn(const AppState& state, int textId, int captionId) {
  OwnerWarn(&state.owner, TextOf(textId), TextOf(captionId));
}

void RepaintView(const AppState& state) { InvalidateRect(state.imageView, nullptr, TRUE); }

// Makes a new picture the current one and shows it: the old picture is
// replaced only now, so a failed attempt leaves it on screen, and goes into
// the history with the details taken before the change.
void ShowNewPicture(AppState& state, PictureEntry replaced, PictureStep change, DibImagePtr picture,
                    const char* title, bool layoutAlways, const std::string& recipe = std::string()) {
  replaced.picture = std::move(state.currentImage);
  state.currentImage = std::move(picture);
  KeepForUndo(state, std::move(replaced), change, recipe);
  const DibImage& shown = *state.currentImage;
  ShowCurrentPicture(state, title, ImageInfoText(DibWidth(shown), DibHeight(shown), DibBitCount(shown)), layoutAlways);
}

// Files that neither own reader takes go to the image-loader plug-ins.
DibImagePtr ReadThroughPlugins(void* context, const char* path) {
  const AppState& state = *static_cast<const AppState*>(context);
  const HCURSOR oldCursor = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  DibImagePtr picture = LoadPictureThroughPlugins(state.plugins, state.programFolder, path);
  SetCursor(oldCursor);
  return picture;
}

void OpenNamedFile(AppState& state) {
  const FallbackReader plugins = {&state, ReadThroughPlugins};
  PictureEntry before = CurrentPictureDetails(state);
  DibImagePtr picture = OpenPictureFile(&state.owner, state.fileToOpen, state.gifOptions, nullptr, &plugins);
  if (!picture) return;
  const std::string recipe = PictureFileRecipe(state.fileToOpen, *picture);
  ShowNewPicture(state, std::move(before), PictureStep::kOpen, std::move(picture), state.fileToOpen, true, recipe);
}

void Open(AppState& state) {
  if (AskFileToOpen(state)) SendMessageA(state.mainWindow, WM_COMMAND, IDM_OPEN_NAMED, 0);
}

// The GIF options of the third file type; true when the user chose Save.
bool AskGifOptions(AppState& state) {
  GifOptionsDialogData data;
  data.options = &state.gifOptions;
  data.image = state.currentImage.get();
  data.imageView = state.imageView;
  return ShowGifSaveOptions(state.mainWindow, data);
}

void SaveAs(AppState& state) {
  if (!state.currentImage) {
    Warn(state, IDS_SAVE_NO_IMAGE, IDS_CAUTION);
    return;
  }
  if (!AskFileToSave(state)) return;
  const SaveTarget target = SaveTargetOf(state.saveName, int(state.saveFilterIndex));
  lstrcpynA(state.saveName, target.path.c_str(), kDialogNameSize);
  if (target.filterIndex == kSaveGifWithOptions && !AskGifOptions(state)) return;
  // Only a written file names the window; after a failure it keeps its title.
  bool saved = false;
  SaveAsFlow(&state.owner, target.path.c_str(), target.filterIndex, *state.currentImage, state.gifOptions, &saved,
             state.history.currentRecipe);
  if (!saved) return;
  SetWindowTextA(state.mainWindow, target.path.c_str());
  PictureSaved(state, target.path);
}

void Brightness(AppState& state) {
  BrightnessDialogData data;
  data.currentImage = &state.currentImage;
  data.level = &state.brightnessLevel;
  data.imageView = state.imageView;
  data.refreshPalette = [](void* context) { RefreshDisplayPalette(*static_cast<AppState*>(context)); };
  data.context = &state;
  PictureEntry before = CurrentPictureDetails(state);
  DibImagePtr unchanged;
  data.unchanged = &unchanged;
  ShowBrightnessDialog(state.mainWindow, data);
  if (!unchanged) return;
  before.picture = std::move(unchanged);
  KeepForUndo(state, std::move(before), PictureStep::kBrightness);
}

void InstallPicture(AppState& state, WallpaperArrangement arrangement) {
  InstallWallpaper(&state.owner, SystemDesktopCalls(state.desktop), state.wallpaperPlaces, state.currentImage.get(),
                   arrangement);
}

void Recall(AppState& state, WallpaperArrangement arrangement) {
  RecallWallpaper(&state.owner, SystemDesktopCalls(state.desktop), state.wallpaperPlaces, arrangement);
}

void InstallChosenFile(AppState& state, WallpaperArrangement arrangement) {
  InstallChosenWallpaper(&state.owner, SystemDesktopCalls(state.desktop), state.wallpaperPlaces, arrangement);
}

// The defaults are the Pattern panel's mirror and the size of its Make.
void SwitchSigninWallpaper(AppState& state) {
  SigninChoice choice;
  choice.mirror = MirrorKindOf(state.makeSettings[kMirrorMode]);
  choice.width = state.makeSettings[kWidth];
  choice.height = state.makeSettings[kHeight];
  SystemSignin signin = {state.mainWindow, state.instance};
  SwitchSignin(&state.owner, SystemSigninCalls(signin), SigninToolPath(state.programFolder), choice);
}

void Make(AppState& state) {
  RepairPanelValues(state.patternPanel);  // a value still being typed is repaired first
  PictureEntry before = CurrentPictureDetails(state);
  std::string recipe;
  DibImagePtr picture = MakePicture(&state.owner, state.makeSettings, state.patternFilePath,
                                    int64_t(std::time(nullptr)), state.generator, state.gifOptions, &recipe);
  if (picture) {
    ShowNewPicture(state, std::move(before), PictureStep::kMake, std::move(picture), TextOf(IDS_NO_TITLE), false, recipe);
  }
}

// The clipboard's text; empty when it holds none.
std::string ClipboardText(HWND window) {
  std::string text;
  if (!OpenClipboard(window)) return text;
  if (HGLOBAL data = GetClipboardData(CF_TEXT)) {
    const size_t size = GlobalSize(data);
    if (const char* bytes = static_cast<const char*>(GlobalLock(data))) {
      text.assign(bytes, strnlen(bytes, size));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

// Asks for a recipe (offering the clipboard's, if it holds one) and makes
// its picture as a Make does; Cancel or a failure leaves the picture as it was.
void MakeFromRecipe(AppState& state) {
  RecipeDialogData data;
  const std::string clipboard = ClipboardText(state.mainWindow);
  Recipe offered;
  if (ReadRecipe(clipboard, offered)) data.startText = RecipeText(offered);
  if (!AskRecipe(state.instance, state.mainWindow, data)) return;
  PictureEntry before = CurrentPictureDetails(state);
  DibImagePtr picture = MakeRecipePicture(&state.owner, data.recipe, state.generator);
  if (picture) {
    ShowNewPicture(state, std::move(before), PictureStep::kMake, std::move(picture), TextOf(IDS_NO_TITLE), false,
                   RecipeText(data.recipe));
  }
}

// Puts a copy of the bytes on the clipboard in that format; false when the
// clipboard cannot be had or does not take them (the block is freed then).
bool PutOnClipboard(HWND window, UINT format, const void* data, size_t size) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  void* bytes = block ? GlobalLock(block) : nullptr;
  bool placed = false;
  if (bytes) {
    std::memcpy(bytes, data, size);
    GlobalUnlock(block);
    if (OpenClipboard(window)) {
      placed = EmptyClipboard() && SetClipboardData(format, block);
      CloseClipboard();
    }
  }
  if (!placed && block) GlobalFree(block);
  return placed;
}

// Each screen: a picture for every screen, grown from the panel's values at
// that screen's size and set as the tool sets them; the primary screen's
// picture becomes the current picture, as one Make step.
void MakeForEachScreen(AppState& state) {
  RepairPanelValues(state.patternPanel);
  const ScreenLayout screens = MeasureScreenLayout();
  if (screens.empty()) return Make(state);
  PictureEntry before = CurrentPictureDetails(state);
  std::vector<DibImagePtr> grown = MakeScreenPictures(&state.owner, state.makeSettings, state.patternFilePath,
                                                      int64_t(std::time(nullptr)), state.generator, screens);
  if (grown.empty()) return;
  std::vector<const DibImage*> pictures;
  for (const DibImagePtr& picture : grown) pictures.push_back(picture.get());
  const DibImagePtr composed = ComposeScreenPictures(screens, pictures);
  if (!composed) {
    const Screen box = BoundingBox(screens);
    WarnPictureTooLarge(&state.owner, {box.width, box.height}, TextOf(IDS_ERROR));
    return;
  }
  InstallScreenWallpapers(&state.owner, SystemDesktopCalls(state.desktop), state.wallpaperPlaces, screens, pictures,
                          *composed, WallpaperArrangement::Centered);
  DibImagePtr& primary = grown[size_t(PrimaryScreen(screens) - screens.data())];
  ShowNewPicture(state, std::move(before), PictureStep::kMake, std::move(primary), TextOf(IDS_NO_TITLE), false);
}

// The picture as CF_DIB data; a clipboard that cannot be had or does not take
// the data is told.
void Copy(const AppState& state) {
  if (!state.currentImage) {
    Warn(state, IDS_COPY_NO_IMAGE, IDS_CAUTION);
    return;
  }
  if (!PutOnClipboard(state.mainWindow, CF_DIB, state.currentImage->start(), DibTotalSize(*state.currentImage))) {
    Warn(state, IDS_COPY_REFUSED, IDS_ERROR);
  }
}

// The current picture's recipe as text on the clipboard.
void CopyRecipe(const AppState& state) {
  const std::string& recipe = state.history.currentRecipe;
  if (!state.currentImage || recipe.empty()) return;
  if (!PutOnClipboard(state.mainWindow, CF_TEXT, recipe.c_str(), recipe.size() + 1)) {
    Warn(state, IDS_COPY_RECIPE_REFUSED, IDS_ERROR);
  }
}

// The clipboard's CF_DIB data, copied into a block of its own; none when it
// holds no picture.
DibImagePtr ClipboardPicture(HWND window) {
  DibImagePtr block;
  if (!OpenClipboard(window)) return block;
  if (HGLOBAL data = GetClipboardData(CF_DIB)) {
    const size_t size = GlobalSize(data);
    const void* bytes = GlobalLock(data);
    if (bytes && size > 0 && (block = AllocateDibBlock(size))) std::memcpy(block->start(), bytes, size);
    if (bytes) GlobalUnlock(data);
  }
  CloseClipboard();
  return block;
}

void Paste(AppState& state) {
  PictureEntry before = CurrentPictureDetails(state);
  DibImagePtr picture = PastedPicture(&state.owner, ClipboardPicture(state.mainWindow), state.gifOptions);
  if (picture) ShowNewPicture(state, std::move(before), PictureStep::kPaste, std::move(picture), TextOf(IDS_NO_TITLE), true);
}

// The help file beside the program in the system's viewer; without it the
// manual in the browser; without either, a word that no help is installed.
void Help(const AppState& state) {
  if (FileExists(state.helpFilePath)) {
    WinHelpA(state.mainWindow, state.helpFilePath.c_str(), HELP_FINDER, 0);
    return;
  }
  const std::string manual = PathInFolder(state.programFolder, "vitrelle.html");
  if (FileExists(manual)) {
    ShellExecuteA(state.mainWindow, "open", manual.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return;
  }
  Warn(state, IDS_NO_HELP_FILE, IDS_CAUTION);
}

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
      }
      break;
  }
  return FALSE;
}

void About(const AppState& state) { DialogBoxParamA(state.instance, "TXABOUT", state.mainWindow, AboutProc, 0); }

// The panel ends itself when the Pattern file cannot be read; from then on
// no message is routed to it.
void PanelEnded(void* context) { static_cast<AppState*>(context)->patternPanel = nullptr; }

}  // namespace

void LayoutHidden(AppState& state) {
  ShowWindow(state.mainWindow, SW_HIDE);
  LayoutWindows(state);
  ShowWindow(state.mainWindow, SW_SHOW);
}

void CreatePanel(AppState& state) {
  state.panelParams.settings = &state.makeSettings;
  state.panelParams.patternFilePath = state.patternFilePath.c_str();
  state.panelParams.ended = PanelEnded;
  state.panelParams.context = &state;
  state.patternPanel = CreatePatternPanel(state.instance, state.mainWindow, state.detailsMode, &state.panelParams);
}

void SwitchDetailsMode(AppState& state) {
  state.detailsMode = !state.detailsMode;
  CheckMenuItem(state.menu, IDM_DETAILS, MF_BYCOMMAND | (state.detailsMode ? MF_CHECKED : MF_UNCHECKED));
  WriteDetailsMode(RegistrySettingsStore(), state.detailsMode);
  if (state.patternPanel) DestroyWindow(state.patternPanel);
  state.patternPanel = nullptr;
  CreatePanel(state);
  LayoutHidden(state);
  RepaintView(state);
}

void RunCommand(AppState& state, int command) {
  switch (command) {
    case IDM_OPEN_NAMED: OpenNamedFile(state); break;
    case IDM_OPEN: Open(state); break;
    case IDM_SAVE_AS: SaveAs(state); break;
    case IDM_MAKE: Make(state); break;
    case IDM_TILE: InstallPicture(state, WallpaperArrangement::Tiled); break;
    case IDM_CENTER: InstallPicture(state, WallpaperArrangement::Centered); break;
    case IDM_EACH_SCREEN: MakeForEachScreen(state); break;
    case IDM_CLEAR: ClearWallpaper(&state.owner, SystemDesktopCalls(state.desktop)); break;
    case IDM_RECALL_TILE: Recall(state, WallpaperArrangement::Tiled); break;
    case IDM_RECALL_CENTER: Recall(state, WallpaperArrangement::Centered); break;
    case IDM_OPTION_TILE: InstallChosenFile(state, WallpaperArrangement::Tiled); break;
    case IDM_OPTION_CENTER: InstallChosenFile(state, WallpaperArrangement::Centered); break;
    case IDM_SIGNIN_WALLPAPER: SwitchSigninWallpaper(state); break;
    case IDM_BRIGHTNESS: Brightness(state); break;
    case IDM_COPY: Copy(state); break;
    case IDM_PASTE: Paste(state); break;
    case IDM_COPY_RECIPE: CopyRecipe(state); break;
    case IDM_MAKE_FROM_RECIPE: MakeFromRecipe(state); break;
    case IDM_DETAILS: SwitchDetailsMode(state); break;
    case IDM_UNDO: UndoPicture(state); break;
    case IDM_REDO: RedoPicture(state); break;
    case IDM_HELP: Help(state); break;
    case IDM_ABOUT: About(state); break;
    case IDM_EXIT: SendMessageA(state.mainWindow, WM_CLOSE, 0, 0); break;
  }
}

void PrepareMenu(const AppState& state, HMENU menu) {
  bool clipboardHasPicture = false;
  if (OpenClipboard(state.mainWindow)) {
    clipboardHasPicture = IsClipboardFormatAvailable(CF_DIB);
    CloseClipboard();
  }
  EnableMenuItem(menu, IDM_PASTE, MF_BYCOMMAND | (clipboardHasPicture ? MF_ENABLED : MF_GRAYED));
  EnableMenuItem(menu, IDM_COPY, MF_BYCOMMAND | (state.currentImage ? MF_ENABLED : MF_GRAYED));
  const bool hasRecipe = state.currentImage && !state.history.currentRecipe.empty();
  EnableMenuItem(menu, IDM_COPY_RECIPE, MF_BYCOMMAND | (hasRecipe ? MF_ENABLED : MF_GRAYED));
  SystemSignin signin = {state.mainWindow, state.instance};
  const bool signinOn = SigninIsOn(SystemSigninCalls(signin), SigninToolPath(state.programFolder));
  CheckMenuItem(menu, IDM_SIGNIN_WALLPAPER, MF_BYCOMMAND | (signinOn ? MF_CHECKED : MF_UNCHECKED));
  PrepareHistoryItems(state, menu);
}

void AddRecipeItems(HMENU menu) {
  InsertMenuA(menu, IDM_BRIGHTNESS, MF_BYCOMMAND | MF_STRING | MF_GRAYED, IDM_COPY_RECIPE, TextOf(IDS_COPY_RECIPE_ITEM));
  InsertMenuA(menu, IDM_BRIGHTNESS, MF_BYCOMMAND | MF_STRING, IDM_MAKE_FROM_RECIPE, TextOf(IDS_MAKE_FROM_RECIPE_ITEM));
  InsertMenuA(menu, IDM_BRIGHTNESS, MF_BYCOMMAND | MF_SEPARATOR, 0, nullptr);
}

void OpenDroppedFile(AppState& state, HDROP drop) {
  const UINT length = DragQueryFileA(drop, 0, nullptr, 0);
  std::string name(length, '\0');
  DragQueryFileA(drop, 0, name.data(), length + 1);
  DragFinish(drop);
  if (length == 0) return;
  if (length >= kFileToOpenSize) {
    // Too long for the file-to-open buffer: refused rather than cut.
    OwnerWarn(&state.owner, TextOf(IDS_OPEN_FAILED), name.c_str());
    return;
  }
  lstrcpynA(state.fileToOpen, name.c_str(), kFileToOpenSize);
  SendMessageA(state.mainWindow, WM_COMMAND, IDM_OPEN_NAMED, 0);
}
