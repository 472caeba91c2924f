// The catalogue: Corvane's picture of the installed services, drivers and load-order groups.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corvane {

struct ServiceRecord {
  std::int32_t FailMark = 0;
  std::string ServiceName;
  std::string DisplayName;
  std::string GroupText;
  std::string StartTypeText;
  std::string TypeText;
  std::string DescriptionText;
  std::string StateText;
  std::string ExecutablePath;
  std::string Account;
  std::string InteractiveText;
  std::vector<std::string> Dependencies;
  std::vector<std::string> Dependents;
  std::uint32_t StartType = 0;
  std::int32_t ServiceType = 0;
  std::uint32_t State = 0;
  std::int32_t ErrorControl = 0;
  std::uint8_t AcceptsStop = 0;
  std::uint8_t AcceptsPause = 0;
};

struct GroupRecord {
  std::uint8_t Listed = 0;
  std::string Name;
  std::vector<std::string> Members;
};

// Put before a group name in a Dependencies list, so that it never equals a service key name.
inline constexpr const char* GroupDependencyPrefix = "#*%";

// The tables start with 500 records each and grow when a pass needs more; records are reused,
// never recreated. Entries at and beyond the counts are stale and never read.
struct Catalogue {
  std::vector<ServiceRecord> ServiceTable = std::vector<ServiceRecord>(500);
  std::size_t ServiceCount = 0;
  std::vector<GroupRecord> GroupTable = std::vector<GroupRecord>(500);
  std::size_t GroupCount = 0;
};

}  // namespace corvane
