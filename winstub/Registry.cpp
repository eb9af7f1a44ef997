// The registry functions of windows.h over a tree of RegFile.h, with the
// results Windows gives: sizes in bytes, ERROR_MORE_DATA with the size needed,
// a value's type and data kept exactly as set.
#include "RegFile.h"
#include "WinStub.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

namespace winstub {
namespace {

using regfile::ParseRegFile;
using regfile::RegKey;
using regfile::RegValue;
using regfile::SameName;
using regfile::WriteRegFile;

struct Registry {
  std::string file;
  std::string error;
  std::string saveError; // why the last failed write failed
  int failedSaves = 0;
  bool loaded = false;
  bool broken = false;
  bool memoryOnly = false;
  unsigned failures = 0;
  WinStubQueryHook queryHook = nullptr;
  void* queryContext = nullptr;
  RegKey root;
  std::map<uintptr_t, std::shared_ptr<RegKey>> handles;
  uintptr_t nextHandle = 0x1000;
};

Registry& State() {
  static Registry registry;
  return registry;
}

std::string DefaultFile() {
  if (const char* path = std::getenv("WINSTUB_REGISTRY"); path && *path) return path;
  std::string base;
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config)
    base = config;
  else if (const char* home = std::getenv("HOME"); home && *home)
    base = std::string(home) + "/.config";
  else
    base = ".";
  return base + "/vekhost/registry.reg";
}

// The file's bytes; false with the reason when it is no file or unreadable.
bool ReadWhole(const std::string& path, std::string& bytes, std::string& error) {
  std::error_code code;
  if (std::filesystem::is_directory(path, code)) {
    error = path + ": is a folder, not a file";
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  try {
    if (in) bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  } catch (const std::exception&) { // the stream buffer throws on a failed read
    in.setstate(std::ios::badbit);
  }
  if (!in || in.bad()) {
    error = path + ": cannot be read: " + std::strerror(errno);
    return false;
  }
  return true;
}

// Reads the file once; a missing file is an empty registry.
bool Load() {
  Registry& r = State();
  if (r.loaded) return !r.broken;
  r.loaded = true;
  if (r.memoryOnly) return true;
  if (r.file.empty()) r.file = DefaultFile();
  std::error_code ignored;
  if (!std::filesystem::exists(r.file, ignored)) return true;
  std::string bytes;
  if (!ReadWhole(r.file, bytes, r.error)) {
    r.broken = true;
    return false;
  }
  RegKey parsed;
  if (!ParseRegFile(bytes, parsed, r.error)) {
    r.error = r.file + ":" + r.error;
    r.broken = true;
    return false;
  }
  r.root = std::move(parsed);
  return true;
}

// Writes the whole registry, through a temporary file so that a failed write
// never leaves half a file.
bool Save() {
  Registry& r = State();
  if (r.memoryOnly) return true;
  std::error_code ignored;
  std::filesystem::path path(r.file);
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ignored);
  std::string temporary = r.file + ".new";
  bool written = false;
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    std::string bytes = WriteRegFile(r.root);
    written = out.write(bytes.data(), std::streamsize(bytes.size())) && out.flush();
  }
  if (written && std::rename(temporary.c_str(), r.file.c_str()) == 0) return true;
  r.saveError = r.file + ": cannot be written: " + std::strerror(errno);
  ++r.failedSaves;
  std::remove(temporary.c_str());
  return false;
}

std::shared_ptr<RegKey> KeyOf(HKEY handle) {
  Registry& r = State();
  if (handle == HKEY_CURRENT_USER) return std::shared_ptr<RegKey>(&r.root, [](RegKey*) {});
  auto it = r.handles.find(reinterpret_cast<uintptr_t>(handle));
  return it == r.handles.end() ? nullptr : it->second;
}

HKEY NewHandle(std::shared_ptr<RegKey> key) {
  Registry& r = State();
  uintptr_t id = r.nextHandle++;
  r.handles[id] = std::move(key);
  return reinterpret_cast<HKEY>(id);
}

std::u16string Text(LPCWSTR text) { return text ? std::u16string(text) : std::u16string(); }

