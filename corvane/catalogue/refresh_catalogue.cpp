#include "corvane/catalogue/refresh_catalogue.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <unordered_map>

#include "corvane/catalogue/group_order.h"
#include "corvane/catalogue/service_texts.h"

namespace corvane {

namespace {

using platform::RegRoot;

constexpr std::size_t MaxDependencies = 100;
constexpr std::size_t NoIndex = static_cast<std::size_t>(-1);

// ASCII case folding, inline: the name comparisons run for every service of every pass.
char foldCase(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size())
    return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i] && foldCase(a[i]) != foldCase(b[i]))
      return false;
  }
  return true;
}

// Makes room for `count` records, keeping (and so reusing) the ones already there.
template <class Record>
void makeRoom(std::vector<Record>& table, std::size_t count) {
  if (count > table.size())
    table.resize(std::max(count, table.size() * 2));
}

void showError(const RefreshContext& context, const std::string& text) {
  context.dialogs.messageBox(text, "error", DialogIcon::Error, DialogButtons::Ok);
}

void setGroup(GroupRecord& group, std::string_view name, std::uint8_t listed) {
  group.Name = name;
  group.Listed = listed;
  group.Members.clear();
}

// Without a group order list every service is collected in entry 0; groups of earlier passes
// are not shown, since their members would no longer be current.
void readGroupOrder(const RefreshContext& context, Catalogue& catalogue) {
  platform::Registry& registry = context.MainRegistry;
  makeRoom(catalogue.GroupTable, 1);
  if (!registry.keyExists(RegRoot::LocalMachine, GroupOrderKey)) {
    showError(context, "Unable to open group list reg key!");
    setGroup(catalogue.GroupTable[0], NoGroupListEntryName, 0);
    catalogue.GroupCount = 1;
    return;
  }
  if (!registry.valueKind(RegRoot::LocalMachine, GroupOrderKey, "List")) {
    showError(context, "Unable to retrieve group list!");
    setGroup(catalogue.GroupTable[0], NoGroupListEntryName, 0);
    catalogue.GroupCount = 1;
    return;
  }
  const std::optional<std::string> bytes =
      registry.readBytes(RegRoot::LocalMachine, GroupOrderKey, "List", GroupListBufferBytes);
  const std::vector<std::string> names =
      bytes ? GroupOrderNames(*bytes, GroupListBufferBytes) : std::vector<std::string>();
  makeRoom(catalogue.GroupTable, names.size() + 1);
  setGroup(catalogue.GroupTable[0], UngroupedEntryName, 0);
  for (std::size_t k = 0; k < names.size(); ++k)
    setGroup(catalogue.GroupTable[k + 1], names[k], 1);
  catalogue.GroupCount = names.size() + 1;
}

// Reads every entry, continuing from the resume position while the answer does not fit. False
// when the platform fails; its last error then tells why.
bool enumerate(const RefreshContext& context) {
  std::vector<platform::EnumServiceEntry>& entries = context.EnumBuffer;
  entries.clear();
  std::size_t bufferSize = EnumBufferBytes;
  std::uint32_t resumeIndex = 0;
  for (;;) {
    const std::size_t before = entries.size();
    std::size_t bytesNeeded = 0;
    if (context.scm.enumServicesStatus(context.ScmHandle, platform::svctype::AllEnumerated,
                                       platform::state::EnumAll, bufferSize, entries, bytesNeeded,
                                       resumeIndex)) {
      return true;
    }
    if (context.scm.lastError() != platform::err::MoreData)
      return false;
    if (entries.size() == before) {
      // Not even the next entry fits: ask again with the room the platform names.
      if (bytesNeeded <= bufferSize)
        return false;
      bufferSize = bytesNeeded;
    }
  }
}

// A service that could not be opened or queried keeps what the enumeration told of it (names,
// type and state) and the marker of the failure; everything else is cleared.
void markFailed(ServiceRecord& record, const platform::EnumServiceEntry& entry,
                const char* marker) {
  record.FailMark = -1;
  record.Dependencies.clear();
  record.ServiceName = entry.serviceName;
  record.DisplayName = entry.displayName;
  record.GroupText.clear();
  record.StartTypeText.clear();
  record.DescriptionText = marker;
  record.ExecutablePath.clear();
  record.Account.clear();
  record.StartType = 0;
  record.ErrorControl = 0;
  record.ServiceType = static_cast<std::int32_t>(entry.status.serviceType);
  TypeTexts types = ServiceTypeTexts(record.ServiceType);
  record.TypeText = std::move(types.TypeText);
  record.InteractiveText = std::move(types.InteractiveText);
  record.State = entry.status.currentState;
  record.StateText = StateText(record.State);
  record.AcceptsStop = entry.status.controlsAccepted & platform::control::AcceptStop ? 1 : 0;
  record.AcceptsPause =
      entry.status.controlsAccepted & platform::control::AcceptPauseContinue ? 1 : 0;
}

