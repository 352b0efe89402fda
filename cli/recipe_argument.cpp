#include "cli/recipe_argument.h"

#include <cstdio>

#include "app/picture_files.h"
#include "base/file_io.h"
#include "cli/cli_owner.h"
#include "generator/pattern_image.h"
#include "generator/recipe.h"

namespace {

// The recipe line of the argument; empty, with the reason told, when none.
std::string RecipeLineOf(const std::string& argument) {
  Recipe recipe;
  if (ReadRecipe(argument, recipe)) return RecipeText(recipe);
  if (!FileExists(argument)) {
    std::fprintf(stderr, "Not a valid recipe, nor a picture file: %s\n", argument.c_str());
    return {};
  }
  const Owner owner = CliOwner();
  GifSaveOptions options;
  DibImagePtr picture = OpenPictureFile(&owner, argument.c_str(), options);
  if (!picture) return {};
  const std::string line = PictureFileRecipe(argument.c_str(), *picture);
  if (line.empty()) std::fprintf(stderr, "The picture carries no recipe: %s\n", argument.c_str());
  return line;
}

}  // namespace

DibImagePtr MakeFromRecipeArgument(const std::string& argument, std::string& recipe) {
  recipe = RecipeLineOf(argument);
  Recipe read;
  if (recipe.empty() || !ReadRecipe(recipe, read)) return nullptr;
  const Owner owner = CliOwner();
  GeneratorState state;
  return MakeRecipePicture(&owner, read, state);
}
