// How a service of the simulated computer behaves when it runs: one section of services.ini.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/types.h"

namespace platform::sim {

enum class StartOutcome {
  Runs,   // running after StartMs
  Fails,  // stopped after StartMs with `exitCode`
  Exits,  // running after StartMs, stopped with exit code 0 after StartMs more
  Hangs,  // start pending for ever
};

struct ServiceBehaviour {
  // State at boot or as the last run left it: stopped, running, paused, or start pending (a hung
  // start, kept as a real computer keeps it until it is restarted).
  std::uint32_t state = state::Stopped;
  bool acceptsStop = true;
  bool acceptsPause = false;
  std::uint32_t startMs = 0;
  std::uint32_t stopMs = 0;
  std::uint32_t pauseMs = 0;
  std::uint32_t continueMs = 0;
  std::uint32_t checkPoints = 0;
  std::uint32_t waitHint = 0;
  StartOutcome outcome = StartOutcome::Runs;
  std::uint32_t exitCode = 0;  // of Fails
};

// Keyed by the service key name in lower case.
using ServiceBehaviours = std::map<std::string, ServiceBehaviour>;

// The words of the State key: "stopped", "running", "paused", "start-pending".
std::string_view stateWord(std::uint32_t state);
std::optional<std::uint32_t> stateOfWord(std::string_view word);

// The sections of services.ini. Throws MachineFileError naming `shownName` and the line of an
// unknown key, a line that is no key line, or a value that cannot be read.
ServiceBehaviours parseServiceBehaviours(std::string_view text, const std::string& shownName);

}  // namespace platform::sim
