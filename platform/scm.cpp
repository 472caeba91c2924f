#include "platform/scm.h"

namespace platform {

namespace {
// Fixed parts of the ANSI answer structures: two text pointers and the seven-field status record
// of an enumeration entry; nine fields of a configuration.
constexpr std::size_t EnumEntryFixedBytes = 2 * 4 + 7 * 4;
constexpr std::size_t ConfigFixedBytes = 9 * 4;

std::size_t textBytes(const std::string& text) { return text.size() + 1; }
}  // namespace

std::size_t enumEntryBytes(const EnumServiceEntry& entry) {
  return EnumEntryFixedBytes + textBytes(entry.serviceName) + textBytes(entry.displayName);
}

std::size_t configBytes(const ServiceConfig& config) {
  const std::size_t dependencyBytes = config.dependencies.empty() ? 2 : config.dependencies.size();
  return ConfigFixedBytes + textBytes(config.binaryPathName) + textBytes(config.loadOrderGroup) +
         dependencyBytes + textBytes(config.serviceStartName) + textBytes(config.displayName);
}

}  // namespace platform
