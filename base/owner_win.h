// The owner record of the Windows program: message boxes and the title of a
// window.
#pragma once

#include <windows.h>

#include "base/owner.h"

// Works on whatever window *window holds when it is called, so that it can
// be made before the window exists.
Owner WindowOwner(HWND* window);
