#include "platform/sim/sim_scm.h"

#include <algorithm>

#include "common/text.h"

namespace platform::sim {

namespace {

thread_local std::uint32_t threadLastError = err::Success;

constexpr const char* kServicesPath = "SYSTEM\\CurrentControlSet\\Services";
constexpr std::size_t kMaxServiceNameLength = 256;
constexpr std::uint32_t kRegistryIoFailed = 1016;

// Access rights of service handles and of the manager.
namespace right {
constexpr std::uint32_t QueryConfig = 0x1;
constexpr std::uint32_t ChangeConfig = 0x2;
constexpr std::uint32_t QueryStatus = 0x4;
constexpr std::uint32_t EnumerateDependents = 0x8;
constexpr std::uint32_t Start = 0x10;
constexpr std::uint32_t Stop = 0x20;
constexpr std::uint32_t PauseContinue = 0x40;
constexpr std::uint32_t Interrogate = 0x80;
constexpr std::uint32_t UserDefined = 0x100;
constexpr std::uint32_t Delete = 0x10000;
constexpr std::uint32_t ReadControl = 0x20000;
constexpr std::uint32_t ManagerConnect = 0x1;
constexpr std::uint32_t ManagerEnumerate = 0x4;
constexpr std::uint32_t GenericRead = 0x80000000;
constexpr std::uint32_t GenericWrite = 0x40000000;
constexpr std::uint32_t GenericExecute = 0x20000000;
constexpr std::uint32_t GenericAll = 0x10000000;
}  // namespace right

// Generic rights as the service control manager maps them on a service handle.
std::uint32_t serviceAccess(std::uint32_t requested) {
  std::uint32_t access = requested & ~(right::GenericRead | right::GenericWrite |
                                       right::GenericExecute | right::GenericAll);
  if (requested & right::GenericRead)
    access |= right::ReadControl | right::QueryConfig | right::QueryStatus | right::Interrogate |
              right::EnumerateDependents;
  if (requested & right::GenericWrite)
    access |= right::ReadControl | right::ChangeConfig;
  if (requested & right::GenericExecute)
    access |=
        right::ReadControl | right::Start | right::Stop | right::PauseContinue | right::UserDefined;
  if (requested & right::GenericAll)
    access |= access::ServiceAll;
  return access;
}

std::uint32_t managerAccess(std::uint32_t requested) {
  std::uint32_t access = requested & ~(right::GenericRead | right::GenericWrite |
                                       right::GenericExecute | right::GenericAll);
  if (requested & (right::GenericRead | right::GenericExecute))
    access |= right::ManagerConnect | right::ManagerEnumerate;
  if (requested & right::GenericAll)
    access |= access::ScManagerAll;
  return access | right::ManagerConnect;  // every manager handle may connect
}

std::optional<std::uint32_t> dwordValue(const RegistryKey& key, std::string_view name) {
  const RegValue* value = key.value(name);
  if (!value || value->kind != RegKind::Dword)
    return std::nullopt;
  return dwordOfData(value->data);
}

std::string textValue(const RegistryKey& key, std::string_view name) {
  const RegValue* value = key.value(name);
  if (!value || (value->kind != RegKind::String && value->kind != RegKind::ExpandString))
    return {};
  return textOfData(value->data);
}

std::vector<std::string> multiStringValue(const RegistryKey& key, std::string_view name) {
  const RegValue* value = key.value(name);
  if (!value)
    return {};
  if (value->kind == RegKind::MultiString)
    return textsOfMultiString(value->data);
  if (value->kind == RegKind::String || value->kind == RegKind::ExpandString) {
    std::string text = textOfData(value->data);
    if (!text.empty())
      return {text};
  }
  return {};
}

std::optional<RegValue> valueCopy(const RegistryKey& key, std::string_view name) {
  const RegValue* value = key.value(name);
  return value ? std::optional<RegValue>(*value) : std::nullopt;
}

void restoreValue(RegistryKey& key, std::string_view name, const std::optional<RegValue>& value) {
  if (value)
    key.setValue(*value);
  else
    key.removeValue(name);
}

bool isService(const RegistryKey& key) {
  return dwordValue(key, "Type").has_value();
}

std::uint32_t startTypeOf(const RegistryKey& key) {
  return dwordValue(key, "Start").value_or(start::Manual);
}

std::string displayNameOf(const RegistryKey& key) {
  std::string name = textValue(key, "DisplayName");
  return name.empty() ? key.name() : name;
}

bool isPending(std::uint32_t state) {
  return state == state::StartPending || state == state::StopPending ||
         state == state::PausePending || state == state::ContinuePending;
}

bool validServiceName(const std::string& name) {
  return !name.empty() && name.size() <= kMaxServiceNameLength &&
         name.find_first_of("\\/") == std::string::npos;
}

}  // namespace

SimScm::SimScm(RegistryKey& hklm, std::recursive_mutex& hklmLock, Clock& clock,
               ServiceBehaviours behaviours, ScmChangeListener listener)
    : hklm_(hklm),
      mutex_(hklmLock),
      clock_(clock),
      behaviours_(std::move(behaviours)),
      listener_(std::move(listener)),
      lastTick_(clock.tickCount()) {
  std::lock_guard lock(mutex_);
  for (const auto& [name, behaviour] : behaviours_)
    run(name);
  removeDeletedServices();
}

// Milliseconds since the manager was created, carried past the wrap of the 32-bit tick count.
std::int64_t SimScm::now() {
  const std::uint32_t tick = clock_.tickCount();
  nowMs_ += static_cast<std::uint32_t>(tick - lastTick_);
  lastTick_ = tick;
  return nowMs_;
}

bool SimScm::fail(std::uint32_t error) {
  threadLastError = error;
  return false;
}

ScHandle SimScm::failHandle(std::uint32_t error) {
  threadLastError = error;
  return 0;
}

bool SimScm::keepRegistryChange() {
  return !listener_.registryChanged || listener_.registryChanged();
}

std::uint32_t SimScm::lastError() const {
  return threadLastError;
}

RegistryKey* SimScm::serviceOf(ScHandle handle, std::uint32_t neededAccess,
                               std::string& lowerName) {
  const auto found = handles_.find(handle);
  if (found == handles_.end() || found->second.manager) {
    fail(err::InvalidHandle);
    return nullptr;
  }
  if ((found->second.access & neededAccess) != neededAccess) {
    fail(err::AccessDenied);
    return nullptr;
  }
  RegistryKey* key = serviceKey(found->second.serviceName);
  if (!key) {
    fail(err::ServiceDoesNotExist);  // its key was removed through the registry
    return nullptr;
  }
  lowerName = found->second.serviceName;
  return key;
}

RegistryKey* SimScm::servicesKey() const {
  return hklm_.find(kServicesPath);
}

RegistryKey* SimScm::serviceKey(const std::string& lowerName) const {
  RegistryKey* services = servicesKey();
  RegistryKey* key = services ? services->find(lowerName) : nullptr;
  return key && isService(*key) ? key : nullptr;
}

std::vector<RegistryKey*> SimScm::allServiceKeys() const {
  std::vector<RegistryKey*> keys;
  if (RegistryKey* services = servicesKey()) {
    for (const auto& child : services->children())
      if (isService(*child))
        keys.push_back(child.get());
  }
  return keys;
}

bool SimScm::markedForDelete(const RegistryKey& key) {
  return dwordValue(key, "DeleteFlag").value_or(0) != 0;
}

const ServiceBehaviour& SimScm::behaviour(const std::string& lowerName) const {
  static const ServiceBehaviour defaults;
  const auto found = behaviours_.find(lowerName);
  return found == behaviours_.end() ? defaults : found->second;
}

SimScm::Run& SimScm::run(const std::string& lowerName) {
  auto found = runs_.find(lowerName);
  if (found != runs_.end())
    return found->second;
  const ServiceBehaviour& rules = behaviour(lowerName);
  Run initial;
  initial.state = rules.state;
  initial.begin = now();
  if (rules.state == state::Running && rules.outcome == StartOutcome::Exits)
    initial.idleExit = initial.begin + rules.startMs;
  return runs_.emplace(lowerName, initial).first->second;
}

// Moves the run through every phase that has ended by now.
SimScm::Run& SimScm::settled(const std::string& lowerName) {
  Run& current = run(lowerName);
  const ServiceBehaviour& rules = behaviour(lowerName);
  const std::int64_t time = now();
  const auto reachRunning = [&](std::int64_t at) {
    current.state = state::Running;
    current.exitCode = 0;
    if (rules.outcome == StartOutcome::Exits)
      current.idleExit = at + rules.startMs;
  };
  for (;;) {
    switch (current.state) {
      case state::StartPending:
        if (rules.outcome == StartOutcome::Hangs || time < current.begin + rules.startMs)
          return current;
        if (rules.outcome == StartOutcome::Fails) {
          current.state = state::Stopped;
          current.exitCode = rules.exitCode;
          return current;
        }
        reachRunning(current.begin + rules.startMs);
        continue;
      case state::Running:
        if (!current.idleExit || time < *current.idleExit)
          return current;
        current.state = state::Stopped;
        current.exitCode = 0;
        current.idleExit.reset();
        return current;
      case state::StopPending:
        if (time < current.begin + rules.stopMs)
          return current;
        current.state = state::Stopped;
        current.exitCode = 0;
        return current;
      case state::PausePending:
        if (time < current.begin + rules.pauseMs)
          return current;
        current.state = state::Paused;
        return current;
      case state::ContinuePending:
        if (time < current.begin + rules.continueMs)
          return current;
        reachRunning(current.begin + rules.continueMs);
        continue;
      default:
        return current;
    }
  }
}

ServiceStatus SimScm::statusOf(const RegistryKey& key, const std::string& name) {
  const Run& current = settled(name);
  const ServiceBehaviour& rules = behaviour(name);
  ServiceStatus status;
  status.serviceType = dwordValue(key, "Type").value_or(0);
  status.currentState = current.state;
  status.win32ExitCode = current.exitCode;
  if (current.state == state::Running || current.state == state::Paused) {
    status.controlsAccepted = (rules.acceptsStop ? control::AcceptStop : 0) |
                              (rules.acceptsPause ? control::AcceptPauseContinue : 0);
  }
  if (isPending(current.state)) {
    const std::uint32_t duration = current.state == state::StartPending   ? rules.startMs
                                   : current.state == state::StopPending  ? rules.stopMs
                                   : current.state == state::PausePending ? rules.pauseMs
                                                                          : rules.continueMs;
    const std::int64_t elapsed = now() - current.begin;
    if (elapsed > 0 && duration > 0 && rules.checkPoints > 0) {
      const std::int64_t reached = elapsed * (rules.checkPoints + 1) / duration;
      status.checkPoint =
          static_cast<std::uint32_t>(std::min<std::int64_t>(reached, rules.checkPoints));
    }
    status.waitHint = rules.waitHint;
  }
  return status;
}

// The state the service's run leads to when left alone, which is what the computer keeps.
std::uint32_t SimScm::lastingState(const std::string& lowerName) {
  const Run& current = settled(lowerName);
  const ServiceBehaviour& rules = behaviour(lowerName);
  switch (current.state) {
    case state::StartPending:
      if (rules.outcome == StartOutcome::Hangs)
        return state::StartPending;
      return rules.outcome == StartOutcome::Runs ? state::Running : state::Stopped;
    case state::Running:
      return current.idleExit ? state::Stopped : state::Running;
    case state::ContinuePending:
      return rules.outcome == StartOutcome::Exits ? state::Stopped : state::Running;
    case state::PausePending:
      return state::Paused;
    case state::StopPending:
      return state::Stopped;
    default:
      return current.state;
  }
}

void SimScm::reportRunState(const std::string& lowerName) {
  if (!listener_.runStateChanged)
    return;
  const RegistryKey* key = serviceKey(lowerName);
  listener_.runStateChanged(key ? key->name() : lowerName, lastingState(lowerName));
}

ScHandle SimScm::openSCManager(std::uint32_t access) {
  std::lock_guard lock(mutex_);
  const ScHandle handle = nextHandle_++;
  handles_[handle] = Handle{true, {}, managerAccess(access)};
  threadLastError = err::Success;
  return handle;
}

bool SimScm::enumServicesStatus(ScHandle manager, std::uint32_t types, std::uint32_t states,
                                std::size_t bufferSize, std::vector<EnumServiceEntry>& entries,
                                std::size_t& bytesNeeded, std::uint32_t& resumeIndex) {
  std::lock_guard lock(mutex_);
  bytesNeeded = 0;
  const auto found = handles_.find(manager);
  if (found == handles_.end() || !found->second.manager)
    return fail(err::InvalidHandle);
  if (!(found->second.access & right::ManagerEnumerate))
    return fail(err::AccessDenied);
  constexpr std::uint32_t kKnownTypes = 0x3F | svctype::Interactive;
  if ((types & 0x3F) == 0 || (types & ~kKnownTypes) != 0)
    return fail(err::InvalidParameter);
  if (states < 1 || states > state::EnumAll)
    return fail(err::InvalidParameter);
  removeDeletedServices();

  std::vector<std::pair<std::string, RegistryKey*>> matching;
  for (RegistryKey* key : allServiceKeys()) {
    if ((dwordValue(*key, "Type").value_or(0) & types & 0x3F) == 0)
      continue;
    matching.emplace_back(common::toLowerAscii(key->name()), key);
  }
  std::sort(matching.begin(), matching.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });

