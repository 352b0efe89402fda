// Identifiers shared by the resource script and the program. The numbered
// texts have their own list, strings.def.
#pragma once

// Commands: menu items, accelerators, toolbar buttons.
#define IDM_OPEN_NAMED 999  // sent by the program itself: open the file-to-open buffer
#define IDM_OPEN 1000
#define IDM_SAVE_AS 1001
#define IDM_MAKE 1002
#define IDM_TILE 1003
#define IDM_CENTER 1004
#define IDM_CLEAR 1005
#define IDM_HELP 1006
#define IDM_ABOUT 1007
#define IDM_EXIT 1008
#define IDM_RECALL_TILE 4001
#define IDM_OPTION_TILE 4002
#define IDM_OPTION_CENTER 4003
#define IDM_RECALL_CENTER 4004
#define IDM_BRIGHTNESS 4006
#define IDM_COPY 4007
#define IDM_PASTE 4008
#define IDM_DETAILS 4010
#define IDM_UNDO 4011
#define IDM_REDO 4012
#define IDM_SIGNIN_WALLPAPER 4016
#define IDM_COPY_RECIPE 4030
#define IDM_MAKE_FROM_RECIPE 4031
#define IDM_EACH_SCREEN 4017

// Child windows of the main window.
#define IDC_TOOLBAR 800
#define IDC_STATUS_BAR 1100
#define IDB_TOOLBAR 1100  // the toolbar's strip of button images

// Pattern panel ("DMAKE", "DMAKE2") and the new-name dialog ("INPNAME").
#define IDC_SIZE_LIST 101
#define IDC_COLOR_LIST 104
#define IDC_PATTERN_LIST 107
#define IDC_INITIAL_COLOR 108
#define IDC_WEIGHT_1 110
#define IDC_WEIGHT_2 111
#define IDC_WEIGHT_3 112
#define IDC_WEIGHT_4 113
#define IDC_WEIGHT_5 114
#define IDC_DIVIDE 115
#define IDC_FIX 116
#define IDC_RANDOM 117
#define IDC_INITIAL_NUMBER 118
#define IDC_DELETE 119
#define IDC_ADD 121
#define IDC_MIRROR_NORMAL 127
#define IDC_MIRROR_VERTICAL 128
#define IDC_MIRROR_CROSS 129
#define IDC_MIRROR_KALEIDOSCOPE 130
#define IDC_INITIALIZE 212
#define IDC_CHANGE 1236
#define IDC_NEW_NAME 1237

// Brightness dialog ("TXUSU").
#define IDC_BRIGHTNESS_BAR 1229
#define IDC_BRIGHTNESS_LEVEL 1230

// GIF save options dialog ("GIFSAVE").
#define IDC_GIF_INTERLACE 1232
#define IDC_GIF_TRANSPARENT 1233
#define IDC_GIF_COMMENT 1234
#define IDC_GIF_PICK_COLOR 1235
#define IDC_GIF_SWATCH 1236

// New picture at each sign-in ("SIGNIN").
#define IDC_SIGNIN_MIRROR_NORMAL 1240
#define IDC_SIGNIN_MIRROR_VERTICAL 1241
#define IDC_SIGNIN_MIRROR_CROSS 1242
#define IDC_SIGNIN_MIRROR_KALEIDOSCOPE 1243
#define IDC_SIGNIN_TILE 1244
#define IDC_SIGNIN_CENTER 1245
#define IDC_SIGNIN_SIZE 1246
#define IDC_SIGNIN_EACH_SCREEN 1247

// Make from recipe ("RECIPE").
#define IDC_RECIPE_TEXT 1260

// Static labels of the panels.
#define IDC_LABEL_SIZE 3000
#define IDC_LABEL_PATTERN 3001
#define IDC_LABEL_MIRROR 3002
#define IDC_LABEL_COLOR 3003
#define IDC_GROUP_PATTERN 3004
#define IDC_LABEL_INITIAL_COLOR 3005
#define IDC_LABEL_WEIGHTS 3007
#define IDC_LABEL_DIVIDE 3008
#define IDC_LABEL_FIX 3009
#define IDC_LABEL_RANDOM 3010
#define IDC_LABEL_INITIAL_NUMBER 3013

#ifndef RC_INVOKED
// The name of the icon, the menu and the accelerator table; the resource
// script spells it as the bare word VITRELLE.
constexpr const char* kResourceName = "VITRELLE";
#endif
