// Reading and writing the registry editor's export files (.reg) over an in-memory hive.
#pragma once

#include <cstddef>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/registry.h"
#include "platform/sim/registry_tree.h"

namespace platform::sim {

// "REGEDIT4": 8-bit texts, written as UTF-8. "Windows Registry Editor Version 5.00": UTF-16LE with
// a byte-order mark; the bytes of hex(1), hex(2) and hex(7) values are UTF-16LE in the file.
enum class RegFileFormat { Regedit4, Version5 };

// Larger files are refused before they are read.
constexpr std::size_t kMaxRegFileBytes = 64u * 1024 * 1024;

// A malformed or unreadable file. what() names the file and, where one is to blame, the line:
// "registry.reg, line 42: bad hex byte \"zz\"".
class RegFileError : public std::runtime_error {
 public:
  RegFileError(const std::string& source, int line, const std::string& problem);

  int line() const { return line_; }  // 0 when the whole file is at fault

 private:
  int line_;
};

// The root's name as files write it ("HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER").
std::string_view rootName(RegRoot root);

// Applies a .reg file to `hive`, the root key of `root`: key lines create keys, "[-...]" lines
// delete key trees, value lines set or ("=-") delete values. Every key must lie under `root`
// (full or short name, any letter case). The whole file is checked first: on a RegFileError
// the hive is left as it was. `source` names the file in messages. Returns the file's format.
RegFileFormat importRegFile(std::string_view bytes, std::string_view source, RegRoot root,
                            RegistryKey& hive);
RegFileFormat importRegFile(const std::filesystem::path& file, RegRoot root, RegistryKey& hive);

// The registry editor's export of `key` with everything below it: header, then each key as
// "[keyPath\...]" with its values (in their order) and an empty line, subkeys sorted as the
// registry lists them, CRLF line ends. `keyPath` is the key's full name with its root
// ("HKEY_LOCAL_MACHINE\\SYSTEM\\..."). Returns the file's bytes in the chosen format.
std::string exportRegFile(const RegistryKey& key, std::string_view keyPath, RegFileFormat format);

}  // namespace platform::sim