  std::size_t used = 0;
  bool full = false;
  std::uint32_t position = 0;
  std::uint32_t nextResume = resumeIndex;
  for (const auto& [name, key] : matching) {
    if (position++ < resumeIndex)
      continue;
    EnumServiceEntry entry{key->name(), displayNameOf(*key), statusOf(*key, name)};
    const bool active = entry.status.currentState != state::Stopped;
    if (!(states & (active ? 1u : 2u))) {
      if (!full)
        nextResume = position;
      continue;
    }
    const std::size_t size = enumEntryBytes(entry);
    if (!full && used + size <= bufferSize) {
      used += size;
      entries.push_back(std::move(entry));
      nextResume = position;
    } else {
      full = true;
      bytesNeeded += size;
    }
  }
  if (full) {
    resumeIndex = nextResume;
    return fail(err::MoreData);
  }
  resumeIndex = 0;
  threadLastError = err::Success;
  return true;
}

ScHandle SimScm::openService(ScHandle manager, const std::string& serviceName,
                             std::uint32_t access) {
  std::lock_guard lock(mutex_);
  const auto found = handles_.find(manager);
  if (found == handles_.end() || !found->second.manager)
    return failHandle(err::InvalidHandle);
  if (!validServiceName(serviceName))
    return failHandle(err::InvalidName);
  const std::string name = common::toLowerAscii(serviceName);
  const RegistryKey* key = serviceKey(name);
  if (!key)
    return failHandle(err::ServiceDoesNotExist);
  if (markedForDelete(*key))
    return failHandle(err::ServiceMarkedForDelete);
  const ScHandle handle = nextHandle_++;
  handles_[handle] = Handle{false, name, serviceAccess(access)};
  threadLastError = err::Success;
  return handle;
}

