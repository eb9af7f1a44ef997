// Any script: each line is an event, nothing, or one InputError naming its
// place; no other exception and no crash, whatever the bytes.
#include "DrawingFile.h"
#include "Script.h"

#include <sstream>

namespace {

const vekhost::Drawing& Box() {
  static const vekhost::Drawing drawing = vekhost::ParseDrawing(
      R"({"dimensions": [{"name": "width", "measure": 100}, {"name": "length", "measure": 50}],
          "notes": [{"name": "label", "text": "TBD"}]})",
      "box.json");
  return drawing;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::istringstream script(std::string(reinterpret_cast<const char*>(data), size));
  std::string line;
  for (int number = 1; std::getline(script, line); ++number) {
    try {
      if (auto event = vekhost::ParseEvent(line, Box(), "fuzz:" + std::to_string(number)))
        vekhost::ToSimEvent(*event, Box());
    } catch (const vekhost::InputError&) {
    }
  }
  return 0;
}
