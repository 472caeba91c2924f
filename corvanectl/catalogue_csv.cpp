#include "corvanectl/catalogue_csv.h"

#include <initializer_list>

namespace corvanectl {

namespace {

void writeRow(std::ostream& out, std::initializer_list<std::string_view> fields) {
  bool first = true;
  for (const std::string_view field : fields) {
    if (!first)
      out << ',';
    out << csvField(field);
    first = false;
  }
  out << '\n';
}

}  // namespace

std::string csvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos)
    return std::string(text);
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"')
      quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

bool passesFilter(std::int32_t serviceType, ListFilter filter) {
  switch (filter) {
    case ListFilter::Services:
      return serviceType != 1 && serviceType != 2;
    case ListFilter::FileSystemDrivers:
      return serviceType == 2;
    case ListFilter::KernelDrivers:
      return serviceType == 1;
    case ListFilter::All:
      return true;
  }
  return false;
}

void writeServiceList(std::ostream& out, const corvane::Catalogue& catalogue, ListFilter filter) {
  writeRow(out, {"Display Name", "Name", "Startup Type", "Status", "Service Type", "Executable",
                 "Desktop Interactive"});
  for (std::size_t i = 0; i < catalogue.ServiceCount; ++i) {
    const corvane::ServiceRecord& record = catalogue.ServiceTable[i];
    if (!passesFilter(record.ServiceType, filter))
      continue;
    writeRow(out, {record.DisplayName, record.ServiceName, record.StartTypeText, record.StateText,
                   record.TypeText, record.ExecutablePath, record.InteractiveText});
  }
}

void writeGroups(std::ostream& out, const corvane::Catalogue& catalogue) {
  writeRow(out, {"Group", "Listed", "Member"});
  for (std::size_t k = 0; k < catalogue.GroupCount; ++k) {
    const corvane::GroupRecord& group = catalogue.GroupTable[k];
    const std::string_view listed = group.Listed ? "1" : "0";
    if (group.Members.empty())
      writeRow(out, {group.Name, listed, ""});
    for (const std::string& member : group.Members)
      writeRow(out, {group.Name, listed, member});
  }
}

}  // namespace corvanectl
