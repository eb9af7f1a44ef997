// The registry as the tests see it, through the Win32 calls on both builds:
// the real registry of the Wine prefix on Windows, the stand-in on Linux.
#ifndef TRISPAN_TESTS_TESTREGISTRY_H
#define TRISPAN_TESTS_TESTREGISTRY_H

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace testreg {

using Bytes = std::vector<uint8_t>;

// The settings key, "SOFTWARE\Quorvane\VEK\TriSpan", as the tests expect it
// to be.
extern const char16_t kSettingsKey[];

inline LPCWSTR W(const char16_t* text) { return reinterpret_cast<LPCWSTR>(text); }
inline LPCWSTR W(const std::u16string& text) { return W(text.c_str()); }

// Starts from a registry without the settings key (Linux: a new, empty file).
void Reset();
// The text's UTF-16 bytes, and its NUL when withNul.
Bytes TextBytes(const std::u16string& text, bool withNul = true);
void SetValue(const std::u16string& name, DWORD type, const Bytes& data);
void SetText(const std::u16string& name, const std::u16string& text);
// False when the value is missing.
bool GetValue(const std::u16string& name, DWORD& type, Bytes& data);
// A REG_SZ value's text without its NUL; fails the test for anything else.
std::u16string GetText(const std::u16string& name);
void DeleteValue(const std::u16string& name);
// The value names in the order the registry enumerates them.
std::vector<std::u16string> ValueNames();

} // namespace testreg

// Each test starts without the settings key.
class RegistryTest : public testing::Test {
protected:
  void SetUp() override { testreg::Reset(); }
};

#endif
