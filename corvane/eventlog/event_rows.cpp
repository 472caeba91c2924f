#include "corvane/eventlog/event_rows.h"

#include "corvane/catalogue/service_list.h"
#include "corvane/shell/date_time_format.h"

namespace corvane {

int clampEventColumnWidth(int column, int width) {
  if (column < 0 || column >= EventColumnCount) {
    return width;
  }
  const EventColumn& spec = EventColumns[static_cast<std::size_t>(column)];
  if (spec.minWidth > 0 && width < spec.minWidth) {
    return spec.minWidth;
  }
  if (spec.maxWidth > 0 && width > spec.maxWidth) {
    return spec.maxWidth;
  }
  return width;
}

TEventType eventTypeOf(std::uint16_t platformType) {
  switch (platformType) {
    case 1:
      return TEventType::EVT_ERROR;
    case 2:
      return TEventType::EVT_WARNING;
    case 4:
      return TEventType::EVT_INFORMATION;
    case 8:
      return TEventType::EVT_AUDIT_SUCCESS;
    case 16:
      return TEventType::EVT_AUDIT_FAILURE;
    default:
      return TEventType::EVT_SUCCESS;
  }
}

const char* eventTypeCaption(TEventType type) {
  switch (type) {
    case TEventType::EVT_SUCCESS:
      return "Success";
    case TEventType::EVT_ERROR:
      return "Error";
    case TEventType::EVT_WARNING:
      return "Warning";
    case TEventType::EVT_INFORMATION:
      return "Information";
    case TEventType::EVT_AUDIT_SUCCESS:
      return "Success Audit";
    case TEventType::EVT_AUDIT_FAILURE:
      return "Audit failure";
  }
  return "Success";
}

int eventTypeImage(TEventType type) {
  switch (type) {
    case TEventType::EVT_ERROR:
      return image::EventError;
    case TEventType::EVT_WARNING:
      return image::EventWarning;
    case TEventType::EVT_AUDIT_SUCCESS:
      return image::AuditSuccess;
    case TEventType::EVT_AUDIT_FAILURE:
      return image::AuditFailure;
    case TEventType::EVT_SUCCESS:
    case TEventType::EVT_INFORMATION:
      return image::EventInformation;
  }
  return image::EventInformation;
}

EventRow makeEventRow(const EventItem& item, const char* evSrc, platform::Clock& clock) {
  const TEventType type = eventTypeOf(item.eventType);
  EventRow row;
  row.image = eventTypeImage(type);
  row.timeGenerated = item.timeGenerated;
  row.index = item.index;
  row.recordNumber = item.recordNumber;
  row.id = item.eventId & 0xFFFF;
  row.texts = {
      eventTypeCaption(type),    DateTimeText(clock.toLocalTime(item.timeGenerated)),
      item.sourceName,           item.categoryName + " (" + std::to_string(item.category) + ")",
      std::to_string(row.index), std::to_string(row.recordNumber),
      std::to_string(row.id),    item.userName.empty() ? std::string("N/A") : item.userName,
      item.computerName,         evSrc};
  return row;
}

}  // namespace corvane