void joinGroup(Catalogue& catalogue, const ServiceRecord& record) {
  std::vector<GroupRecord>& groups = catalogue.GroupTable;
  if (record.GroupText == NoGroupMarker || catalogue.GroupCount <= 1) {
    groups[0].Members.push_back(record.DisplayName);
    return;
  }
  makeRoom(groups, catalogue.GroupCount + 1);
  for (std::size_t k = 1; k < catalogue.GroupCount; ++k) {
    if (sameIgnoringCase(groups[k].Name, record.GroupText)) {
      groups[k].Members.push_back(record.DisplayName);
      return;
    }
  }
  GroupRecord& discovered = groups[catalogue.GroupCount];
  setGroup(discovered, record.GroupText, 0);
  discovered.Members.push_back(record.DisplayName);
  ++catalogue.GroupCount;
}

// The list's texts are written over the record's previous ones, so their storage is reused.
void readDependencies(ServiceRecord& record, std::string_view list) {
  std::vector<std::string>& dependencies = record.Dependencies;
  std::size_t count = 0;
  const auto next = [&]() -> std::string& {
    if (count == dependencies.size())
      dependencies.emplace_back();
    return dependencies[count++];
  };
  std::size_t position = 0;
  while (position < list.size() && count < MaxDependencies) {
    std::size_t end = list.find('\0', position);
    if (end == std::string_view::npos)
      end = list.size();
    const std::string_view name = list.substr(position, end - position);
    if (name.empty())
      break;
    if (name.front() == '+') {
      std::string& group = next();
      group.assign(GroupDependencyPrefix);
      group.append(name.substr(1));
    } else {
      next().assign(name);
    }
    position = end + 1;
  }
  if (count == 0)
    next().assign(NoneMarker);
  dependencies.resize(count);
}

// The text of a string or expandable string value; the kinds and the key are looked at only
// when there is none.
void readDescription(const RefreshContext& context, ServiceRecord& record) {
  platform::Registry& registry = context.MainRegistry;
  const std::string key = ServicesKey + record.ServiceName;
  std::optional<std::string> text = registry.readText(RegRoot::LocalMachine, key, "Description");
  if (text) {
    record.DescriptionText = std::move(*text);
  } else if (registry.valueKind(RegRoot::LocalMachine, key, "Description")) {
    record.DescriptionText = DescriptionNotTextMarker;
  } else if (registry.keyExists(RegRoot::LocalMachine, key)) {
    record.DescriptionText = UnavailableMarker;
  } else {
    record.DescriptionText = DescriptionKeyMissingMarker;
  }
}

bool queryConfig(const RefreshContext& context, platform::ScHandle service) {
  std::size_t bytesNeeded = 0;
  if (context.scm.queryServiceConfig(service, ConfigQueryBytes, context.ConfigBuffer,
                                     bytesNeeded)) {
    return true;
  }
  return context.scm.lastError() == platform::err::InsufficientBuffer &&
         bytesNeeded > ConfigQueryBytes &&
         context.scm.queryServiceConfig(service, bytesNeeded, context.ConfigBuffer, bytesNeeded);
}

