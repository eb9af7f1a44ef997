// Registry files as regedit writes and reads them ("Windows Registry Editor
// Version 5.00", UTF-16LE with a byte-order mark): the tree of keys and
// values they hold, read from and written to their bytes. Used by the Linux
// registry stand-in, vekhost and the release's settings files.
#ifndef TRISPAN_REGFILE_REGFILE_H
#define TRISPAN_REGFILE_REGFILE_H

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace regfile {

struct RegValue {
  std::u16string name;
  uint32_t type = 0;
  std::vector<uint8_t> data;
};

struct RegKey {
  std::u16string name;
  std::vector<RegValue> values; // in the order they were created
  std::vector<std::shared_ptr<RegKey>> subkeys;

  // Key and value names compare without regard to ASCII case.
  std::shared_ptr<RegKey> FindSubkey(const std::u16string& subName) const;
  RegValue* FindValue(const std::u16string& valueName);
};

bool SameName(const std::u16string& a, const std::u16string& b);

// A text as regedit writes it in quotes: backslashes and quotes escaped.
std::u16string QuoteRegText(const std::u16string& text);

// A registry file's bytes: the header line, a blank line, then body (whose
// lines end in CRLF), as UTF-16LE with a byte-order mark.
std::string EncodeRegFile(const std::u16string& body);

// Parses a registry export into root (the HKEY_CURRENT_USER key). On a fault
// returns false and says where in error.
bool ParseRegFile(const std::string& bytes, RegKey& root, std::string& error);
// The registry export of root and every key below it, as UTF-16LE bytes.
std::string WriteRegFile(const RegKey& root);

} // namespace regfile

#endif
