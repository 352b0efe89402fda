// Reads arbitrary bytes as a recipe line and as a PNG file's recipe chunk: a
// recipe that reads must write back as the same line.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "generator/recipe.h"
#include "image/png_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = "/tmp/vitrelle_fuzz_" + std::to_string(getpid()) + ".png";
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  Recipe recipe;
  if (ReadRecipe(bytes, recipe) && !ReadRecipe(RecipeText(recipe), recipe)) std::abort();
  if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    ReadRecipe(ReadPngText(path.c_str(), kRecipePngKeyword), recipe);
  }
  return 0;
}
