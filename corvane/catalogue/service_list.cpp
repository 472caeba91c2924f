#include "corvane/catalogue/service_list.h"

#include <algorithm>

#include "common/text.h"

namespace corvane {

const std::array<ServColumn, ServColumnCount> ServColumns = {{
    {"Display Name", 300, 30, 600, false},
    {"Name", 120, 30, 300, false},
    {"Startup Type", 80, 30, 200, false},
    {"Status", 80, 30, 200, false},
    {"Service Type", 100, 30, 200, false},
    {"Executable", 300, 30, 1000, false},
    {"Desktop Interactive", 100, 30, 200, true},
}};

bool passesServFilter(const ServiceRecord& record, ServFilter filter) {
  switch (filter) {
    case ServFilter::Services:
      return record.ServiceType != 1 && record.ServiceType != 2;
    case ServFilter::FileSystemDrivers:
      return record.ServiceType == 2;
    case ServFilter::KernelDrivers:
      return record.ServiceType == 1;
    case ServFilter::All:
      return true;
  }
  return true;
}

int clampServColumnWidth(int column, int width) {
  if (width < 0) {
    return width;
  }
  const ServColumn& spec = ServColumns[static_cast<std::size_t>(column)];
  return std::clamp(width, spec.minWidth, spec.maxWidth);
}

int startTypeImage(std::uint32_t startType) {
  switch (startType) {
    case 2:
      return image::StartAutomatic;
    case 3:
      return image::StartManual;
    case 4:
      return image::StartDisabled;
    default:
      return image::StartOther;
  }
}

int statusImage(std::uint32_t state) {
  switch (state) {
    case 1:
      return image::StateStopped;
    case 4:
      return image::StateRunning;
    case 7:
      return image::StatePaused;
    default:
      return image::StateOther;
  }
}

std::string iconExecutable(const std::string& executablePath) {
  const std::size_t exe = executablePath.find(".exe");
  if (exe == std::string::npos) {
    return executablePath;
  }
  std::size_t end = exe + 4;
  if (end < executablePath.size() && executablePath[end] == '"') {
    ++end;
  }
  return executablePath.substr(0, end);
}

int compareServText(std::string_view a, std::string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const auto x = static_cast<unsigned char>(common::toLowerAscii(a[i]));
    const auto y = static_cast<unsigned char>(common::toLowerAscii(b[i]));
    if (x != y) {
      return x < y ? -1 : 1;
    }
  }
  if (a.size() != b.size()) {
    return a.size() < b.size() ? -1 : 1;
  }
  // Alike but for case: the first difference decides, a lower-case letter first.
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i]) {
      return common::toLowerAscii(a[i]) == a[i] ? -1 : 1;
    }
  }
  return 0;
}

namespace {

std::array<const std::string*, ServColumnCount> entryTexts(const ServiceRecord& record) {
  return {&record.DisplayName, &record.ServiceName,    &record.StartTypeText,  &record.StateText,
          &record.TypeText,    &record.ExecutablePath, &record.InteractiveText};
}

// Brings `row` to what `record` shows; true when anything changed.
bool updateRow(ServRow& row, const ServiceRecord& record, int rowImage) {
  bool changed = false;
  if (!row.hasCells) {
    for (std::size_t cell = 1; cell < ServColumnCount; ++cell) {
      row.texts[cell].clear();
    }
    row.hasCells = true;
    changed = true;
  }
  const auto wanted = entryTexts(record);
  for (std::size_t column = 0; column < ServColumnCount; ++column) {
    if (!common::equalsIgnoreCase(row.texts[column], *wanted[column])) {
      row.texts[column] = *wanted[column];
      changed = true;
    }
  }
  const int images[3] = {rowImage, startTypeImage(record.StartType), statusImage(record.State)};
  int* present[3] = {&row.rowImage, &row.startTypeImage, &row.statusImage};
  for (int i = 0; i < 3; ++i) {
    if (*present[i] != images[i]) {
      *present[i] = images[i];
      changed = true;
    }
  }
  return changed;
}

}  // namespace

ServiceList::ServiceList(int& sortColumn) : sortColumn_(sortColumn) {
  ascending_.fill(true);
}

std::ptrdiff_t ServiceList::findRow(const std::string& serviceName) const {
  const auto found = rowByName_.find(serviceName);
  return found == rowByName_.end() ? -1 : static_cast<std::ptrdiff_t>(found->second);
}

