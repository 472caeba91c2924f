#include "platform/sim/sim_service_behaviour.h"

#include <limits>

#include "common/text.h"
#include "platform/sim/sim_ini_lines.h"
#include "platform/sim/sim_machine_error.h"

namespace platform::sim {

namespace {

struct StateName {
  std::uint32_t state;
  std::string_view word;
};
constexpr StateName kStateNames[] = {{state::Stopped, "stopped"},
                                     {state::Running, "running"},
                                     {state::Paused, "paused"},
                                     {state::StartPending, "start-pending"}};

std::optional<std::uint32_t> parseUnsigned(std::string_view text) {
  const auto number = common::parseDecimal(text);
  if (!number || *number < 0 || *number > std::numeric_limits<std::uint32_t>::max())
    return std::nullopt;
  return static_cast<std::uint32_t>(*number);
}

// Applies one key line to the behaviour; false when the key is unknown, and a problem text when
// the value cannot be read.
bool applyKey(ServiceBehaviour& rules, std::string_view key, std::string_view value,
              std::string& problem) {
  const auto number = [&](std::uint32_t& field) {
    const auto parsed = parseUnsigned(value);
    if (parsed)
      field = *parsed;
    else
      problem =
          std::string("\"").append(value).append("\" is not a number of milliseconds or a count");
  };
  if (common::equalsIgnoreCase(key, "State")) {
    const auto parsed = stateOfWord(value);
    if (parsed)
      rules.state = *parsed;
    else
      problem =
          "State \"" + std::string(value) + "\" is not stopped, running, paused or start-pending";
  } else if (common::equalsIgnoreCase(key, "Accepts")) {
    rules.acceptsStop = false;
    rules.acceptsPause = false;
    if (common::trim(value).empty())
      return true;
    for (std::string_view word : common::split(value, ',')) {
      word = common::trim(word);
      if (common::equalsIgnoreCase(word, "stop"))
        rules.acceptsStop = true;
      else if (common::equalsIgnoreCase(word, "pause"))
        rules.acceptsPause = true;
      else
        problem = "Accepts lists \"" + std::string(word) + "\"; only stop and pause are known";
    }
  } else if (common::equalsIgnoreCase(key, "StartMs")) {
    number(rules.startMs);
  } else if (common::equalsIgnoreCase(key, "StopMs")) {
    number(rules.stopMs);
  } else if (common::equalsIgnoreCase(key, "PauseMs")) {
    number(rules.pauseMs);
  } else if (common::equalsIgnoreCase(key, "ContinueMs")) {
    number(rules.continueMs);
  } else if (common::equalsIgnoreCase(key, "CheckPoints")) {
    number(rules.checkPoints);
  } else if (common::equalsIgnoreCase(key, "WaitHint")) {
    number(rules.waitHint);
  } else if (common::equalsIgnoreCase(key, "Outcome")) {
    constexpr std::string_view kFails = "fails:";
    if (common::equalsIgnoreCase(value, "runs")) {
      rules.outcome = StartOutcome::Runs;
    } else if (common::equalsIgnoreCase(value, "exits")) {
      rules.outcome = StartOutcome::Exits;
    } else if (common::equalsIgnoreCase(value, "hangs")) {
      rules.outcome = StartOutcome::Hangs;
    } else if (value.size() > kFails.size() &&
               common::equalsIgnoreCase(value.substr(0, kFails.size()), kFails) &&
               parseUnsigned(common::trim(value.substr(kFails.size())))) {
      rules.outcome = StartOutcome::Fails;
      rules.exitCode = *parseUnsigned(common::trim(value.substr(kFails.size())));
    } else {
      problem =
          "Outcome \"" + std::string(value) + "\" is not runs, fails:<exit code>, exits or hangs";
    }
  } else {
    return false;
  }
  return true;
}

}  // namespace

std::string_view stateWord(std::uint32_t state) {
  for (const StateName& name : kStateNames)
    if (name.state == state)
      return name.word;
  return "stopped";
}

std::optional<std::uint32_t> stateOfWord(std::string_view word) {
  for (const StateName& name : kStateNames)
    if (common::equalsIgnoreCase(name.word, word))
      return name.state;
  return std::nullopt;
}

ServiceBehaviours parseServiceBehaviours(std::string_view text, const std::string& shownName) {
  ServiceBehaviours behaviours;
  for (const IniLine& line : iniLines(text)) {
    ServiceBehaviour& rules = behaviours[common::toLowerAscii(line.section)];
    if (line.kind == IniLine::Kind::Header)
      continue;
    if (line.kind == IniLine::Kind::Plain)
      throw MachineFileError(shownName, line.number, "\"" + line.value + "\" is not a key line");
    std::string problem;
    if (!applyKey(rules, line.key, line.value, problem))
      throw MachineFileError(shownName, line.number, "unknown key \"" + line.key + "\"");
    if (!problem.empty())
      throw MachineFileError(shownName, line.number, problem);
  }
  return behaviours;
}

}  // namespace platform::sim