std::vector<std::u16string> PathParts(LPCWSTR subKey) {
  std::vector<std::u16string> parts;
  std::u16string path = Text(subKey);
  size_t start = 0;
  while (start < path.size()) {
    size_t end = path.find(u'\\', start);
    if (end == std::u16string::npos) end = path.size();
    if (end > start) parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

// Common start of every call: the registry is readable and the handle known.
LONG Enter(HKEY handle, std::shared_ptr<RegKey>& key) {
  if (!Load()) return ERROR_BADDB;
  key = KeyOf(handle);
  return key ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LONG QueryValue(HKEY handle, LPCWSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                LPDWORD size) {
  std::shared_ptr<RegKey> key;
  if (LONG status = Enter(handle, key)) return status;
  if (reserved || (data && !size)) return ERROR_INVALID_PARAMETER;
  if (State().failures & WINSTUB_FAIL_QUERY) return ERROR_ACCESS_DENIED;
  RegValue* value = key->FindValue(Text(name));
  if (!value) return ERROR_FILE_NOT_FOUND;
  if (type) *type = value->type;
  DWORD needed = DWORD(value->data.size());
  if (!size) return ERROR_SUCCESS;
  if (data && *size < needed) {
    *size = needed;
    return ERROR_MORE_DATA;
  }
  if (data && needed) std::memcpy(data, value->data.data(), needed);
  *size = needed;
  return ERROR_SUCCESS;
}

} // namespace
} // namespace winstub

using namespace winstub;

extern "C" {

void WinStubSetRegistryFile(const char* path) {
  Registry& r = State();
  r.file = path ? path : "";
  r.memoryOnly = path == nullptr;
  r.error.clear();
  r.loaded = r.broken = false;
  r.root = RegKey();
  r.handles.clear();
}

const char* WinStubRegistryFile(void) {
  Registry& r = State();
  if (r.memoryOnly) return "";
  if (r.file.empty()) r.file = DefaultFile();
  return r.file.c_str();
}

const char* WinStubRegistryError(void) {
  Load();
  return State().error.c_str();
}

void WinStubSetRegistryFailures(unsigned flags) { State().failures = flags; }

int WinStubOpenKeyCount(void) { return int(State().handles.size()); }

int WinStubFailedSaves(void) { return State().failedSaves; }

const char* WinStubSaveError(void) { return State().saveError.c_str(); }

void WinStubSetQueryHook(WinStubQueryHook hook, void* context) {
  State().queryHook = hook;
  State().queryContext = context;
}

LONG RegOpenKeyExW(HKEY root, LPCWSTR subKey, DWORD, REGSAM, PHKEY result) {
  if (!result) return ERROR_INVALID_PARAMETER;
  std::shared_ptr<RegKey> key;
  if (LONG status = Enter(root, key)) return status;
  if (State().failures & WINSTUB_FAIL_OPEN) return ERROR_ACCESS_DENIED;
  for (const auto& part : PathParts(subKey)) {
    key = key->FindSubkey(part);
    if (!key) return ERROR_FILE_NOT_FOUND;
  }
  *result = NewHandle(key);
  return ERROR_SUCCESS;
}

LONG RegCreateKeyExW(HKEY root, LPCWSTR subKey, DWORD reserved, LPWSTR, DWORD, REGSAM,
                     LPSECURITY_ATTRIBUTES, PHKEY result, LPDWORD disposition) {
  if (reserved) return ERROR_INVALID_PARAMETER;
  if (!result) return ERROR_INVALID_PARAMETER;
  std::shared_ptr<RegKey> key;
  if (LONG status = Enter(root, key)) return status;
  if (State().failures & WINSTUB_FAIL_CREATE) return ERROR_ACCESS_DENIED;
  bool created = false;
  for (const auto& part : PathParts(subKey)) {
    auto sub = key->FindSubkey(part);
    if (!sub) {
      sub = std::make_shared<RegKey>();
      sub->name = part;
      key->subkeys.push_back(sub);
      created = true;
    }
    key = sub;
  }
  if (created && !Save()) return ERROR_WRITE_FAULT;
  if (disposition) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
  *result = NewHandle(key);
  return ERROR_SUCCESS;
}

LONG RegQueryValueExW(HKEY handle, LPCWSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                      LPDWORD size) {
  LONG status = QueryValue(handle, name, reserved, type, data, size);
  Registry& r = State();
  if (r.queryHook) r.queryHook(handle, r.queryContext);
  return status;
}

LONG RegSetValueExW(HKEY handle, LPCWSTR name, DWORD reserved, DWORD type, const BYTE* data,
                    DWORD size) {
  std::shared_ptr<RegKey> key;
  if (LONG status = Enter(handle, key)) return status;
  if (reserved || (size && !data)) return ERROR_INVALID_PARAMETER;
  if (State().failures & WINSTUB_FAIL_SET) return ERROR_ACCESS_DENIED;
  RegValue value{Text(name), type, std::vector<uint8_t>(data, data + size)};
  if (RegValue* old = key->FindValue(value.name))
    old->type = type, old->data = value.data;
  else
    key->values.push_back(value);
  return Save() ? ERROR_SUCCESS : ERROR_WRITE_FAULT;
}

LONG RegEnumValueW(HKEY handle, DWORD index, LPWSTR name, LPDWORD nameUnits, LPDWORD reserved,
                   LPDWORD type, LPBYTE data, LPDWORD size) {
  std::shared_ptr<RegKey> key;
  if (LONG status = Enter(handle, key)) return status;
  if (reserved || !name || !nameUnits || (data && !size)) return ERROR_INVALID_PARAMETER;
  if (index >= key->values.size()) return ERROR_NO_MORE_ITEMS;
  const RegValue& value = key->values[index];
  if (*nameUnits <= value.name.size()) return ERROR_MORE_DATA;
  std::memcpy(name, value.name.c_str(), (value.name.size() + 1) * sizeof(char16_t));
  *nameUnits = DWORD(value.name.size());
  if (type) *type = value.type;
  if (!size) return ERROR_SUCCESS;
  DWORD needed = DWORD(value.data.size());
  if (data && *size < needed) {
    *size = needed;
    return ERROR_MORE_DATA;
  }
  if (data && needed) std::memcpy(data, value.data.data(), needed);
  *size = needed;
  return ERROR_SUCCESS;
}

LONG RegDeleteValueW(HKEY handle, LPCWSTR name) {
  std::shared_ptr<RegKey> key;
  if (LONG status = Enter(handle, key)) return status;
  for (size_t i = 0; i < key->values.size(); ++i) {
    if (SameName(key->values[i].name, Text(name))) {
      key->values.erase(key->values.begin() + i);
      return Save() ? ERROR_SUCCESS : ERROR_WRITE_FAULT;
    }
  }
  return ERROR_FILE_NOT_FOUND;
}

LONG RegDeleteTreeW(HKEY handle, LPCWSTR subKey) {
  std::shared_ptr<RegKey> key;
  if (LONG status = Enter(handle, key)) return status;
  std::vector<std::u16string> parts = PathParts(subKey);
  if (parts.empty()) {
    key->values.clear();
    key->subkeys.clear();
    return Save() ? ERROR_SUCCESS : ERROR_WRITE_FAULT;
  }
  std::u16string leaf = parts.back();
  parts.pop_back();
  for (const auto& part : parts) {
    key = key->FindSubkey(part);
    if (!key) return ERROR_FILE_NOT_FOUND;
  }
  for (size_t i = 0; i < key->subkeys.size(); ++i) {
    if (SameName(key->subkeys[i]->name, leaf)) {
      key->subkeys.erase(key->subkeys.begin() + i);
      return Save() ? ERROR_SUCCESS : ERROR_WRITE_FAULT;
    }
  }
  return ERROR_FILE_NOT_FOUND;
}

LONG RegCloseKey(HKEY handle) {
  if (handle == HKEY_CURRENT_USER) return ERROR_SUCCESS;
  return State().handles.erase(reinterpret_cast<uintptr_t>(handle)) ? ERROR_SUCCESS
                                                                    : ERROR_INVALID_HANDLE;
}

} // extern "C"
