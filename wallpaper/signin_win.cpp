#include "wallpaper/signin_win.h"

#include "base/dialog_record_win.h"
#include "base/file_io.h"
#include "resources/resource.h"

namespace {

constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

bool ReadRunValue(void*, std::string& value) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
  char data[2048];
  DWORD size = sizeof data - 1;
  DWORD type = 0;
  const LSTATUS status =
      RegQueryValueExA(key, kSigninRunValueName, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
  data[size] = '\0';  // the stored text need not end in a zero
  value = data;
  return true;
}

bool WriteRunValue(void*, const std::string& value) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    return false;
  }
  const LSTATUS status = RegSetValueExA(key, kSigninRunValueName, 0, REG_SZ,
                                        reinterpret_cast<const BYTE*>(value.c_str()), DWORD(value.size() + 1));
  RegCloseKey(key);
  return status == ERROR_SUCCESS;
}

bool DeleteRunValue(void*) {
  HKEY key = nullptr;
  const LSTATUS opened = RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, &key);
  if (opened == ERROR_FILE_NOT_FOUND) return true;
  if (opened != ERROR_SUCCESS) return false;
  const LSTATUS status = RegDeleteValueA(key, kSigninRunValueName);
  RegCloseKey(key);
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

bool AskThroughDialog(void* context, SigninChoice& choice) {
  const auto* signin = static_cast<const SystemSignin*>(context);
  return AskSigninChoice(signin->owner, signin->instance, choice);
}

constexpr int kMirrorButtons[] = {IDC_SIGNIN_MIRROR_NORMAL, IDC_SIGNIN_MIRROR_VERTICAL, IDC_SIGNIN_MIRROR_CROSS,
                                  IDC_SIGNIN_MIRROR_KALEIDOSCOPE};

void ShowChoice(HWND dialog, const SigninChoice& choice) {
  const int mirror = choice.mirror >= kMirrorNormal && choice.mirror <= kMirrorKaleidoscope ? choice.mirror : 0;
  CheckRadioButton(dialog, IDC_SIGNIN_MIRROR_NORMAL, IDC_SIGNIN_MIRROR_KALEIDOSCOPE, kMirrorButtons[mirror]);
  CheckRadioButton(dialog, IDC_SIGNIN_TILE, IDC_SIGNIN_CENTER,
                   choice.arrangement == WallpaperArrangement::Tiled ? IDC_SIGNIN_TILE : IDC_SIGNIN_CENTER);
  const std::string size = std::to_string(choice.width) + " x " + std::to_string(choice.height);
  SetDlgItemTextA(dialog, IDC_SIGNIN_SIZE, size.c_str());
  CheckDlgButton(dialog, IDC_SIGNIN_EACH_SCREEN, choice.eachScreen ? BST_CHECKED : BST_UNCHECKED);
}

void TakeChoice(HWND dialog, SigninChoice& choice) {
  for (int kind = 0; kind < 4; ++kind) {
    if (IsDlgButtonChecked(dialog, kMirrorButtons[kind]) == BST_CHECKED) choice.mirror = MirrorKind(kind);
  }
  choice.arrangement = IsDlgButtonChecked(dialog, IDC_SIGNIN_CENTER) == BST_CHECKED ? WallpaperArrangement::Centered
                                                                                    : WallpaperArrangement::Tiled;
  choice.eachScreen = IsDlgButtonChecked(dialog, IDC_SIGNIN_EACH_SCREEN) == BST_CHECKED;
}

INT_PTR CALLBACK SigninDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      KeepDialogRecord(dialog, reinterpret_cast<SigninChoice*>(lParam));
      ShowChoice(dialog, *DialogRecord<SigninChoice>(dialog));
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
          TakeChoice(dialog, *DialogRecord<SigninChoice>(dialog));
          EndDialog(dialog, IDOK);
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog, IDCANCEL);
          return TRUE;
      }
      break;
  }
  return FALSE;
}

}  // namespace

SigninCalls SystemSigninCalls(SystemSignin& signin) {
  SigninCalls calls;
  calls.context = &signin;
  calls.readRunValue = ReadRunValue;
  calls.writeRunValue = WriteRunValue;
  calls.deleteRunValue = DeleteRunValue;
  calls.askChoice = AskThroughDialog;
  return calls;
}

std::string SigninToolPath(const std::string& programFolder) {
  return PathInFolder(programFolder, kSigninToolName);
}

bool AskSigninChoice(HWND owner, HINSTANCE instance, SigninChoice& choice) {
  SigninChoice edited = choice;
  if (DialogBoxParamA(instance, "SIGNIN", owner, SigninDialogProc, reinterpret_cast<LPARAM>(&edited)) != IDOK) {
    return false;
  }
  choice = edited;
  return true;
}
