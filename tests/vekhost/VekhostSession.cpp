#include "VekhostSession.h"

#include "DrawingFile.h"

vekhost::Drawing TestDrawing() {
  return vekhost::ParseDrawing(R"({
    "frames": {"figure": {"origin": [0, 0], "size": [297, 210]},
               "title": {"origin": [207, 0], "size": [90, 30]}},
    "dimensions": [
      {"name": "width", "type": 12, "measure": 100, "from": [20, 120], "to": [120, 120]},
      {"name": "length", "type": 13, "measure": 50, "from": [120, 120], "to": [120, 170]},
      {"name": "height", "type": 13, "measure": 20, "from": [150, 50], "to": [150, 70]},
      {"name": "bore", "type": 12, "measure": 30, "mark": 2, "from": [40, 20], "to": [70, 20]}],
    "notes": [{"name": "size", "at": [5, 8], "text": "SIZE: \u001c!", "frame": "title"},
              {"name": "label", "kind": 32, "at": [5, 20]}],
    "elements": [{"name": "edge", "type": 1, "from": [20, 50], "to": [120, 50]}]})",
                               "test.json");
}

const char kForm[] =
    "  dialog: 가로x세로x높이\n"
    "    round: 0=0 1=1 2=2 3=3 4=[치수값 그대로]\n"
    "    font: (*) font-external 외자등록 Ø사용 ( ) font-windows 윈도우 폰트 Ø사용\n"
    "    connector: \"X\"\n"
    "    width: \"4\"\n"
    "    height: \"4\"\n"
    "    pitch: \"0\"\n"
    "    x: \"1\"\n"
    "    y: \"0\"\n"
    "    frame-dim: 0=도형프레임으로 이동 1=표제프레임으로 이동 2=[현재프레임 그대로]\n"
    "    frame-char: 0=도형프레임으로 이동 1=[표제프레임으로 이동] 2=현재프레임 그대로\n"
    "    frame-cmd: 0=도형프레임으로 이동 1=표제프레임으로 이동 2=[프레임 원래대로]\n"
    "    prefix: \"\"\n"
    "    (dialog select LIST N, dialog click BUTTON, dialog type EDIT TEXT, dialog click ok or "
    "cancel)\n";

void VekhostSessionTest::SetUp() {
  PluginTest::SetUp();
  drawing_ = TestDrawing();
  vekhost::PlaceDrawing(drawing_);
}

std::string VekhostSessionTest::Play(const std::string& script, bool journal) {
  std::vector<vekhost::ScriptEvent> events;
  std::istringstream lines(script);
  for (std::string line; std::getline(lines, line);)
    if (auto event = vekhost::ParseEvent(line, drawing_, "test")) events.push_back(*event);
  std::ostringstream out;
  vekhost::Session session(drawing_, out, journal);
  session.Start();
  vekhost::ScriptSource source(std::move(events));
  session.Run(source);
  settingsLost_ = session.SettingsLost();
  return out.str();
}
