#include "plugins/plugin_table.h"

#include <cstring>

namespace {

const char kOwnFilterEntry[] = "BMP/GIF Files (*.BMP,*.GIF)\n*.BMP;*.GIF\n";
const char kAllFilesEntry[] = "All Files (*.*)\n*.*\n";

// One answer of GetPluginInfo as a text: the buffer is cleared before the
// question and cut at its end, since a plug-in may fill it without a zero.
bool AskInfo(PluginInfoFunction info, void* module, int number, std::string& answer) {
  char buffer[kPluginInfoSize + 1] = {};
  if (!info(module, number, buffer, kPluginInfoSize)) return false;
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

PluginAnswers AskPluginAnswers(PluginInfoFunction info, void* module) {
  PluginAnswers answers;
  if (!AskInfo(info, module, 0, answers.version) || !IsAcceptedVersion(answers.version.c_str())) return answers;
  std::string description, pattern;
  for (int k = 0; k < kMaxPluginFormats && AskInfo(info, module, 2 * k + 3, description); ++k) {
    if (!AskInfo(info, module, 2 * k + 2, pattern)) pattern.clear();
    answers.formats.emplace_back(pattern, description);
  }
  return answers;
}

PluginOffer OfferPlugin(PluginTable& table, const std::string& fileName, const PluginAnswers& answers,
                        PluginMachine machine) {
  if (!IsAcceptedVersion(answers.version.c_str())) return PluginOffer::kRefused;
  if (table.count == kMaxPlugins) return PluginOffer::kTableFull;
  table.entries[table.count++] = {fileName, answers, machine};
  return PluginOffer::kAccepted;
}

std::string BuildOpenFilter(const PluginTable& table) {
  std::string filter = kOwnFilterEntry;
  // Room for the plug-in entries: "All Files" and the final zero byte stay.
  const size_t limit = kOpenFilterCapacity - 1 - std::strlen(kAllFilesEntry);
  bool full = false;
  for (int i = 0; i < table.count && !full; ++i) {
    for (const auto& [pattern, description] : table.entries[i].answers.formats) {
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
