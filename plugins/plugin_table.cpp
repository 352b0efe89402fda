#include "plugins/plugin_table.h"

#include <cstring>

namespace {

const char kOwnFilterEntry[] = "BMP/GIF Files (*.BMP,*.GIF)\n*.BMP;*.GIF\n";
const char kAllFilesEntry[] = "All Files (*.*)\n*.*\n";

// One answer of GetPluginInfo as a text: the buffer is cleared before the
// question and cut at its end, since a plug-in may fill it without a zero.
bool AskInfo(const PluginTable& table, void* module, int number, std::string& answer) {
  char buffer[kPluginInfoSize + 1] = {};
  if (!table.info(module, number, buffer, kPluginInfoSize)) return false;
  buffer[kPluginInfoSize - 1] = '\0';
  answer = buffer;
  return true;
}

bool IsUsableFilterText(const std::string& text) {
  return !text.empty() && text.find_first_of("\r\n") == std::string::npos;
}

}  // namespace

bool IsAcceptedVersion(const char* text) {
  return text[0] != '\0' && text[1] != '\0' && text[2] == 'I' && text[3] == 'N';
}

PluginOffer OfferPlugin(PluginTable& table, void* module, const std::string& fileName) {
  std::string version;
  if (!AskInfo(table, module, 0, version) || !IsAcceptedVersion(version.c_str())) return PluginOffer::kRefused;
  if (table.count == kMaxPlugins) return PluginOffer::kTableFull;
  table.entries[table.count++] = {module, fileName};
  return PluginOffer::kAccepted;
}

std::string BuildOpenFilter(const PluginTable& table) {
  std::string filter = kOwnFilterEntry;
  // Room for the plug-in entries: "All Files" and the final zero byte stay.
  const size_t limit = kOpenFilterCapacity - 1 - std::strlen(kAllFilesEntry);
  bool full = false;
  for (int i = 0; i < table.count && !full; ++i) {
    void* module = table.entries[i].module;
    std::string description, pattern;
    for (int k = 0; k < kMaxPluginFormats && AskInfo(table, module, 2 * k + 3, description); ++k) {
      if (!AskInfo(table, module, 2 * k + 2, pattern)) pattern.clear();
      if (!IsUsableFilterText(description) || !IsUsableFilterText(pattern)) continue;
      const std::string entry = description + " (" + pattern + ")\n" + pattern + "\n";
      if (filter.size() + entry.size() > limit) {
        full = true;
        break;
      }
      filter += entry;
    }
  }
  return filter + kAllFilesEntry;
}

DibImagePtr LoadThroughPlugins(const PluginTable& table, const char* path, PluginDecodeFunction decode,
                               void* context) {
  DibImagePtr result;
  for (int i = 0; i < table.count; ++i) {
    DibImagePtr image = decode(context, table.entries[i], path);
    if (image) result = std::move(image);
  }
  return result;
}
