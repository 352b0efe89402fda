// A recipe given on the command line (--recipe TEXT|PICTURE): the recipe
// line itself, or a picture file that carries one.
#pragma once

#include <string>

#include "image/dib_image.h"

// Makes the very picture the recipe tells, its recipe line in `recipe`.
// None, with the reason written to standard error, when the argument is
// neither a valid recipe nor a picture file that carries one, or the picture
// cannot be made.
DibImagePtr MakeFromRecipeArgument(const std::string& argument, std::string& recipe);
