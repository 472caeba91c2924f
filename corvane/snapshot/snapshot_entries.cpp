#include "corvane/snapshot/snapshot_entries.h"

#include <algorithm>

#include "common/text.h"
#include "corvane/catalogue/service_list.h"

namespace corvane {

namespace {

int statusImageOf(const std::string& status) {
  if (status == "started")
    return image::StateRunning;
  if (status == "stopped")
    return image::StateStopped;
  return image::InvalidSnapshotEntry;
}

int startTypeImageOf(const std::string& startupType) {
  if (startupType == "automatic")
    return image::StartAutomatic;
  if (startupType == "manual")
    return image::StartManual;
  if (startupType == "disabled")
    return image::StartDisabled;
  return image::InvalidSnapshotEntry;
}

bool isRpc(const SnapshotEntry& entry) {
  return common::equalsIgnoreCase(entry.Name, "RpcSs") ||
         common::equalsIgnoreCase(entry.DisplayName, "Remote Procedure Call (RPC)");
}

}  // namespace

const std::string& FieldText(const SnapshotEntry& entry, int field) {
  switch (field) {
    case FieldName:
      return entry.Name;
    case FieldStartupType:
      return entry.StartupType;
    case FieldStatus:
      return entry.Status;
    default:
      return entry.DisplayName;
  }
}

bool CheckEntry(SnapshotRow& row, const EntryCheckContext& context) {
  if (context.closing && context.closing())
    return true;
  SnapshotEntry& entry = row.entry;
  if (entry.Name == SnapshotOptionsSection || entry.DisplayName == SnapshotOptionsSection)
    return false;

  row.statusImage = statusImageOf(entry.Status);
  row.startTypeImage = startTypeImageOf(entry.StartupType);
  if (row.statusImage == image::InvalidSnapshotEntry ||
      row.startTypeImage == image::InvalidSnapshotEntry) {
    row.rowImage = image::InvalidSnapshotEntry;
  }

  const Catalogue& catalogue = context.catalogue;
  for (std::size_t i = 0; i < catalogue.ServiceCount; ++i) {
    if (!common::equalsIgnoreCase(catalogue.ServiceTable[i].ServiceName, entry.Name)) {
      row.rowImage = image::ServiceNotInstalled;
      continue;
    }
    if (isRpc(entry) && entry.StartupType != "automatic" && entry.StartupType != "manual") {
      if (context.showWarnings && context.showInformation)
        context.showInformation(RpcWarning);
      entry.StartupType = "automatic";
      row.startTypeImage = image::StartAutomatic;
    }
    row.rowImage = image::RowService;
    if (context.mainListImage) {
      if (const std::optional<int> listed = context.mainListImage(entry.Name))
        row.rowImage = *listed;
    }
    break;
  }

  if (entry.DisplayName == MissingEntryValue)
    row.rowImage = image::InvalidSnapshotEntry;
  return true;
}

std::vector<SnapshotEntry> EntriesFromCatalogue(const Catalogue& catalogue,
                                                const std::function<bool()>& closing) {
  std::vector<SnapshotEntry> entries;
  for (std::size_t i = 0; i < catalogue.ServiceCount; ++i) {
    if (closing && closing())
      break;
    const ServiceRecord& record = catalogue.ServiceTable[i];
    if (record.ServiceType == 1 || record.ServiceType == 2)
      continue;
    const bool started = record.StateText == "running" || record.StateText == "paused";
    entries.push_back({record.ServiceName, record.DisplayName, record.StartTypeText,
                       started ? "started" : "stopped"});
  }
  return entries;
}

SnapshotList::SnapshotList() {
  ascending_.fill(true);
}

std::vector<SnapshotEntry> SnapshotList::entries() const {
  std::vector<SnapshotEntry> all;
  all.reserve(rows_.size());
  for (const SnapshotRow& row : rows_)
    all.push_back(row.entry);
  return all;
}

bool SnapshotList::add(SnapshotEntry entry, const EntryCheckContext& context) {
  SnapshotRow row;
  row.entry = std::move(entry);
  if (!CheckEntry(row, context))
    return false;
  rows_.push_back(std::move(row));
  return true;
}

void SnapshotList::remove(std::size_t row) {
  if (row < rows_.size())
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(row));
}

void SnapshotList::setStatus(const std::vector<std::size_t>& rows, const std::string& status,
                             const EntryCheckContext& context) {
  for (const std::size_t row : rows) {
    if (row < rows_.size()) {
      rows_[row].entry.Status = status;
      CheckEntry(rows_[row], context);
    }
  }
}

void SnapshotList::setStartupType(const std::vector<std::size_t>& rows,
                                  const std::string& startupType,
                                  const EntryCheckContext& context) {
  for (const std::size_t row : rows) {
    if (row < rows_.size()) {
      rows_[row].entry.StartupType = startupType;
      CheckEntry(rows_[row], context);
    }
  }
}

std::vector<std::size_t> SnapshotList::columnClick(int position) {
  if (position < 0 || position >= SnapshotFieldCount)
    return {};
  if (position == sortColumn_) {
    ascending_[static_cast<std::size_t>(position)] =
        !ascending_[static_cast<std::size_t>(position)];
  } else {
    sortColumn_ = position;
  }
  return sort();
}

int SnapshotList::compare(const SnapshotRow& a, const SnapshotRow& b) const {
  const int order =
      compareServText(FieldText(a.entry, sortColumn_), FieldText(b.entry, sortColumn_));
  return ascending(sortColumn_) ? order : -order;
}

std::vector<std::size_t> SnapshotList::sort() {
  std::vector<std::size_t> order(rows_.size());
  for (std::size_t i = 0; i < order.size(); ++i)
    order[i] = i;
  std::stable_sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
    return compare(rows_[a], rows_[b]) < 0;
  });
  std::vector<SnapshotRow> sorted;
  sorted.reserve(rows_.size());
  std::vector<std::size_t> newPosition(rows_.size());
  for (std::size_t i = 0; i < order.size(); ++i) {
    newPosition[order[i]] = i;
    sorted.push_back(std::move(rows_[order[i]]));
  }
  rows_ = std::move(sorted);
  return newPosition;
}

}  // namespace corvane
