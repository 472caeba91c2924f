#include "corvane/eventlog/nt_event_log.h"

#include <optional>

namespace corvane {

NtEventLog::NtEventLog(platform::EventLogs& logs, platform::SystemMessages& messages)
    : logs_(logs), messages_(messages) {}

std::string NtEventLog::systemText(std::uint32_t error) const {
  std::string text = messages_.messageText(error);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
    text.pop_back();
  }
  return text.empty() ? "System error " + std::to_string(error) : text;
}

void NtEventLog::SetActive(bool active) {
  if (!active) {
    log_.reset();
    lastCount_ = 0;
    return;
  }
  if (log_ != nullptr) {
    return;
  }
  std::uint32_t error = 0;
  std::unique_ptr<platform::EventLog> opened = logs_.open(sourceName_, error);
  if (opened == nullptr) {
    throw EventLogError(systemText(error));
  }
  log_ = std::move(opened);
  lastCount_ = log_->count();
}

std::uint32_t NtEventLog::Count() {
  lastCount_ = log_ != nullptr ? log_->count() : 0;
  return lastCount_;
}

void NtEventLog::missing(std::uint32_t index) const {
  throw EventLogError("Event record " + std::to_string(index) + " of the " + sourceName_ +
                      " log does not exist.");
}

void NtEventLog::checkIndex(std::uint32_t index) const {
  if (log_ == nullptr || index >= lastCount_) {
    missing(index);
  }
}

EventItem NtEventLog::Objects(std::uint32_t index) {
  checkIndex(index);
  const std::optional<platform::EventRecord> record = log_->record(index);
  if (!record) {
    missing(index);  // gone since the count was read
  }
  EventItem item;
  item.eventType = record->eventType;
  item.timeGenerated = record->timeGenerated;
  item.sourceName = record->sourceName;
  item.category = record->category;
  item.categoryName = record->categoryName;
  item.index = index;
  item.recordNumber = record->recordNumber;
  item.eventId = record->eventId;
  item.userName = record->userName;
  item.computerName = record->computerName;
  return item;
}

std::string NtEventLog::Items(std::uint32_t index) {
  checkIndex(index);
  std::optional<std::string> text = log_->description(index);
  if (!text) {
    missing(index);
  }
  return std::move(*text);
}

void NtEventLog::Clear() {
  if (log_ == nullptr) {
    throw EventLogError("The " + sourceName_ + " log is not open.");
  }
  std::uint32_t error = 0;
  if (!log_->clear(error)) {
    throw EventLogError(systemText(error));
  }
  lastCount_ = 0;
}

}  // namespace corvane
