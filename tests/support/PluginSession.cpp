#include "PluginSession.h"

#ifdef _WIN32
const char kPluginName[] = "TriSpan.dll";
#else
#include <unistd.h>
const char kPluginName[] = "TriSpan.so";
#endif

std::string PluginPath() {
  char path[4096] = {};
#ifdef _WIN32
  GetModuleFileNameA(nullptr, path, sizeof path - 1);
#else
  if (readlink("/proc/self/exe", path, sizeof path - 1) < 0) return kPluginName;
#endif
  std::string text = path;
  return text.substr(0, text.find_last_of("\\/") + 1) + kPluginName;
}

std::vector<std::string> Journal() {
  std::vector<std::string> entries;
  for (int32_t i = 0; i < SimJournalSize(); ++i) entries.push_back(SimJournalEntry(i));
  return entries;
}

std::vector<std::string> JournalOf(const std::string& function) {
  std::vector<std::string> entries;
  for (const std::string& entry : Journal())
    if (entry.compare(0, function.size() + 1, function + "(") == 0) entries.push_back(entry);
  return entries;
}

std::vector<std::string> JournalFrom(const std::string& prefix) {
  std::vector<std::string> entries = Journal();
  for (size_t i = 0; i < entries.size(); ++i)
    if (entries[i].compare(0, prefix.size(), prefix) == 0)
      return std::vector<std::string>(entries.begin() + i, entries.end());
  return {};
}

SimEvent Pick(VekElementId element, double x, double y) {
  return SimEvent{EVT_PICK, 1, x, y, element, 0, nullptr};
}

SimEvent DataPoint(double x, double y, VekElementId element) {
  return SimEvent{EVT_POINT, 1, x, y, element, 0, nullptr};
}

SimEvent Motion(double x, double y) { return SimEvent{EVT_POINT, 1, x, y, 0, 1, nullptr}; }

SimEvent Keyin(const char* text) { return SimEvent{EVT_KEYIN, 0, 0, 0, 0, 0, text}; }

SimEvent EndButton() { return SimEvent{EVT_END, 0, 0, 0, 0, 0, nullptr}; }

int32_t Send(const SimEvent& event) { return SimSendEvent(&event); }

VekElementId AddDimension(double measure, int32_t decimals, int32_t noteResult, const char* prefix,
                          const char* suffix, int32_t mark, int32_t type) {
  SimDimension dimension{type, measure, decimals, noteResult, prefix, suffix, mark};
  return SimAddDimension(&dimension);
}

void StartWith(const std::vector<std::pair<std::u16string, std::u16string>>& settings) {
  for (const auto& [name, text] : settings) testreg::SetText(name, text);
  EXPECT_EQ(SimStartCommand(), 0);
}

std::vector<SimNote> WrittenNotes() {
  std::vector<VekElementId> ids(SimListNotes(nullptr, 0));
  SimListNotes(ids.data(), int32_t(ids.size()));
  std::vector<SimNote> notes;
  for (VekElementId id : ids) {
    SimNote note{};
    if (SimGetNote(id, &note) == 0 && !note.preview) notes.push_back(note);
  }
  return notes;
}

std::string WrittenText() {
  std::vector<SimNote> notes = WrittenNotes();
  EXPECT_EQ(notes.size(), 1u) << "written notes";
  return notes.size() == 1 ? notes[0].text : "";
}

std::vector<std::string> Errors() {
  std::vector<std::string> errors;
  for (int32_t i = 0; i < SimErrorCount(); ++i) errors.push_back(SimError(i));
  return errors;
}

void PluginTest::SetUp() {
  RegistryTest::SetUp();
  SimReset();
  ASSERT_EQ(SimLoadPlugin(PluginPath().c_str()), 0) << SimLastError();
  SimJournalClear();
}

void PluginTest::TearDown() {
  EXPECT_EQ(SimProtocolFaultCount(), 0) << "the plug-in broke the ready/execute protocol";
  SimUnloadPlugin();
  SimReset();
}
