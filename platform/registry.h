// The registry, as the program uses it: two roots, keys addressed by their path below the root.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

enum class RegRoot { LocalMachine, CurrentUser };

// Value kinds with the platform's numbers.
enum class RegKind : std::uint32_t {
  None = 0,
  String = 1,
  ExpandString = 2,
  Binary = 3,
  Dword = 4,
  DwordBigEndian = 5,
  Link = 6,
  MultiString = 7,
  ResourceList = 8,
  FullResourceDescriptor = 9,
  ResourceRequirementsList = 10,
  Qword = 11,
};

// `data` holds the bytes as the 8-bit interface returns them: a string or expandable string with
// its terminating zero, a multi-string as zero-terminated texts followed by one more zero, a
// double word as four little-endian bytes, anything else as stored.
struct RegValue {
  std::string name;  // empty for the key's default value
  RegKind kind = RegKind::None;
  std::string data;
};

// Paths use backslashes ("SYSTEM\\CurrentControlSet\\Services\\Tcpip"); key and value names are
// matched without regard to letter case, as the platform does. Texts are UTF-8.
class Registry {
 public:
  virtual ~Registry() = default;

  virtual bool keyExists(RegRoot root, const std::string& path) = 0;
  // Creates the key and any missing parent; true when it exists afterwards.
  virtual bool createKey(RegRoot root, const std::string& path) = 0;

  // The value's kind, or nothing when the key or the value does not exist.
  virtual std::optional<RegKind> valueKind(RegRoot root, const std::string& path,
                                           const std::string& name) = 0;
  // The text of a string or expandable string value (unexpanded, without its terminator).
  virtual std::optional<std::string> readText(RegRoot root, const std::string& path,
                                              const std::string& name) = 0;
  // Writes a string value into an existing key.
  virtual bool writeText(RegRoot root, const std::string& path, const std::string& name,
                         const std::string& value) = 0;
  // The raw bytes of any value; nothing when missing or larger than `maxBytes`.
  virtual std::optional<std::string> readBytes(RegRoot root, const std::string& path,
                                               const std::string& name, std::size_t maxBytes) = 0;

  virtual std::vector<std::string> subkeyNames(RegRoot root, const std::string& path) = 0;
  virtual std::vector<RegValue> values(RegRoot root, const std::string& path) = 0;

  // Deletes the key with everything below it.
  virtual bool deleteKeyTree(RegRoot root, const std::string& path) = 0;
};

}  // namespace platform