bool SimScm::queryServiceConfig(ScHandle service, std::size_t bufferSize, ServiceConfig& config,
                                std::size_t& bytesNeeded) {
  std::lock_guard lock(mutex_);
  bytesNeeded = 0;
  std::string name;
  const RegistryKey* found = serviceOf(service, right::QueryConfig, name);
  if (!found)
    return false;
  const RegistryKey& key = *found;
  ServiceConfig answer;
  answer.serviceType = dwordValue(key, "Type").value_or(0);
  answer.startType = startTypeOf(key);
  answer.errorControl = dwordValue(key, "ErrorControl").value_or(0);
  answer.binaryPathName = textValue(key, "ImagePath");
  answer.loadOrderGroup = textValue(key, "Group");
  answer.tagId = dwordValue(key, "Tag").value_or(0);
  for (const std::string& dependency : multiStringValue(key, "DependOnService")) {
    answer.dependencies += dependency;
    answer.dependencies.push_back('\0');
  }
  for (const std::string& group : multiStringValue(key, "DependOnGroup")) {
    answer.dependencies.push_back('+');
    answer.dependencies += group;
    answer.dependencies.push_back('\0');
  }
  if (!answer.dependencies.empty())
    answer.dependencies.push_back('\0');
  answer.serviceStartName = textValue(key, "ObjectName");
  if (answer.serviceStartName.empty() &&
      (answer.serviceType & (svctype::OwnProcess | svctype::ShareProcess)))
    answer.serviceStartName = "LocalSystem";
  answer.displayName = displayNameOf(key);
  const std::size_t size = configBytes(answer);
  if (size > bufferSize) {
    bytesNeeded = size;
    return fail(err::InsufficientBuffer);
  }
  config = std::move(answer);
  threadLastError = err::Success;
  return true;
}

