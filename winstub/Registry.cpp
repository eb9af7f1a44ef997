// The registry functions of windows.h over the keys of RegistryState.h, with
// the results Windows gives: sizes in bytes, ERROR_MORE_DATA with the size
// needed, a value's type and data kept exactly as set. A change is seen at
// once by every handle of the process; the file gets it at the next flush.
#include "RegistryState.h"

#include <cstring>

namespace winstub {

using regfile::RegKey;
using regfile::RegValue;
using regfile::SameName;

namespace {

// The key at path, made with every missing key on the way.
std::shared_ptr<RegKey> MakeKey(RegKey& root, const KeyPath& path) {
  std::shared_ptr<RegKey> key(&root, [](RegKey*) {});
  for (const std::u16string& name : path) {
    std::shared_ptr<RegKey> sub = key->FindSubkey(name);
    if (!sub) {
      sub = std::make_shared<RegKey>();
      sub->name = name;
      key->subkeys.push_back(sub);
    }
    key = sub;
  }
  return key;
}

std::shared_ptr<RegKey> FindIn(RegKey& root, const KeyPath& path) {
  std::shared_ptr<RegKey> key(&root, [](RegKey*) {});
  for (const std::u16string& name : path)
    if (!(key = key->FindSubkey(name))) return nullptr;
  return key;
}

template <typename Items, typename Name>
void EraseNamed(Items& items, const std::u16string& name, Name nameOf) {
  for (size_t i = 0; i < items.size(); ++i)
    if (SameName(nameOf(items[i]), name)) items.erase(items.begin() + long(i--));
}

std::u16string Text(LPCWSTR text) { return text ? std::u16string(text) : std::u16string(); }

KeyPath PathParts(LPCWSTR subKey) {
  KeyPath parts;
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

HKEY NewHandle(const KeyPath& path) {
  Registry& r = State();
  uintptr_t id = r.nextHandle++;
  r.handles[id] = path;
  return reinterpret_cast<HKEY>(id);
}

// Common start of every call: the registry is readable and the handle's key
// is there; its path and the key.
LONG Enter(HKEY handle, KeyPath& path, std::shared_ptr<RegKey>& key) {
  if (!Load()) return ERROR_BADDB;
  Registry& r = State();
  if (handle != HKEY_CURRENT_USER) {
    auto it = r.handles.find(reinterpret_cast<uintptr_t>(handle));
    if (it == r.handles.end()) return ERROR_INVALID_HANDLE;
    path = it->second;
  }
  key = FindKey(path);
  return key ? ERROR_SUCCESS : ERROR_KEY_DELETED;
}

// Copies a value's data as the query calls do.
LONG CopyData(const RegValue& value, LPDWORD type, LPBYTE data, LPDWORD size) {
  if (type) *type = value.type;
  DWORD needed = DWORD(value.data.size());
  if (!size) return ERROR_SUCCESS;
  if (data && *size < needed) {
    *size = needed;
    return ERROR_MORE_DATA;
  }
  if (data && needed) std::memcpy(data, value.data.data(), needed);
  *size = needed;
  return ERROR_SUCCESS;
}

LONG QueryValue(HKEY handle, LPCWSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                LPDWORD size) {
  KeyPath path;
  std::shared_ptr<RegKey> key;
  if (LONG status = Enter(handle, path, key)) return status;
  if (reserved || (data && !size)) return ERROR_INVALID_PARAMETER;
  if (State().failures & WINSTUB_FAIL_QUERY) return ERROR_ACCESS_DENIED;
  RegValue* value = key->FindValue(Text(name));
  return value ? CopyData(*value, type, data, size) : ERROR_FILE_NOT_FOUND;
}

} // namespace

std::shared_ptr<RegKey> FindKey(const KeyPath& path) { return FindIn(State().root, path); }

void Apply(RegKey& root, const Change& change) {
  switch (change.kind) {
  case Change::CreateKey:
    MakeKey(root, change.path);
    break;
  case Change::SetValue: {
    std::shared_ptr<RegKey> key = MakeKey(root, change.path);
    if (RegValue* old = key->FindValue(change.value.name))
      old->type = change.value.type, old->data = change.value.data;
    else
      key->values.push_back(change.value);
    break;
  }
  case Change::DeleteValue:
    if (std::shared_ptr<RegKey> key = FindIn(root, change.path))
      EraseNamed(key->values, change.value.name, [](const RegValue& v) { return v.name; });
    break;
  case Change::ClearKey:
    if (std::shared_ptr<RegKey> key = FindIn(root, change.path)) key->values.clear(), key->subkeys.clear();
    break;
  case Change::DeleteKey: {
    KeyPath parent(change.path.begin(), change.path.end() - 1);
    if (std::shared_ptr<RegKey> key = FindIn(root, parent))
      EraseNamed(key->subkeys, change.path.back(), [](const auto& sub) { return sub->name; });
    break;
  }
  }
}

} // namespace winstub

using namespace winstub;

void WinStubSetFiles(files::Files* files) { State().files = files; }

extern "C" {

LONG RegOpenKeyExW(HKEY root, LPCWSTR subKey, DWORD, REGSAM, PHKEY result) {
  if (!result) return ERROR_INVALID_PARAMETER;
  KeyPath path;
  std::shared_ptr<RegKey> key;
  if (LONG status = Enter(root, path, key)) return status;
  if (State().failures & WINSTUB_FAIL_OPEN) return ERROR_ACCESS_DENIED;
  for (const std::u16string& part : PathParts(subKey)) {
    if (!(key = key->FindSubkey(part))) return ERROR_FILE_NOT_FOUND;
    path.push_back(key->name);
  }
  *result = NewHandle(path);
  return ERROR_SUCCESS;
}

LONG RegCreateKeyExW(HKEY root, LPCWSTR subKey, DWORD reserved, LPWSTR, DWORD, REGSAM,
                     LPSECURITY_ATTRIBUTES, PHKEY result, LPDWORD disposition) {
  if (reserved || !result) return ERROR_INVALID_PARAMETER;
  KeyPath path;
  std::shared_ptr<RegKey> key;
  if (LONG status = Enter(root, path, key)) return status;
  if (State().failures & WINSTUB_FAIL_CREATE) return ERROR_ACCESS_DENIED;
  bool created = false;
  for (const std::u16string& part : PathParts(subKey)) {
    std::shared_ptr<RegKey> sub = key ? key->FindSubkey(part) : nullptr;
    path.push_back(sub ? sub->name : part);
    created |= !sub;
    key = sub;
  }
  if (created) Make(Change{Change::CreateKey, path, {}});
  if (disposition) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
  *result = NewHandle(path);
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
  KeyPath path;
  std::shared_ptr<RegKey> key;
  if (LONG status = Enter(handle, path, key)) return status;
  if (reserved || (size && !data)) return ERROR_INVALID_PARAMETER;
  if (State().failures & WINSTUB_FAIL_SET) return ERROR_ACCESS_DENIED;
  Make(Change{Change::SetValue, path, RegValue{Text(name), type, {data, data + size}}});
  return ERROR_SUCCESS;
}

LONG RegEnumValueW(HKEY handle, DWORD index, LPWSTR name, LPDWORD nameUnits, LPDWORD reserved,
                   LPDWORD type, LPBYTE data, LPDWORD size) {
  KeyPath path;
  std::shared_ptr<RegKey> key;
  if (LONG status = Enter(handle, path, key)) return status;
  if (reserved || !name || !nameUnits || (data && !size)) return ERROR_INVALID_PARAMETER;
  if (index >= key->values.size()) return ERROR_NO_MORE_ITEMS;
  const RegValue& value = key->values[index];
  if (*nameUnits <= value.name.size()) return ERROR_MORE_DATA;
  std::memcpy(name, value.name.c_str(), (value.name.size() + 1) * sizeof(char16_t));
  *nameUnits = DWORD(value.name.size());
  return CopyData(value, type, data, size);
}

LONG RegDeleteValueW(HKEY handle, LPCWSTR name) {
  KeyPath path;
  std::shared_ptr<RegKey> key;
  if (LONG status = Enter(handle, path, key)) return status;
  if (!key->FindValue(Text(name))) return ERROR_FILE_NOT_FOUND;
  Make(Change{Change::DeleteValue, path, RegValue{Text(name), 0, {}}});
  return ERROR_SUCCESS;
}

LONG RegDeleteTreeW(HKEY handle, LPCWSTR subKey) {
  KeyPath path;
  std::shared_ptr<RegKey> key;
  if (LONG status = Enter(handle, path, key)) return status;
  KeyPath parts = PathParts(subKey);
  if (parts.empty()) {
    Make(Change{Change::ClearKey, path, {}});
    return ERROR_SUCCESS;
  }
  for (const std::u16string& part : parts) {
    if (!(key = key->FindSubkey(part))) return ERROR_FILE_NOT_FOUND;
    path.push_back(key->name);
  }
  Make(Change{Change::DeleteKey, path, {}});
  return ERROR_SUCCESS;
}

LONG RegFlushKey(HKEY handle) {
  KeyPath path;
  std::shared_ptr<RegKey> key;
  if (LONG status = Enter(handle, path, key)) return status;
  return Flush() ? ERROR_SUCCESS : ERROR_WRITE_FAULT;
}

LONG RegCloseKey(HKEY handle) {
  if (handle == HKEY_CURRENT_USER) return ERROR_SUCCESS;
  return State().handles.erase(reinterpret_cast<uintptr_t>(handle)) ? ERROR_SUCCESS
                                                                    : ERROR_INVALID_HANDLE;
}

void WinStubSetRegistryFile(const char* path) {
  Registry& r = State();
  Registry fresh;
  fresh.file = path ? path : "";
  fresh.memoryOnly = path == nullptr;
  fresh.files = r.files;
  fresh.failures = r.failures;
  fresh.queryHook = r.queryHook;
  fresh.queryContext = r.queryContext;
  fresh.failedSaves = r.failedSaves;
  fresh.saveError = r.saveError;
  fresh.nextHandle = r.nextHandle;
  r = std::move(fresh);
}

const char* WinStubRegistryFile(void) {
  Registry& r = State();
  if (r.memoryOnly) return "";
  if (r.file.empty()) Load();
  return r.file.c_str();
}

const char* WinStubRegistryError(void) {
  Load();
  return State().error.c_str();
}

BOOL WinStubFlushRegistry(void) {
  if (!Load()) return FALSE;
  return Flush() ? TRUE : FALSE;
}

void WinStubSetRegistryFailures(unsigned flags) { State().failures = flags; }

int WinStubOpenKeyCount(void) { return int(State().handles.size()); }

int WinStubFailedSaves(void) { return State().failedSaves; }

const char* WinStubSaveError(void) { return State().saveError.c_str(); }

void WinStubSetQueryHook(WinStubQueryHook hook, void* context) {
  State().queryHook = hook;
  State().queryContext = context;
}

} // extern "C"
