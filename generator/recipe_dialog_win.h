// The "Make from recipe" dialog ("RECIPE"): one edit for a recipe line. OK
// takes only a valid recipe; any other text gets a message and stays in the
// edit to be mended.
#pragma once

#include <windows.h>

#include <string>

#include "generator/recipe.h"

// The dialog's creation record.
struct RecipeDialogData {
  std::string startText;  // what the edit shows at first (a recipe from the clipboard, or nothing)
  Recipe recipe;          // on OK, the recipe read
};

// Runs the dialog modally; true when OK was pressed on a valid recipe.
bool AskRecipe(HINSTANCE instance, HWND owner, RecipeDialogData& data);