void readService(const RefreshContext& context, Catalogue& catalogue, ServiceRecord& record,
                 const platform::EnumServiceEntry& entry) {
  platform::Scm& scm = context.scm;
  const platform::ScHandle service =
      scm.openService(context.ScmHandle, entry.serviceName, platform::access::ServiceAll);
  if (service == 0) {
    markFailed(record, entry, OpenServiceFailedMarker);
    return;
  }
  const char* failure = nullptr;
  if (!queryConfig(context, service)) {
    failure = QueryConfigFailedMarker;
  } else if (!scm.queryServiceStatus(service, context.StatusBuffer)) {
    failure = QueryStatusFailedMarker;
  }
  if (failure) {
    markFailed(record, entry, failure);
    scm.closeServiceHandle(service);
    return;
  }

  const platform::ServiceConfig& config = context.ConfigBuffer;
  const platform::ServiceStatus& status = context.StatusBuffer;
  record.FailMark = 0;
  record.ServiceName = entry.serviceName;
  record.DisplayName = entry.displayName;
  if (config.binaryPathName.empty()) {
    record.ExecutablePath = UnavailableMarker;
  } else {
    record.ExecutablePath = config.binaryPathName;
  }
  if (config.loadOrderGroup.empty()) {
    record.GroupText = NoGroupMarker;
  } else {
    record.GroupText = config.loadOrderGroup;
  }
  record.Account = config.serviceStartName;
  record.ErrorControl = static_cast<std::int32_t>(config.errorControl);
  joinGroup(catalogue, record);
  readDependencies(record, config.dependencies);
  record.AcceptsPause = status.controlsAccepted & platform::control::AcceptPauseContinue ? 1 : 0;
  record.AcceptsStop = status.controlsAccepted & platform::control::AcceptStop ? 1 : 0;
  record.ServiceType = static_cast<std::int32_t>(status.serviceType);
  TypeTexts types = ServiceTypeTexts(record.ServiceType);
  record.TypeText = std::move(types.TypeText);
  record.InteractiveText = std::move(types.InteractiveText);
  record.State = status.currentState;
  record.StateText = StateText(record.State);
  record.StartType = config.startType;
  record.StartTypeText = StartTypeText(record.StartType);
  readDescription(context, record);
  scm.closeServiceHandle(service);
}

struct IgnoreCaseHash {
  std::size_t operator()(std::string_view text) const {
    std::size_t hash = 14695981039346656037ull;
    for (const char c : text) {
      hash = (hash ^ static_cast<unsigned char>(foldCase(c))) * 1099511628211ull;
    }
    return hash;
  }
};

struct IgnoreCaseEqual {
  bool operator()(std::string_view a, std::string_view b) const { return sameIgnoringCase(a, b); }
};

// Each service lists, in table order and once each, the services whose dependencies name it.
void findDependents(Catalogue& catalogue) {
  const std::size_t count = catalogue.ServiceCount;
  std::vector<ServiceRecord>& table = catalogue.ServiceTable;
  // Services by key name; services of the same name are chained through nextSameName.
  std::unordered_map<std::string_view, std::size_t, IgnoreCaseHash, IgnoreCaseEqual> byName;
  byName.reserve(count);
  std::vector<std::size_t> nextSameName(count, NoIndex);
  for (std::size_t j = count; j-- > 0;) {
    auto [place, inserted] = byName.try_emplace(table[j].ServiceName, j);
    if (!inserted) {
      nextSameName[j] = place->second;
      place->second = j;
    }
  }
  std::vector<std::size_t> lastDependent(count, NoIndex);
  // Texts are written over the previous pass's ones, so their storage is reused.
  std::vector<std::size_t> dependentCount(count, 0);
  const auto addDependent = [&](std::size_t j, std::string_view name) {
    std::vector<std::string>& dependents = table[j].Dependents;
    if (dependentCount[j] == dependents.size())
      dependents.emplace_back();
    dependents[dependentCount[j]++].assign(name);
  };
  for (std::size_t i = 0; i < count; ++i) {
    for (const std::string& dependency : table[i].Dependencies) {
      const auto found = byName.find(dependency);
      if (found == byName.end())
        continue;
      for (std::size_t j = found->second; j != NoIndex; j = nextSameName[j]) {
        if (lastDependent[j] == i)
          continue;
        lastDependent[j] = i;
        addDependent(j, table[i].ServiceName);
      }
    }
  }
  for (std::size_t j = 0; j < count; ++j) {
    if (dependentCount[j] == 0)
      addDependent(j, NoneMarker);
    table[j].Dependents.resize(dependentCount[j]);
  }
}

}  // namespace

void RefreshCatalogue(const RefreshContext& context, Catalogue& catalogue) {
  if (!context.ScmAvailable) {
    catalogue.ServiceCount = 0;
    catalogue.GroupCount = 0;
    return;
  }
  readGroupOrder(context, catalogue);
  if (enumerate(context)) {
    const std::vector<platform::EnumServiceEntry>& entries = context.EnumBuffer;
    makeRoom(catalogue.ServiceTable, entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
      readService(context, catalogue, catalogue.ServiceTable[i], entries[i]);
    }
    catalogue.ServiceCount = entries.size();
  } else {
    showError(context, "error enumerating services: " + std::to_string(context.scm.lastError()));
    catalogue.ServiceCount = 0;
  }
  findDependents(catalogue);
}

}  // namespace corvane
