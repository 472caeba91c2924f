// The three event-log components of the main window (ELapp, ELsec, ELsys), their reactivation
// and the clear commands.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>

#include "corvane/eventlog/event_log_state.h"
#include "corvane/eventlog/nt_event_log.h"

namespace corvane {

// The logs in their fixed order; also the index of HighestListedRecord.
enum class EventLogId { Application = 0, Security = 1, System = 2 };
inline constexpr std::array<EventLogId, 3> AllEventLogs{EventLogId::Application,
                                                        EventLogId::Security, EventLogId::System};

// The four filter buttons (RadioButton5 to RadioButton8), numbered as the settings store them.
enum class EventFilter { Application = 0, Security = 1, System = 2, All = 3 };

// "Application", "Security", "System": the source name and the EvSrc text alike.
const char* eventLogName(EventLogId log);
bool filterSelects(EventFilter filter, EventLogId log);

struct EventLogComponents {
  EventLogComponents(platform::EventLogs& logs, platform::SystemMessages& messages);

  NtEventLog& operator[](EventLogId log) { return all[static_cast<std::size_t>(log)]; }
  // The component whose EvSrc text equals `evSrc` exactly; nullptr for any other text.
  NtEventLog* byEvSrc(const std::string& evSrc);

  // ELapp, ELsec, ELsys.
  std::array<NtEventLog, 3> all;
};

// Closes the three logs, names them and opens them again, in that order. The first failure skips
// the rest and clears EventLogsOpen; nothing is shown. False when a step failed.
bool ReactivateEventLogs(EventLogComponents& components, EventLogState& state);

// The confirmation of a clear command.
struct ClearQuestion {
  const char* title;
  const char* text;
};
// For Clear1, Clear2, Clear3 (a single log) and ClearEventLogALL1 (EventFilter::All).
const ClearQuestion& clearQuestion(EventFilter which);
inline constexpr const char* ClearFailedLead = "Unable to clear Event Log!\n\nError:\n";

// Clears the chosen log, or the three in order as one attempt that stops at the first failure.
// The failure's message, or nothing when it succeeded.
std::optional<std::string> ClearEventLogs(EventLogComponents& components, EventFilter which);

}  // namespace corvane
