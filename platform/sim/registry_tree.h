// An in-memory registry hive: keys with values and subkeys, names matched without regard to case.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/registry.h"

namespace platform::sim {

class RegistryKey {
 public:
  explicit RegistryKey(std::string name) : name_(std::move(name)) {}

  const std::string& name() const { return name_; }

  // The subkey at a backslash-separated relative path; null when any part is missing.
  RegistryKey* find(std::string_view path);
  const RegistryKey* find(std::string_view path) const;
  // The subkey at the path, created with its missing parents.
  RegistryKey& create(std::string_view path);
  // Removes a direct subkey with everything below it; false when there is none.
  bool removeChild(std::string_view name);

  const std::vector<std::unique_ptr<RegistryKey>>& children() const { return children_; }

  const RegValue* value(std::string_view name) const;
  // Sets a value, replacing one of the same name in place or appending it.
  void setValue(RegValue value);
  bool removeValue(std::string_view name);
  const std::vector<RegValue>& values() const { return values_; }

 private:
  RegistryKey* child(std::string_view name) const;

  struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const;
  };
  struct NameEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
  };

  std::string name_;
  std::vector<RegValue> values_;
  std::vector<std::unique_ptr<RegistryKey>> children_;
  // The children by name, so that a key with thousands of subkeys (Services) is searched at once.
  std::unordered_map<std::string, RegistryKey*, NameHash, NameEqual> childIndex_;
};

// Byte forms of values as the 8-bit interface returns them.
std::string stringData(std::string_view text);  // text + terminator
std::string multiStringData(const std::vector<std::string>& texts);
std::string dwordData(std::uint32_t value);
// Reading them back; a missing terminator is tolerated.
std::string textOfData(std::string_view data);
std::vector<std::string> textsOfMultiString(std::string_view data);
std::uint32_t dwordOfData(std::string_view data);

bool namesEqual(std::string_view a, std::string_view b);  // ASCII case-insensitive
// The order in which the registry lists subkeys: by name, ASCII letters compared as capitals.
bool namesLess(std::string_view a, std::string_view b);

// Limits of the platform's registry: the length of one key name and the depth of a key path.
constexpr std::size_t kMaxKeyNameLength = 255;
constexpr std::size_t kMaxKeyDepth = 512;

}  // namespace platform::sim
