// The stand-in registry inside the process: HKEY_CURRENT_USER's keys, which
// every handle sees at once, the changes made since the last flush, and the
// file that keeps them between processes (RegistryFile.cpp).
#ifndef TRISPAN_WINSTUB_REGISTRYSTATE_H
#define TRISPAN_WINSTUB_REGISTRYSTATE_H

#include "Files.h"
#include "RegFile.h"
#include "WinStub.h"

#include <map>
#include <string>
#include <vector>

namespace winstub {

// A key's path below HKEY_CURRENT_USER, one name a step.
using KeyPath = std::vector<std::u16string>;

// A change this process made, applied to the keys at once and again to the
// file's keys when they are flushed: the last change to a value wins.
struct Change {
  enum Kind { CreateKey, SetValue, DeleteValue, ClearKey, DeleteKey } kind;
  KeyPath path;
  regfile::RegValue value; // SetValue: the value; DeleteValue: its name
};

struct Registry {
  std::string file;
  bool defaultFile = false; // the default's folder is created on first use
  bool memoryOnly = false;
  bool loaded = false;
  bool broken = false;        // the file could not be read: every call fails
  std::string error;          // why
  files::FileInfo seen;       // the file as last read or written
  regfile::RegKey root;       // the keys in force
  std::vector<Change> changes; // since the last flush
  bool dirty = false;          // changed since the last flush was tried
  int failedSaves = 0;
  std::string saveError; // why the last failed flush failed
  files::Files* files = nullptr; // null: the machine's own
  unsigned failures = 0;         // WINSTUB_FAIL_*
  WinStubQueryHook queryHook = nullptr;
  void* queryContext = nullptr;
  std::map<uintptr_t, KeyPath> handles; // an open key by its path
  uintptr_t nextHandle = 0x1000;
};

Registry& State();

// Reads the file the first time, and again whenever another process has
// replaced it (this process's unflushed changes stay on top); false when it
// cannot be read.
bool Load();
// Applies a change to a tree of keys.
void Apply(regfile::RegKey& root, const Change& change);
// Applies a change to the keys in force and keeps it for the next flush.
void Make(const Change& change);
// Writes the changes into the file: under a lock, the file read again, the
// changes applied to it, the file written whole. False, counted and said
// in saveError, when it cannot be done; the changes stay for the next try.
bool Flush();

// The key at path; null when there is none.
std::shared_ptr<regfile::RegKey> FindKey(const KeyPath& path);

} // namespace winstub

#endif
