#include "TestRegistry.h"

#ifndef _WIN32
#include "WinStub.h"

#include <filesystem>
#endif

namespace testreg {

const char16_t kSettingsKey[] = u"SOFTWARE\\Quorvane\\VEK\\TriSpan";

namespace {

HKEY OpenSettings(bool create) {
  HKEY key = nullptr;
  LONG status = create ? RegCreateKeyExW(HKEY_CURRENT_USER, W(kSettingsKey), 0, nullptr, 0,
                                         KEY_ALL_ACCESS, nullptr, &key, nullptr)
                       : RegOpenKeyExW(HKEY_CURRENT_USER, W(kSettingsKey), 0, KEY_ALL_ACCESS, &key);
  return status == ERROR_SUCCESS ? key : nullptr;
}

#ifndef _WIN32
// A folder of this test program's own for its registry file, removed with
// everything in it when the tests end.
class RegistryFolder : public testing::Environment {
public:
  static const std::string& Path() {
    static std::string path = [] {
      std::string pattern = testing::TempDir() + "trispan-registry-XXXXXX";
      return std::string(mkdtemp(pattern.data()) ? pattern.c_str() : ".");
    }();
    return path;
  }
  void TearDown() override {
    WinStubSetRegistryFile(nullptr);
    std::error_code ignored;
    std::filesystem::remove_all(Path(), ignored);
  }
};
testing::Environment* const kRegistryFolder = testing::AddGlobalTestEnvironment(new RegistryFolder);
#endif

} // namespace

void Reset() {
#ifdef _WIN32
  RegDeleteTreeW(HKEY_CURRENT_USER, W(kSettingsKey));
#else
  std::string file = RegistryFolder::Path() + "/registry.reg";
  std::remove(file.c_str());
  WinStubSetRegistryFile(file.c_str());
  WinStubSetRegistryFailures(0);
#endif
}

Bytes TextBytes(const std::u16string& text, bool withNul) {
  Bytes bytes;
  for (char16_t c : text) bytes.insert(bytes.end(), {uint8_t(c), uint8_t(c >> 8)});
  if (withNul) bytes.insert(bytes.end(), {0, 0});
  return bytes;
}

void SetValue(const std::u16string& name, DWORD type, const Bytes& data) {
  HKEY key = OpenSettings(true);
  ASSERT_NE(key, nullptr);
  // Windows adds a NUL to a text whose count leaves it out when the unit
  // just past the data is one: what follows the data here never is.
  Bytes padded = data;
  padded.insert(padded.end(), {0xFF, 0xFF});
  EXPECT_EQ(RegSetValueExW(key, W(name), 0, type, padded.data(), DWORD(data.size())),
            ERROR_SUCCESS);
  RegCloseKey(key);
}

void SetText(const std::u16string& name, const std::u16string& text) {
  SetValue(name, REG_SZ, TextBytes(text));
}

bool GetValue(const std::u16string& name, DWORD& type, Bytes& data) {
  HKEY key = OpenSettings(false);
  if (!key) return false;
  DWORD size = 0;
  bool found = RegQueryValueExW(key, W(name), nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
  data.assign(size, 0);
  if (found && size)
    found = RegQueryValueExW(key, W(name), nullptr, &type, data.data(), &size) == ERROR_SUCCESS;
  RegCloseKey(key);
  return found;
}

std::u16string GetText(const std::u16string& name) {
  DWORD type = 0;
  Bytes data;
  if (!GetValue(name, type, data)) {
    ADD_FAILURE() << "no value";
    return u"";
  }
  EXPECT_EQ(type, DWORD(REG_SZ));
  // A REG_SZ with its NUL: whole units, the last one 0.
  EXPECT_GE(data.size(), 2u);
  EXPECT_EQ(data.size() % 2, 0u);
  if (data.size() < 2) return u"";
  EXPECT_EQ(data[data.size() - 1] | data[data.size() - 2], 0) << "the last unit";
  std::u16string text;
  for (size_t i = 0; i + 3 < data.size(); i += 2) // every unit but the NUL
    text.push_back(char16_t(data[i] | data[i + 1] << 8));
  return text;
}

void DeleteValue(const std::u16string& name) {
  HKEY key = OpenSettings(false);
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(RegDeleteValueW(key, W(name)), ERROR_SUCCESS);
  RegCloseKey(key);
}

std::vector<std::u16string> ValueNames() {
  std::vector<std::u16string> names;
  HKEY key = OpenSettings(false);
  if (!key) return names;
  for (DWORD i = 0;; ++i) {
    char16_t name[256];
    DWORD units = 256;
    if (RegEnumValueW(key, i, reinterpret_cast<LPWSTR>(name), &units, nullptr, nullptr, nullptr,
                      nullptr) != ERROR_SUCCESS)
      break;
    names.emplace_back(name, units);
  }
  RegCloseKey(key);
  return names;
}

} // namespace testreg