bool SimScm::queryServiceStatus(ScHandle service, ServiceStatus& status) {
  std::lock_guard lock(mutex_);
  std::string name;
  const RegistryKey* key = serviceOf(service, right::QueryStatus, name);
  if (!key)
    return false;
  status = statusOf(*key, name);
  threadLastError = err::Success;
  return true;
}

bool SimScm::hasActiveDependents(const std::string& lowerName) {
  for (RegistryKey* key : allServiceKeys()) {
    const std::string name = common::toLowerAscii(key->name());
    if (name == lowerName)
      continue;
    const auto dependencies = multiStringValue(*key, "DependOnService");
    const bool dependent =
        std::any_of(dependencies.begin(), dependencies.end(),
                    [&](const std::string& d) { return common::equalsIgnoreCase(d, lowerName); });
    if (dependent && settled(name).state != state::Stopped)
      return true;
  }
  return false;
}

bool SimScm::controlService(ScHandle service, std::uint32_t code, ServiceStatus& status) {
  std::lock_guard lock(mutex_);
  std::uint32_t needed = 0;
  switch (code) {
    case control::Stop:
      needed = right::Stop;
      break;
    case control::Pause:
    case control::Continue:
      needed = right::PauseContinue;
      break;
    case control::Interrogate:
      needed = right::Interrogate;
      break;
    default:
      if (std::string ignored; serviceOf(service, 0, ignored))
        fail(err::InvalidParameter);
      return false;
  }
  std::string name;
  const RegistryKey* key = serviceOf(service, needed, name);
  if (!key)
    return false;
  const ServiceBehaviour& rules = behaviour(name);
  Run& current = settled(name);
  status = statusOf(*key, name);

  if (current.state == state::Stopped)
    return fail(err::ServiceNotActive);
  if (isPending(current.state))
    return fail(err::ServiceCannotAcceptControl);
  if (code == control::Stop && hasActiveDependents(name))
    return fail(err::DependentServicesRunning);
  const bool accepted = code == control::Interrogate ||
                        (code == control::Stop ? rules.acceptsStop : rules.acceptsPause);
  if (!accepted)
    return fail(err::InvalidServiceControl);

  const std::uint32_t before = current.state;
  if (code == control::Stop) {
    current.state = state::StopPending;
  } else if (code == control::Pause && current.state == state::Running) {
    current.state = state::PausePending;
  } else if (code == control::Continue && current.state == state::Paused) {
    current.state = state::ContinuePending;
  }
  if (current.state != before) {
    current.begin = now();
    current.idleExit.reset();
    settled(name);
    reportRunState(name);
  }
  status = statusOf(*key, name);
  threadLastError = err::Success;
  return true;
}

