// What the service properties dialog shows for one catalogue entry: its names, executable and
// account, and the items its four drop-down lists select.
#pragma once

#include <array>
#include <string>

#include "corvane/catalogue/catalogue.h"

namespace corvane {

// The items of the dialog's lists, in their order.
inline constexpr std::array<const char*, 4> ServTypeItems = {
    "file system driver", "kernel driver", "win32 own process", "win32 share process"};
// The first three carry a trailing tab, as the list stores them.
inline constexpr std::array<const char*, 4> ErrorCtrlItems = {"error_ignore\t", "error_normal\t",
                                                              "error_severe\t", "error_critical"};
inline constexpr std::array<const char*, 5> StartTypeItems = {"boot", "system", "automatic",
                                                              "manual", "disabled"};
inline constexpr std::array<const char*, 7> CurrentStatusItems = {
    "paused", "stopped", "running", "continuing", "starting", "pausing", "stopping"};
inline constexpr std::array<const char*, 4> FailureActionItems = {
    "TAKE NO ACTION", "RESTART THE SERVICE", "RUN A PROGRAM", "RESTART THE COMPUTER"};

// What a list selects: one of its design items, or a new item added to it and selected, or
// (neither) whatever it selected before.
struct ListChoice {
  int item = -1;
  std::string added;

  bool operator==(const ListChoice&) const = default;
};

struct ServiceProperties {
  std::string ServName;
  std::string DispName;
  std::string ServExe;
  std::string StartName;
  ListChoice ServType;
  ListChoice ErrorCtrl;
  ListChoice StartType;
  ListChoice CurrentStatus;
  bool CdiEnabled = true;
  bool CdiChecked = false;
};

// The first entry whose ServiceName equals `serviceName` exactly; nullptr when there is none.
const ServiceRecord* FindServiceRecord(const Catalogue& catalogue, const std::string& serviceName);

ServiceProperties ServicePropertiesOf(const ServiceRecord& record);

}  // namespace corvane
