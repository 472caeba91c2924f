// A readable, order-independent picture of a hive for comparisons: keys sorted as the registry
// lists them, values in their order with kind and bytes.
#pragma once

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/sim/registry_tree.h"

namespace platform::sim::testing {

inline void dumpKey(const RegistryKey& key, const std::string& path, std::string& out) {
  out += "[" + path + "]\n";
  for (const RegValue& value : key.values()) {
    out +=
        "  \"" + value.name + "\" kind " + std::to_string(static_cast<unsigned>(value.kind)) + ":";
    for (const char c : value.data) {
      char byte[4];
      std::snprintf(byte, sizeof byte, " %02x", static_cast<unsigned char>(c));
      out += byte;
    }
    out += "\n";
  }
  std::vector<const RegistryKey*> children;
  for (const auto& child : key.children())
    children.push_back(child.get());
  std::sort(children.begin(), children.end(), [](const RegistryKey* a, const RegistryKey* b) {
    return namesLess(a->name(), b->name());
  });
  for (const RegistryKey* child : children)
    dumpKey(*child, path + "\\" + child->name(), out);
}

inline std::string dumpHive(const RegistryKey& hive) {
  std::string out;
  dumpKey(hive, hive.name(), out);
  return out;
}

}  // namespace platform::sim::testing
