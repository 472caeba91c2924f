#include "corvane/editors/service_properties.h"

namespace corvane {

namespace {

ListChoice exception(std::int64_t code) {
  return {-1, "exception: " + std::to_string(code)};
}

ListChoice currentStatus(std::uint32_t state) {
  // The item of each state 1 to 7 (stopped ... paused) in the list's order.
  constexpr int items[] = {1, 4, 6, 2, 3, 5, 0};
  if (state >= 1 && state <= 7) {
    return {items[state - 1], ""};
  }
  return exception(state);
}

}  // namespace

const ServiceRecord* FindServiceRecord(const Catalogue& catalogue, const std::string& serviceName) {
  for (std::size_t i = 0; i < catalogue.ServiceCount && i < catalogue.ServiceTable.size(); ++i) {
    if (catalogue.ServiceTable[i].ServiceName == serviceName) {
      return &catalogue.ServiceTable[i];
    }
  }
  return nullptr;
}

ServiceProperties ServicePropertiesOf(const ServiceRecord& record) {
  ServiceProperties shown;
  shown.ServName = record.ServiceName;
  shown.DispName = record.DisplayName;
  shown.ServExe = record.ExecutablePath;
  shown.StartName = record.Account;
  if (record.StartType <= 4) {
    shown.StartType.item = static_cast<int>(record.StartType);
  }
  shown.CurrentStatus = currentStatus(record.State);
  switch (record.ServiceType) {
    case 1:
      shown.ServType.item = 1;
      shown.CdiEnabled = false;
      break;
    case 2:
      shown.ServType.item = 0;
      shown.CdiEnabled = false;
      break;
    case 16:
      shown.ServType.item = 2;
      break;
    case 32:
      shown.ServType.item = 3;
      break;
    case 272:
      shown.ServType.item = 2;
      shown.CdiChecked = true;
      break;
    case 288:
      shown.ServType.item = 3;
      shown.CdiChecked = true;
      break;
    default:
      shown.ServType.added = std::to_string(record.ServiceType);
      break;
  }
  if (record.ErrorControl >= 0 && record.ErrorControl <= 3) {
    shown.ErrorCtrl.item = record.ErrorControl;
  } else {
    shown.ErrorCtrl = exception(record.ErrorControl);
  }
  return shown;
}

}  // namespace corvane
