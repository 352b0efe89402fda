#include "plugins/plugin_discovery.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "base/byte_order.h"

namespace {

// A helper as the program sees it: a name starting with "crash" or "hang"
// ends the run there; "junk" is a library that is no plug-in.
struct FakeHelper {
  bool starts = true;
  bool runs32 = true;  // whether the system starts the 32-bit helper
  std::vector<std::vector<std::string>> runs;
  std::map<std::string, std::string> memory;  // name: stamp
};

PluginHelperRun AskFake(void* context, PluginMachine machine, const std::vector<std::string>& names) {
  auto& helper = *static_cast<FakeHelper*>(context);
  PluginHelperRun run;
  run.refused = machine == PluginMachine::kI386 && !helper.runs32;
  run.started = helper.starts && !run.refused;
  if (!run.started) return run;
  helper.runs.push_back(names);
  for (const std::string& name : names) {
    if (name.rfind("crash", 0) == 0 || name.rfind("hang", 0) == 0) break;
    run.answers.push_back(name.rfind("junk", 0) == 0 ? PluginAnswers{}
                                                     : PluginAnswers{"00IN", {{"*." + name, name + " Pictures"}}});
  }
  return run;
}

FailedPluginMemory MemoryOf(FakeHelper& helper) {
  FailedPluginMemory memory;
  memory.context = &helper.memory;
  memory.recall = [](void* c, const std::string& name, std::string& stamp) {
    auto& stored = *static_cast<std::map<std::string, std::string>*>(c);
    if (!stored.count(name)) return false;
    stamp = stored[name];
    return true;
  };
  memory.remember = [](void* c, const std::string& name, const std::string& stamp) {
    (*static_cast<std::map<std::string, std::string>*>(c))[name] = stamp;
  };
  memory.forget = [](void* c, const std::string& name) { static_cast<std::map<std::string, std::string>*>(c)->erase(name); };
  return memory;
}

std::vector<std::string> NamesIn(const PluginTable& table) {
  std::vector<std::string> names;
  for (int i = 0; i < table.count; ++i) names.push_back(table.entries[i].fileName);
  return names;
}

using Names = std::vector<std::string>;

TEST(PluginDiscovery, LeavesOutOnlyTheFailingPluginAndRemembersItUntilItsFileChanges) {
  std::vector<PluginFile> files = {
      {"a.spi", 10, 1}, {"crash.spi", 20, 2}, {"b.spi", 30, 3}, {"junk.spi", 5, 5}, {"hang.spi", 40, 4}, {"c.spi", 50, 5}};
  FakeHelper helper;
  PluginTable table;
  DiscoverPluginFiles(table, files, AskFake, &helper, MemoryOf(helper));
  EXPECT_EQ(NamesIn(table), (Names{"a.spi", "b.spi", "c.spi"}));
  EXPECT_EQ(table.entries[2].answers.formats.at(0).second, "c.spi Pictures");
  // After each failure a new helper goes on with the library after it.
  EXPECT_EQ(helper.runs, (std::vector<Names>{{"a.spi", "crash.spi", "b.spi", "junk.spi", "hang.spi", "c.spi"},
                                             {"b.spi", "junk.spi", "hang.spi", "c.spi"},
                                             {"c.spi"}}));
  EXPECT_EQ(helper.memory, (std::map<std::string, std::string>{{"crash.spi", "20,2," + std::string(kPluginFailedWhileAsked)},
                                                                {"hang.spi", "40,4," + std::string(kPluginFailedWhileAsked)}}));

  // The next start asks neither of them.
  helper.runs.clear();
  table = PluginTable();
  DiscoverPluginFiles(table, files, AskFake, &helper, MemoryOf(helper));
  EXPECT_EQ(NamesIn(table), (Names{"a.spi", "b.spi", "c.spi"}));
  EXPECT_EQ(helper.runs, (std::vector<Names>{{"a.spi", "b.spi", "junk.spi", "c.spi"}}));

  // A new file under the failed name (another size or time) is asked again;
  // once it answers, it is forgotten.
  files[1].name = "fixed.spi";
  helper.memory["fixed.spi"] = "20,2";
  files[1].writeTime = 9;
  files[4].size = 41;
  helper.runs.clear();
  table = PluginTable();
  DiscoverPluginFiles(table, files, AskFake, &helper, MemoryOf(helper));
  EXPECT_EQ(NamesIn(table), (Names{"a.spi", "fixed.spi", "b.spi", "c.spi"}));
  EXPECT_EQ(helper.memory, (std::map<std::string, std::string>{{"crash.spi", "20,2," + std::string(kPluginFailedWhileAsked)},
                                                                {"hang.spi", "41,4," + std::string(kPluginFailedWhileAsked)}}));
}

TEST(PluginDiscovery, AsksInBatchesAndRemembersNothingWithoutAHelper) {
  std::vector<PluginFile> files;
  for (int i = 0; i < 20; ++i) files.push_back({std::to_string(i) + ".spi", 1, 1});
  FakeHelper helper;
  PluginTable table;
  DiscoverPluginFiles(table, files, AskFake, &helper, MemoryOf(helper));
  ASSERT_EQ(helper.runs.size(), 2u);
  EXPECT_EQ(helper.runs[0].size(), kPluginsPerHelper);
  EXPECT_EQ(helper.runs[1].front(), "16.spi");
  EXPECT_EQ(table.count, 20);

  // No helper (vitrelle-decode.exe missing): no plug-in, and none is blamed.
  files.insert(files.begin() + 1, {"crash.spi", 1, 1});
  helper = FakeHelper();
  helper.starts = false;
  table = PluginTable();
  DiscoverPluginFiles(table, files, AskFake, &helper, MemoryOf(helper));
  EXPECT_EQ(table.count, 0);
  EXPECT_TRUE(helper.memory.empty());
}

// A PE file's first bytes: "MZ", the header's offset at 0x3C, and there
// "PE\0\0" and the machine.
std::vector<uint8_t> PeHeader(uint32_t offset, uint16_t machine, size_t size) {
  std::vector<uint8_t> bytes(size);
  if (size >= 2) bytes[0] = 'M', bytes[1] = 'Z';
  if (size >= 0x40) StoreU32(bytes.data() + 0x3C, offset);
  if (size >= size_t(offset) + 6) {
    std::memcpy(bytes.data() + offset, "PE\0\0", 4);
    bytes[offset + 4] = uint8_t(machine), bytes[offset + 5] = uint8_t(machine >> 8);
  }
  return bytes;
}

TEST(PluginDiscovery, ReadsTheMachineFromThePeHeader) {
  struct Case {
    uint32_t offset;
    uint16_t machine;
    size_t size;
    PluginMachine expected;
  };
  // x64, i386 (header ending at the last byte), ARM64; too short for the
  // offset, for the header; an offset past the end, at the very end.
  for (const Case& c : {Case{0x80, 0x8664, 0x200, PluginMachine::kX64}, Case{0x80, 0x014C, 0x86, PluginMachine::kI386},
                        Case{0xF8, 0xAA64, 0x200, PluginMachine::kOther}, Case{0x80, 0x8664, 0x3F, PluginMachine::kNone},
                        Case{0x80, 0x8664, 0x85, PluginMachine::kNone},
                        Case{0xFFFFFFF0u, 0x8664, 0x200, PluginMachine::kNone},
                        Case{0x200, 0x8664, 0x200, PluginMachine::kNone}}) {
    const std::vector<uint8_t> bytes = PeHeader(c.offset, c.machine, c.size);
    EXPECT_EQ(PluginMachineOf(bytes.data(), bytes.size()), c.expected) << c.offset << " " << c.machine << " " << c.size;
  }
  const std::string text(100, 'x');
  EXPECT_EQ(PluginMachineOf(reinterpret_cast<const uint8_t*>(text.data()), text.size()), PluginMachine::kNone);
}

TEST(PluginDiscovery, EachMachineIsAskedByItsOwnHelperAndKeepsTheFolderOrder) {
  const std::vector<PluginFile> files = {
      {"a.spi", 1, 1, PluginMachine::kI386},    {"b.spi", 2, 2, PluginMachine::kX64},
      {"arm.spi", 3, 3, PluginMachine::kOther}, {"c.spi", 4, 4, PluginMachine::kI386},
      {"text.spi", 5, 5, PluginMachine::kNone}};
  FakeHelper helper;
  PluginTable table;
  DiscoverPluginFiles(table, files, AskFake, &helper, MemoryOf(helper));
  EXPECT_EQ(NamesIn(table), (Names{"a.spi", "b.spi", "c.spi"}));
  EXPECT_EQ(table.entries[0].machine, PluginMachine::kI386);
  EXPECT_EQ(table.entries[1].machine, PluginMachine::kX64);
  EXPECT_EQ(helper.runs, (std::vector<Names>{{"b.spi"}, {"a.spi", "c.spi"}}));
  EXPECT_TRUE(helper.memory.empty());

  // A system that cannot start the 32-bit helper: its plug-ins are left out
  // with that reason, the others stay.
  helper = FakeHelper();
  helper.runs32 = false;
  table = PluginTable();
  DiscoverPluginFiles(table, files, AskFake, &helper, MemoryOf(helper));
  EXPECT_EQ(NamesIn(table), (Names{"b.spi"}));
  EXPECT_EQ(helper.memory, (std::map<std::string, std::string>{
                               {"a.spi", "1,1," + std::string(kPluginHelperCannotStart)},
                               {"c.spi", "4,4," + std::string(kPluginHelperCannotStart)}}));
}

TEST(PluginDiscovery, SearchesOnlyFullFolderPathsThatFit) {
  for (const char* folder : {"C:\\Vitrelle", "d:\\", "\\\\server\\share\\Vitrelle"})
    EXPECT_TRUE(IsPluginFolder(folder)) << folder;
  for (const char* folder : {"", "Vitrelle", ".", "\\Vitrelle", "C:"}) EXPECT_FALSE(IsPluginFolder(folder)) << folder;
  const std::string fits = "C:\\" + std::string(kMaxPluginPathLength - 9, 'x');
  EXPECT_TRUE(IsPluginFolder(fits));
  EXPECT_FALSE(IsPluginFolder(fits + "x"));
}

TEST(PluginDiscovery, ReplyKeepsWholeRecordsOnly) {
  const PluginAnswers first{"00IN", {{"*.png", "PNG Files"}, {"", "No pattern"}}};
  const PluginAnswers second{"", {}};
  std::vector<uint8_t> reply = EncodePluginAnswers(first);
  const std::vector<uint8_t> more = EncodePluginAnswers(second);
  reply.insert(reply.end(), more.begin(), more.end());
  const std::vector<PluginAnswers> both = DecodePluginAnswers(reply.data(), reply.size());
  ASSERT_EQ(both.size(), 2u);
  EXPECT_EQ(both[0].version, "00IN");
  EXPECT_EQ(both[0].formats, first.formats);
  EXPECT_EQ(both[1].version, "");

  // Cut anywhere inside the second record: the first alone.
  for (size_t cut = reply.size() - more.size(); cut < reply.size(); ++cut)
    EXPECT_EQ(DecodePluginAnswers(reply.data(), cut).size(), 1u) << cut;

  // Sizes that promise more than there is, or more than an answer may hold.
  struct Damage {
    size_t at;
    uint32_t value;
  };
  for (const Damage& damage : {Damage{4, 0}, Damage{4, 2}, Damage{4, 0xFFFFFFFFu}, Damage{8, 0xFFFFFFF0u},
                               Damage{8, kPluginInfoSize}, Damage{12 + 4, 0x7FFFFFFFu}}) {
    std::vector<uint8_t> bad = EncodePluginAnswers(first);
    StoreU32(bad.data() + damage.at, damage.value);
    EXPECT_TRUE(DecodePluginAnswers(bad.data(), bad.size()).empty()) << damage.at << " " << damage.value;
  }
}

}  // namespace
