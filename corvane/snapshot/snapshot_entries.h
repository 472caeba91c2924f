// The entries of the snapshot window: what each row shows (texts and icons), the entry check,
// the entries taken from the catalogue, editing and sorting. The window shows these rows.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "corvane/catalogue/catalogue.h"
#include "corvane/snapshot/snapshot_file.h"

namespace corvane {

// Field order of an entry, whatever the order of the columns on screen.
enum SnapshotField : int {
  FieldDisplayName = 0,
  FieldName = 1,
  FieldStartupType = 2,
  FieldStatus = 3,
};
inline constexpr int SnapshotFieldCount = 4;

const std::string& FieldText(const SnapshotEntry& entry, int field);

struct SnapshotRow {
  SnapshotEntry entry;
  // Indexes into the main window's image list; -1 for none.
  int rowImage = -1;
  int startTypeImage = -1;
  int statusImage = -1;
};

inline constexpr const char* RpcWarning =
    "The 'Remote Procedure Call' is a vital service and Windows\n will not be able to complete a "
    "successfully boot sequence if it\ncannot start this service. Therefore 'Remote Procedure "
    "Call' \nstart type was corrected to 'automatic'.";

// What the entry check looks at besides the entry.
struct EntryCheckContext {
  const Catalogue& catalogue;
  // The program is closing: the check does nothing.
  std::function<bool()> closing = {};
  // The ShowWarnings setting.
  bool showWarnings = false;
  // An information box with an OK button.
  std::function<void(const std::string&)> showInformation = {};
  // The row icon the main services list shows for a key name (compared without regard to case),
  // when the service is among its rows.
  std::function<std::optional<int>(const std::string&)> mainListImage = {};
};

// CheckEntry: validates the row and sets its icons (the 'Remote Procedure Call' correction
// included). False when the row is the "-options-" section and must be removed.
bool CheckEntry(SnapshotRow& row, const EntryCheckContext& context);

// The entries of the current configuration: every record but kernel and file system drivers,
// in table order. Stops at once when `closing` answers true.
std::vector<SnapshotEntry> EntriesFromCatalogue(const Catalogue& catalogue,
                                                const std::function<bool()>& closing);

// The rows of the window and their sort state.
class SnapshotList {
 public:
  SnapshotList();

  const std::vector<SnapshotRow>& rows() const { return rows_; }
  std::size_t size() const { return rows_.size(); }
  std::vector<SnapshotEntry> entries() const;

  void clear() { rows_.clear(); }
  // Appends the entry and checks it; false when the check removed it again.
  bool add(SnapshotEntry entry, const EntryCheckContext& context);
  // Appends a row that has been checked.
  void append(SnapshotRow row) { rows_.push_back(std::move(row)); }
  void remove(std::size_t row);

  // The editing commands: the field of every listed row is set and the row checked again.
  void setStatus(const std::vector<std::size_t>& rows, const std::string& status,
                 const EntryCheckContext& context);
  void setStartupType(const std::vector<std::size_t>& rows, const std::string& startupType,
                      const EntryCheckContext& context);

  int sortColumn() const { return sortColumn_; }
  bool ascending(int field) const { return ascending_[static_cast<std::size_t>(field)]; }
  // SnapshotColumnClick for the header at this screen position: the position of the sort column
  // turns its direction, another becomes the sort column with the direction it last had. Sorts
  // and returns what sort() returns; nothing for a position outside the four.
  std::vector<std::size_t> columnClick(int position);
  // SnapshotCompare: negative, zero or positive, by the sort field and its direction.
  int compare(const SnapshotRow& a, const SnapshotRow& b) const;
  // Sorts by the sort field and its direction, keeping equal rows in their order. Returns the new
  // position of each row by its old position.
  std::vector<std::size_t> sort();

 private:
  std::vector<SnapshotRow> rows_;
  int sortColumn_ = 0;
  std::array<bool, SnapshotFieldCount> ascending_;
};

}  // namespace corvane
