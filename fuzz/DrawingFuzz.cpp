// Any drawing file: vekhost reads it or refuses it with one InputError; no
// other exception, no crash, no leak, whatever the bytes.
#include "DrawingFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    vekhost::ParseDrawing(std::string(reinterpret_cast<const char*>(data), size), "fuzz.json");
  } catch (const vekhost::InputError&) {
  }
  return 0;
}