std::optional<std::int64_t> SimScm::bringUp(const std::string& lowerName, std::int64_t at,
                                            std::vector<std::string>& visiting) {
  const Run& current = settled(lowerName);
  const ServiceBehaviour& rules = behaviour(lowerName);
  switch (current.state) {
    case state::Running:
    case state::Paused:
    case state::PausePending:
    case state::ContinuePending:
      return at;
    case state::StartPending:
      if (rules.outcome != StartOutcome::Runs && rules.outcome != StartOutcome::Exits)
        return std::nullopt;
      return std::max(at, current.begin + rules.startMs);
    case state::Stopped: {
      std::uint32_t ignored = 0;
      return scheduleStart(lowerName, at, visiting, ignored);
    }
    default:  // stopping
      return std::nullopt;
  }
}

std::optional<std::int64_t> SimScm::bringUpGroup(const std::string& group, std::int64_t at,
                                                 std::vector<std::string>& visiting) {
  std::vector<std::string> members;
  for (RegistryKey* key : allServiceKeys()) {
    if (common::equalsIgnoreCase(textValue(*key, "Group"), group) && !markedForDelete(*key))
      members.push_back(common::toLowerAscii(key->name()));
  }
  std::sort(members.begin(), members.end());
  std::optional<std::int64_t> ready;
  std::int64_t time = at;
  for (const std::string& member : members) {
    if (std::find(visiting.begin(), visiting.end(), member) != visiting.end())
      continue;
    if (const auto up = bringUp(member, time, visiting)) {
      time = *up;
      ready = time;
    }
  }
  return ready;
}

