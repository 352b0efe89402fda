// The sign-in registration's system side: the Run value under the user's
// key, and the dialog that asks which mirror and which arrangement.
#pragma once

#include <windows.h>

#include "wallpaper/signin.h"

// The dialog's owner and the module that holds its template.
struct SystemSignin {
  HWND owner = nullptr;
  HINSTANCE instance = nullptr;
};
SigninCalls SystemSigninCalls(SystemSignin& signin);

// The sign-in tool beside the program.
std::string SigninToolPath(const std::string& programFolder);

// Runs the "SIGNIN" dialog on the choice (its creation parameter); true with
// the choice changed on OK, false with it unchanged on Cancel.
bool AskSigninChoice(HWND owner, HINSTANCE instance, SigninChoice& choice);
