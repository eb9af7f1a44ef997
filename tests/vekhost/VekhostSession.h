// vekhost's session played in process: the plug-in loaded into the simulated
// host, a small drawing placed, and a script's events played through the
// Session that vekhost runs, its transcript kept.
#ifndef TRISPAN_TESTS_VEKHOSTSESSION_H
#define TRISPAN_TESTS_VEKHOSTSESSION_H

#include "PluginSession.h"
#include "Session.h"

#include <sstream>

// The drawing: the box's three dimensions, a diameter, a general note whose
// text shows the diameter code, another note and an element.
vekhost::Drawing TestDrawing();

// The settings dialog's form as the session shows it, all defaults.
extern const char kForm[];

class VekhostSessionTest : public PluginTest {
protected:
  void SetUp() override;
  // Starts the command and plays the script's lines; the whole transcript.
  std::string Play(const std::string& script, bool journal = false);
  bool SettingsLost() const { return settingsLost_; }

  vekhost::Drawing drawing_;

private:
  bool settingsLost_ = false;
};

#endif