std::optional<std::int64_t> SimScm::scheduleStart(const std::string& lowerName, std::int64_t at,
                                                  std::vector<std::string>& visiting,
                                                  std::uint32_t& error) {
  const RegistryKey* key = serviceKey(lowerName);
  if (!key || markedForDelete(*key)) {
    error = err::ServiceMarkedForDelete;
    return std::nullopt;
  }
  if (startTypeOf(*key) == start::Disabled) {
    error = err::ServiceDisabled;
    return std::nullopt;
  }
  if (std::find(visiting.begin(), visiting.end(), lowerName) != visiting.end()) {
    error = err::ServiceDependencyFail;  // a circle of dependencies never comes up
    return std::nullopt;
  }
  visiting.push_back(lowerName);
  const auto leave = [&](std::uint32_t code) -> std::optional<std::int64_t> {
    visiting.pop_back();
    error = code;
    return std::nullopt;
  };

  std::int64_t time = at;
  for (const std::string& dependency : multiStringValue(*key, "DependOnService")) {
    const auto up = bringUp(common::toLowerAscii(dependency), time, visiting);
    if (!up)
      return leave(err::ServiceDependencyFail);
    time = *up;
  }
  for (const std::string& group : multiStringValue(*key, "DependOnGroup")) {
    const auto up = bringUpGroup(group, time, visiting);
    if (!up)
      return leave(err::ServiceDependencyFail);
    time = *up;
  }
  visiting.pop_back();

  Run& current = run(lowerName);
  current.state = state::StartPending;
  current.begin = time;
  current.exitCode = 0;
  current.idleExit.reset();
  settled(lowerName);
  reportRunState(lowerName);
  const ServiceBehaviour& rules = behaviour(lowerName);
  if (rules.outcome == StartOutcome::Fails || rules.outcome == StartOutcome::Hangs)
    return std::nullopt;
  return time + rules.startMs;
}

