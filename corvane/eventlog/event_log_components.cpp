#include "corvane/eventlog/event_log_components.h"

#include <exception>

namespace corvane {

const char* eventLogName(EventLogId log) {
  switch (log) {
    case EventLogId::Application:
      return "Application";
    case EventLogId::Security:
      return "Security";
    case EventLogId::System:
      return "System";
  }
  return "";
}

bool filterSelects(EventFilter filter, EventLogId log) {
  return filter == EventFilter::All || static_cast<int>(filter) == static_cast<int>(log);
}

EventLogComponents::EventLogComponents(platform::EventLogs& logs,
                                       platform::SystemMessages& messages)
    : all{NtEventLog(logs, messages), NtEventLog(logs, messages), NtEventLog(logs, messages)} {
  for (const EventLogId log : AllEventLogs) {
    (*this)[log].SetSourceName(eventLogName(log));
  }
}

NtEventLog* EventLogComponents::byEvSrc(const std::string& evSrc) {
  for (const EventLogId log : AllEventLogs) {
    if (evSrc == eventLogName(log)) {
      return &(*this)[log];
    }
  }
  return nullptr;
}

bool ReactivateEventLogs(EventLogComponents& components, EventLogState& state) {
  try {
    for (NtEventLog& component : components.all) {
      component.SetActive(false);
    }
    for (const EventLogId log : AllEventLogs) {
      components[log].SetSourceName(eventLogName(log));
    }
    for (NtEventLog& component : components.all) {
      component.SetActive(true);
    }
    return true;
  } catch (const std::exception&) {
    state.EventLogsOpen = false;
    return false;
  }
}

const ClearQuestion& clearQuestion(EventFilter which) {
  static const ClearQuestion questions[4] = {
      {"Clear EventLog: Application",
       "Are you sure you want to clear 'Application' section\nof the EventLog? This operation "
       "cannot be undone.   "},
      {"Clear EventLog: Security",
       "Are you sure you want to clear 'Security' section\nof the EventLog? This operation cannot "
       "be undone.   "},
      {"Clear EventLog: System",
       "Are you sure you want to clear 'System' section\nof the EventLog? This operation cannot "
       "be undone.   "},
      {"Clear EventLog: ALL",
       "Are you sure you want to clear all sections\nof the EventLog? This operation cannot be "
       "undone.   "},
  };
  return questions[static_cast<int>(which)];
}

std::optional<std::string> ClearEventLogs(EventLogComponents& components, EventFilter which) {
  try {
    for (const EventLogId log : AllEventLogs) {
      if (filterSelects(which, log)) {
        components[log].Clear();
      }
    }
  } catch (const std::exception& failure) {
    return std::string(failure.what());
  }
  return std::nullopt;
}

}  // namespace corvane