ServListDiff ServiceList::diff(const Catalogue& catalogue, ServFilter filter,
                               const ServFillHooks& hooks) const {
  ServListDiff result;
  const std::size_t count = std::min(catalogue.ServiceCount, catalogue.ServiceTable.size());
  if (count == 0) {
    result.errorRow = true;
    return result;
  }
  // Rows this fill already touched, so that a name met twice finds its row as changed.
  std::unordered_map<std::size_t, std::size_t> updateOfRow;
  std::unordered_map<std::string, std::size_t> additionOfName;
  // Every service of one executable shares the icon taken from it once per fill.
  std::unordered_map<std::string, int> iconOfExecutable;

  for (std::size_t i = 0; i < count; ++i) {
    if (hooks.closing && hooks.closing()) {
      result.stoppedByClosing = true;
      return result;
    }
    if (hooks.progress) {
      hooks.progress(static_cast<double>(i) / static_cast<double>(count) * 100.0);
    }
    const ServiceRecord& record = catalogue.ServiceTable[i];
    if (!passesServFilter(record, filter)) {
      continue;
    }

    int rowImage = image::RowService;
    if (record.ServiceType == 1 || record.ServiceType == 2) {
      rowImage = image::RowDriver;
    } else if (record.ExecutablePath.find("svchost.exe") == std::string::npos &&
               hooks.executableIcon) {
      const std::string executable = iconExecutable(record.ExecutablePath);
      auto [cached, isNew] = iconOfExecutable.try_emplace(executable, image::RowService);
      if (isNew) {
        cached->second = hooks.executableIcon(executable);
      }
      rowImage = cached->second;
    }

    if (const auto added = additionOfName.find(record.ServiceName); added != additionOfName.end()) {
      updateRow(result.additions[added->second], record, rowImage);
      continue;
    }
    const std::ptrdiff_t row = findRow(record.ServiceName);
    if (row < 0) {
      ServRow fresh;
      fresh.rowImage = -1;  // differs from every image, so every field is set
      updateRow(fresh, record, rowImage);
      additionOfName.emplace(record.ServiceName, result.additions.size());
      result.additions.push_back(std::move(fresh));
      continue;
    }
    const auto index = static_cast<std::size_t>(row);
    if (const auto pending = updateOfRow.find(index); pending != updateOfRow.end()) {
      updateRow(result.updates[pending->second].second, record, rowImage);
      continue;
    }
    ServRow changed = rows_[index];
    if (updateRow(changed, record, rowImage)) {
      updateOfRow.emplace(index, result.updates.size());
      result.updates.emplace_back(index, std::move(changed));
    }
  }
  return result;
}

void ServiceList::clear() {
  rows_.clear();
  rowByName_.clear();
}

void ServiceList::applyUpdates(const ServListDiff& diff) {
  if (diff.errorRow) {
    clear();
    ServRow error;
    error.texts[0] = ServListErrorCaption;
    error.hasCells = false;
    rows_.push_back(std::move(error));
    indexRow(0);
    return;
  }
  for (const auto& [row, texts] : diff.updates) {
    rows_[row] = texts;
  }
}

void ServiceList::appendRows(std::vector<ServRow> rows) {
  rows_.reserve(rows_.size() + rows.size());
  for (ServRow& row : rows) {
    rows_.push_back(std::move(row));
    indexRow(rows_.size() - 1);
  }
}

void ServiceList::indexRow(std::size_t row) {
  rowByName_.emplace(rows_[row].serviceName(), row);
}

int ServiceList::compare(const ServRow& a, const ServRow& b) const {
  const auto column = static_cast<std::size_t>(sortColumn_);
  const int order = compareServText(a.texts[column], b.texts[column]);
  return ascending_[column] ? order : -order;
}

void ServiceList::columnClick(int column) {
  if (column < 0 || column >= ServColumnCount) {
    return;
  }
  if (column == sortColumn_) {
    ascending_[static_cast<std::size_t>(column)] = !ascending_[static_cast<std::size_t>(column)];
  } else {
    sortColumn_ = column;
  }
  sort();
}

void ServiceList::sort() {
  if (sortColumn_ < 0 || sortColumn_ >= ServColumnCount) {
    sortColumn_ = 0;
  }
  std::stable_sort(rows_.begin(), rows_.end(),
                   [this](const ServRow& a, const ServRow& b) { return compare(a, b) < 0; });
  rowByName_.clear();
  for (std::size_t row = 0; row < rows_.size(); ++row) {
    indexRow(row);
  }
}

ServListDiff fillServiceList(ServiceList& list, const Catalogue& catalogue, ServFilter filter,
                             bool fullRefresh, const ServFillHooks& hooks) {
  if (fullRefresh) {
    list.clear();
  }
  ServListDiff diff = list.diff(catalogue, filter, hooks);
  list.applyUpdates(diff);
  const bool added = !diff.additions.empty();
  list.appendRows(diff.additions);
  if (added) {
    list.sort();
  }
  return diff;
}

}  // namespace corvane
