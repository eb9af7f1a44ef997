// Any settings file: it is read or refused with a reason, never crashes; a
// file that was read is written back in a form that reads back the same.
#include "RegFile.h"

#include <cstdlib>

using regfile::RegKey;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  RegKey root;
  std::string error;
  std::string bytes(reinterpret_cast<const char*>(data), size);
  if (!regfile::ParseRegFile(bytes, root, error)) {
    if (error.empty()) std::abort(); // a refusal always says why
    return 0;
  }
  std::string written = regfile::WriteRegFile(root);
  RegKey again;
  if (!regfile::ParseRegFile(written, again, error)) std::abort();
  if (regfile::WriteRegFile(again) != written) std::abort();
  return 0;
}
