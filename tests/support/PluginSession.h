// Running the plug-in in the simulated host, as the tests do it.
#ifndef TRISPAN_TESTS_PLUGINSESSION_H
#define TRISPAN_TESTS_PLUGINSESSION_H

#include "SimHost.h"
#include "TestRegistry.h"

#include <ostream>
#include <string>
#include <vector>

// What a failing test prints of an event.
inline void PrintTo(const SimEvent& e, std::ostream* out) {
  *out << "event kind " << e.kind;
  if (e.hasPoint) *out << " at (" << e.x << ", " << e.y << ")";
  if (e.element) *out << " on element " << e.element;
  if (e.motion) *out << ", motion";
  if (e.keyin) *out << ", typed \"" << e.keyin << "\"";
}

// TriSpan.so or TriSpan.dll beside the test program.
std::string PluginPath();

// The journal, whole or the calls of one host function.
std::vector<std::string> Journal();
std::vector<std::string> JournalOf(const std::string& function);
// The journal from the first entry that starts with prefix (empty if none).
std::vector<std::string> JournalFrom(const std::string& prefix);

SimEvent Pick(VekElementId element, double x = 0, double y = 0);
SimEvent Motion(double x, double y);
SimEvent DataPoint(double x, double y, VekElementId element = 0);
SimEvent Keyin(const char* text);
SimEvent EndButton();
int32_t Send(const SimEvent& event);

// A dimension of the drawing (type 12 unless given).
VekElementId AddDimension(double measure, int32_t decimals = 0, int32_t noteResult = 0,
                          const char* prefix = nullptr, const char* suffix = nullptr,
                          int32_t mark = 0, int32_t type = 12);
// Stores settings texts, then starts the command.
void StartWith(const std::vector<std::pair<std::u16string, std::u16string>>& settings = {});
// The notes now in the drawing that are not previews.
std::vector<SimNote> WrittenNotes();
// The text of the one written note ("" and a failure when there is not one).
std::string WrittenText();
std::vector<std::string> Errors();

// Each test: an empty registry and drawing, the plug-in freshly loaded (so
// its globals are as at load) and the journal cleared after Startup.
class PluginTest : public RegistryTest {
protected:
  void SetUp() override;
  void TearDown() override;
};

#endif