bool SimScm::startService(ScHandle service) {
  std::lock_guard lock(mutex_);
  std::string name;
  const RegistryKey* key = serviceOf(service, right::Start, name);
  if (!key)
    return false;
  if (markedForDelete(*key))
    return fail(err::ServiceMarkedForDelete);
  if (settled(name).state != state::Stopped)
    return fail(err::ServiceAlreadyRunning);
  if (startTypeOf(*key) == start::Disabled)
    return fail(err::ServiceDisabled);
  std::vector<std::string> visiting;
  std::uint32_t error = err::Success;
  scheduleStart(name, now(), visiting, error);
  if (error != err::Success)
    return fail(error);
  threadLastError = err::Success;
  return true;
}

bool SimScm::changeServiceStartType(ScHandle service, std::uint32_t startType) {
  std::lock_guard lock(mutex_);
  std::string name;
  RegistryKey* found = serviceOf(service, right::ChangeConfig, name);
  if (!found)
    return false;
  RegistryKey& key = *found;
  if (markedForDelete(key))
    return fail(err::ServiceMarkedForDelete);
  const bool driver =
      (dwordValue(key, "Type").value_or(0) &
       (svctype::KernelDriver | svctype::FileSystemDriver | svctype::RecognizerDriver)) != 0;
  if (startType > start::Disabled || (!driver && startType < start::Automatic))
    return fail(err::InvalidParameter);
  const std::optional<RegValue> previous = valueCopy(key, "Start");
  key.setValue(RegValue{"Start", RegKind::Dword, dwordData(startType)});
  if (!keepRegistryChange()) {
    restoreValue(key, "Start", previous);
    return fail(kRegistryIoFailed);
  }
  threadLastError = err::Success;
  return true;
}

bool SimScm::deleteService(ScHandle service) {
  std::lock_guard lock(mutex_);
  std::string name;
  RegistryKey* found = serviceOf(service, right::Delete, name);
  if (!found)
    return false;
  RegistryKey& key = *found;
  if (markedForDelete(key))
    return fail(err::ServiceMarkedForDelete);
  const std::optional<RegValue> previous = valueCopy(key, "DeleteFlag");
  key.setValue(RegValue{"DeleteFlag", RegKind::Dword, dwordData(1)});
  if (!keepRegistryChange()) {
    restoreValue(key, "DeleteFlag", previous);
    return fail(kRegistryIoFailed);
  }
  threadLastError = err::Success;
  return true;
}

bool SimScm::closeServiceHandle(ScHandle handle) {
  std::lock_guard lock(mutex_);
  const auto found = handles_.find(handle);
  if (found == handles_.end())
    return fail(err::InvalidHandle);
  const std::string name = found->second.serviceName;
  handles_.erase(found);
  // A removal that cannot be written now is written with the next change; until then the file
  // keeps the delete mark, and the service goes when the computer is next opened.
  if (!name.empty() && removeIfDeleted(name))
    keepRegistryChange();
  threadLastError = err::Success;
  return true;
}

// A service marked for deletion goes when it has stopped and no handle refers to it.
bool SimScm::removeIfDeleted(const std::string& lowerName) {
  RegistryKey* key = serviceKey(lowerName);
  if (!key || !markedForDelete(*key))
    return false;
  const bool open = std::any_of(handles_.begin(), handles_.end(), [&](const auto& entry) {
    return entry.second.serviceName == lowerName;
  });
  if (open || settled(lowerName).state != state::Stopped)
    return false;
  const std::string keyName = key->name();
  servicesKey()->removeChild(keyName);
  runs_.erase(lowerName);
  if (listener_.serviceRemoved)
    listener_.serviceRemoved(keyName);
  return true;
}

void SimScm::removeDeletedServices() {
  std::vector<std::string> marked;
  for (RegistryKey* key : allServiceKeys())
    if (markedForDelete(*key))
      marked.push_back(common::toLowerAscii(key->name()));
  bool removed = false;
  for (const std::string& name : marked)
    removed |= removeIfDeleted(name);
  if (removed)
    keepRegistryChange();
}

}  // namespace platform::sim
