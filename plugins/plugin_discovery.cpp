#include "plugins/plugin_discovery.h"

#include <cstring>
#include <optional>

#include "base/byte_order.h"

namespace {

const uint8_t kRecordMagic[4] = {'V', 'P', 'I', '1'};
constexpr size_t kMaxAnswerTexts = 1 + 2 * size_t(kMaxPluginFormats);

void AppendU32(std::vector<uint8_t>& bytes, uint32_t value) {
  uint8_t stored[4];
  StoreU32(stored, value);
  bytes.insert(bytes.end(), stored, stored + 4);
}

void AppendText(std::vector<uint8_t>& bytes, const std::string& text) {
  AppendU32(bytes, uint32_t(text.size()));
  bytes.insert(bytes.end(), text.begin(), text.end());
}

// Reads the next text of a record; false when the reply holds too little or
// the text is longer than any answer may be.
bool ReadText(const uint8_t* reply, size_t size, size_t& at, std::string& text) {
  if (size - at < 4) return false;
  const uint32_t length = LoadU32(reply + at);
  at += 4;
  if (length >= size_t(kPluginInfoSize) || size - at < length) return false;
  text.assign(reinterpret_cast<const char*>(reply + at), length);
  at += length;
  return true;
}

bool ReadRecord(const uint8_t* reply, size_t size, size_t& at, PluginAnswers& answers) {
  if (size - at < 8 || std::memcmp(reply + at, kRecordMagic, 4) != 0) return false;
  const uint32_t texts = LoadU32(reply + at + 4);
  at += 8;
  if (texts == 0 || texts > kMaxAnswerTexts || texts % 2 == 0) return false;
  if (!ReadText(reply, size, at, answers.version)) return false;
  answers.formats.resize((texts - 1) / 2);
  for (auto& [pattern, description] : answers.formats)
    if (!ReadText(reply, size, at, pattern) || !ReadText(reply, size, at, description)) return false;
  return true;
}

// Records written before they said why hold the stamp alone.
bool IsRemembered(const FailedPluginMemory& memory, const PluginFile& file, bool& stored) {
  std::string record;
  stored = memory.recall && memory.recall(memory.context, file.name, record);
  const std::string stamp = PluginFileStamp(file);
  return stored && record.compare(0, stamp.size(), stamp) == 0 &&
         (record.size() == stamp.size() || record[stamp.size()] == ',');
}

void Remember(const FailedPluginMemory& memory, const PluginFile& file, const char* reason) {
  if (memory.remember) memory.remember(memory.context, file.name, PluginFileStamp(file) + "," + reason);
}

// The answers of each of the files that one kind of helper runs, asked in
// batches; a file left without answers is left out.
void AskFilesOfMachine(PluginMachine machine, const std::vector<const PluginFile*>& files,
                       std::vector<std::optional<PluginAnswers>>& answers, AskPluginsFunction ask, void* context,
                       const FailedPluginMemory& memory) {
  std::vector<size_t> mine;
  for (size_t i = 0; i < files.size(); ++i)
    if (files[i]->machine == machine) mine.push_back(i);
  size_t next = 0;
  while (next < mine.size()) {
    std::vector<std::string> names;
    for (size_t i = next; i < mine.size() && names.size() < kPluginsPerHelper; ++i)
      names.push_back(files[mine[i]]->name);
    const PluginHelperRun run = ask(context, machine, names);
    if (run.refused) {
      for (; next < mine.size(); ++next) Remember(memory, *files[mine[next]], kPluginHelperCannotStart);
      return;
    }
    if (!run.started) return;
    const size_t answered = run.answers.size() < names.size() ? run.answers.size() : names.size();
    for (size_t i = 0; i < answered; ++i, ++next) answers[mine[next]] = run.answers[i];
    if (answered < names.size()) {
      // The helper ended or was ended while it asked this one.
      Remember(memory, *files[mine[next]], kPluginFailedWhileAsked);
      ++next;
    }
  }
}

}  // namespace

bool IsPluginFolder(const std::string& folder) {
  const bool drive = folder.size() >= 3 && folder[1] == ':' && folder[2] == '\\' &&
                     ((folder[0] >= 'A' && folder[0] <= 'Z') || (folder[0] >= 'a' && folder[0] <= 'z'));
  const bool share = folder.size() >= 3 && folder.compare(0, 2, "\\\\") == 0;
  return (drive || share) && folder.size() + std::strlen("\\*.spi") <= kMaxPluginPathLength;
}

std::vector<uint8_t> EncodePluginAnswers(const PluginAnswers& answers) {
  std::vector<uint8_t> bytes(kRecordMagic, kRecordMagic + 4);
  AppendU32(bytes, uint32_t(1 + 2 * answers.formats.size()));
  AppendText(bytes, answers.version);
  for (const auto& [pattern, description] : answers.formats) {
    AppendText(bytes, pattern);
    AppendText(bytes, description);
  }
  return bytes;
}

std::vector<PluginAnswers> DecodePluginAnswers(const uint8_t* reply, size_t size) {
  std::vector<PluginAnswers> all;
  size_t at = 0;
  PluginAnswers answers;
  while (at < size && ReadRecord(reply, size, at, answers)) all.push_back(std::move(answers));
  return all;
}

std::string PluginFileStamp(const PluginFile& file) {
  return std::to_string(file.size) + "," + std::to_string(file.writeTime);
}

PluginMachine PluginMachineOf(const uint8_t* bytes, size_t size) {
  if (size < 0x40 || bytes[0] != 'M' || bytes[1] != 'Z') return PluginMachine::kNone;
  const uint32_t header = LoadU32(bytes + 0x3C);
  if (header > size || size - header < 6 || std::memcmp(bytes + header, "PE\0\0", 4) != 0) return PluginMachine::kNone;
  switch (LoadU16(bytes + header + 4)) {
    case 0x8664: return PluginMachine::kX64;
    case 0x014C: return PluginMachine::kI386;
    default: return PluginMachine::kOther;
  }
}

void DiscoverPluginFiles(PluginTable& table, const std::vector<PluginFile>& files, AskPluginsFunction ask,
                         void* context, const FailedPluginMemory& memory) {
  // The files to ask, and whether each has a failure stored (of another stamp).
  std::vector<const PluginFile*> pending;
  std::vector<bool> storedFailure;
  for (const PluginFile& file : files) {
    bool stored = false;
    if (file.machine != PluginMachine::kX64 && file.machine != PluginMachine::kI386) continue;
    if (IsRemembered(memory, file, stored)) continue;
    pending.push_back(&file);
    storedFailure.push_back(stored);
  }
  std::vector<std::optional<PluginAnswers>> answers(pending.size());
  for (PluginMachine machine : {PluginMachine::kX64, PluginMachine::kI386})
    AskFilesOfMachine(machine, pending, answers, ask, context, memory);
  // Offered in the folder's order, whichever helper answered.
  for (size_t i = 0; i < pending.size(); ++i) {
    if (!answers[i]) continue;
    if (storedFailure[i] && memory.forget) memory.forget(memory.context, pending[i]->name);
    OfferPlugin(table, pending[i]->name, *answers[i], pending[i]->machine);
  }
}
