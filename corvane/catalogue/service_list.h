// The rows of the service list: what each row shows, which rows a filter keeps, how rows sort, and
// how a fill turns the catalogue into rows (a full fill rebuilds them, a quick fill changes only
// what differs).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "corvane/catalogue/catalogue.h"

namespace corvane {

// The roles of the images of the main window's image list Images, by index.
namespace image {
constexpr int ToolStart = 0;
constexpr int ToolRestart = 2;
constexpr int ToolPause = 4;
constexpr int ToolStop = 6;
constexpr int StateStopped = 8;
constexpr int StateRunning = 9;
constexpr int StatePaused = 10;
constexpr int StateOther = 11;
constexpr int Group = 12;
constexpr int Service = 13;
constexpr int NothingToShow = 14;
constexpr int GroupOutsideOrder = 15;
constexpr int AuditFailure = 17;
constexpr int EventError = 18;
constexpr int EventInformation = 19;
constexpr int EventWarning = 20;
constexpr int InvalidSnapshotEntry = 21;
constexpr int StartOther = 22;
constexpr int StartAutomatic = 23;
constexpr int StartDisabled = 24;
constexpr int ServiceNotInstalled = 25;
constexpr int EmptyGroup = 28;
constexpr int TreeDriver = 29;
constexpr int AuditSuccess = 31;
constexpr int StartManual = 33;
constexpr int RowService = 34;
constexpr int RowDriver = 35;
// The images drawn at start-up; icons taken from executables follow them.
constexpr int BaseImageCount = 36;
}  // namespace image

// The four filters of the services page, numbered as the settings file stores them.
enum class ServFilter { Services = 1, FileSystemDrivers = 2, KernelDrivers = 3, All = 4 };

bool passesServFilter(const ServiceRecord& record, ServFilter filter);

struct ServColumn {
  const char* caption;
  int width;
  int minWidth;
  int maxWidth;
  bool alignRight;
};

inline constexpr int ServColumnCount = 7;
inline constexpr int ServNameColumn = 1;
inline constexpr int ServStartTypeColumn = 2;
inline constexpr int ServStatusColumn = 3;
extern const std::array<ServColumn, ServColumnCount> ServColumns;

// A width brought within the column's limits; a negative width is kept as it is.
int clampServColumnWidth(int column, int width);

inline constexpr const char* ServListErrorCaption = " - error retrieving service list - ";

int startTypeImage(std::uint32_t startType);
int statusImage(std::uint32_t state);

// The file whose first icon becomes the row icon: the path cut right after its first ".exe",
// keeping a double quote that follows it; the whole path when it has no ".exe".
std::string iconExecutable(const std::string& executablePath);

// Texts compared as the list sorts them: letters alike whatever their case come together, and
// only then does case decide (lower before upper), so two names differing in case alone are
// never equal. Negative, zero or positive.
int compareServText(std::string_view a, std::string_view b);

struct ServRow {
  // The caption (Display Name) and the six cells, in column order.
  std::array<std::string, ServColumnCount> texts;
  // False for the error row, which has a caption only.
  bool hasCells = true;
  int rowImage = image::RowService;
  int startTypeImage = image::StartOther;
  int statusImage = image::StateOther;

  const std::string& serviceName() const { return texts[ServNameColumn]; }
};

// What one fill does to the rows, computed before anything changes.
struct ServListDiff {
  // The catalogue was empty: the list becomes the single error row.
  bool errorRow = false;
  // Rows of known services that change, with what they become.
  std::vector<std::pair<std::size_t, ServRow>> updates;
  // New rows, in catalogue order.
  std::vector<ServRow> additions;
  // The program began to close during the fill, which then stopped at that entry.
  bool stoppedByClosing = false;
};

struct ServFillHooks {
  // Asked before each entry; true stops the fill.
  std::function<bool()> closing;
  // The part done, in percent, before each entry.
  std::function<void(double)> progress;
  // The image of a row whose icon comes from its executable file (iconExecutable of its path):
  // the index of the icon added to Images, or image::RowService when the file yields none.
  std::function<int(const std::string&)> executableIcon;
};

class ServiceList {
 public:
  // `sortColumn` is the program-wide ServSortColumn.
  explicit ServiceList(int& sortColumn);

  const std::vector<ServRow>& rows() const { return rows_; }
  // The first row whose Name cell equals the key name exactly; -1 when none.
  std::ptrdiff_t findRow(const std::string& serviceName) const;

  // What filling from the catalogue changes in the present rows (a quick fill; a full fill
  // runs it after clear()). Texts are compared without regard to letter case.
  ServListDiff diff(const Catalogue& catalogue, ServFilter filter,
                    const ServFillHooks& hooks) const;
  void clear();
  // Applies the updates and the error row of a diff; the additions are left to appendRows.
  void applyUpdates(const ServListDiff& diff);
  void appendRows(std::vector<ServRow> rows);

  int sortColumn() const { return sortColumn_; }
  bool ascending(int column) const { return ascending_[static_cast<std::size_t>(column)]; }
  // ServListCompare: the order of two rows by the sort column and its direction.
  int compare(const ServRow& a, const ServRow& b) const;
  // ServListColumnClick: the same column turns its direction, another keeps its own; then sorts.
  void columnClick(int column);
  void sort();

 private:
  void indexRow(std::size_t row);

  int& sortColumn_;
  std::array<bool, ServColumnCount> ascending_;
  std::vector<ServRow> rows_;
  std::unordered_map<std::string, std::size_t> rowByName_;
};

// The whole fill of the list half of FillViews on the rows alone: used where no view watches.
ServListDiff fillServiceList(ServiceList& list, const Catalogue& catalogue, ServFilter filter,
                             bool fullRefresh, const ServFillHooks& hooks);

}  // namespace corvane
