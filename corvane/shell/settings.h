// settings.ini: every preference and window placement of Corvane, one variable per key, with the
// reader and the two writers (the settings dialog's "&Save" and the main window's close).
//
// The windows fill in what they alone know (their current bounds, column widths, page and
// filters) before a reader or writer runs, and apply the values afterwards.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// A colour as the settings file holds it: $00BBGGRR for a plain colour, $80000000 plus the index
// of a display element for a system colour, and the two special codes.
using ColorCode = std::uint32_t;

inline constexpr ColorCode clNone = 0x1FFFFFFF;
inline constexpr ColorCode clDefault = 0x20000000;
inline constexpr ColorCode SystemColorBase = 0x80000000;

struct NamedColor {
  const char* name;
  ColorCode code;
};
// The 52 colour names in table order.
extern const std::array<NamedColor, 52> ColorNames;

// The first name of the code in table order, else "$" and eight upper-case hexadecimal digits.
std::string colorToString(ColorCode code);
// A colour name (letter case ignored) or an integer in decimal or, after "$" or "0x",
// hexadecimal (up to 32 bits); nothing for anything else.
std::optional<ColorCode> colorFromString(std::string_view text);
// A plain colour from its components.
constexpr ColorCode rgbColor(int red, int green, int blue) {
  return static_cast<ColorCode>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}

// The colour items of the Colors section, in table order.
enum ColorItem : int {
  ServicesListtext,
  Descriptiontext,
  Pathtext,
  Dependenciestext,
  FilterPaneltext,
  Grouptext,
  ServicesListBk,
  DescriptionBk,
  PathBk,
  DependenciesBk,
  FilterPanelBk,
  GroupBk,
  WindowBk,
  ColorItemCount
};
// The colours ApplyColors pushes to the windows: every item but WindowBk.
inline constexpr int AppliedColorCount = 12;

struct ColorItemSpec {
  const char* key;
  const char* listText;  // the settings dialog's list item
  ColorCode initial;
};
extern const std::array<ColorItemSpec, ColorItemCount> ColorItems;

struct WindowBounds {
  int Top = 0;
  int Left = 0;
  int Width = 0;
  int Height = 0;
  bool operator==(const WindowBounds&) const = default;
};

// The columns of one list: the width of each field (in its designed order) and the screen
// position of each field's column.
struct ColumnLayout {
  std::vector<int> Widths;
  std::vector<int> Positions;
  bool operator==(const ColumnLayout&) const = default;
  // Positions that hold every position 0 to n-1 once: the columns can be put in that order.
  bool positionsArePermutation() const;
};

struct ColumnSection {
  const char* section;
  const char* positionPrefix;  // "s_", "e_", "k_"
  std::vector<int> initialWidths;
  ColumnLayout initial() const;
};
extern const ColumnSection ServListColumnsSection;
extern const ColumnSection EventLogColumnsSection;
extern const ColumnSection SnapShotColumnsSection;

inline constexpr int MainStateNormal = 0;
inline constexpr int MainStateMinimized = 1;
inline constexpr int MainStateMaximized = 2;

// Every key of settings.ini that Corvane reads or writes, with its initial value.
struct Settings {
  std::array<ColorCode, ColorItemCount> Colors = initialColors();

  // AutoRefresh
  int AutoRefreshEnabled = 0;
  int AutoRefreshInterval = 30;  // seconds
  bool AutoRefreshEventLog = false;
  bool CustomPanel = false;
  // Miscellaneous
  bool ShowWarnings = true;

  // WindowStyle: the main window's normal bounds, state and the details area.
  WindowBounds Main{50, 50, 900, 640};
  int MainState = MainStateNormal;
  int Panel4Height = 160;
  int Panel2Width = 382;

  ColumnLayout ServListColumns = ServListColumnsSection.initial();
  ColumnLayout EventLogColumns = EventLogColumnsSection.initial();
  ColumnLayout SnapShotColumns = SnapShotColumnsSection.initial();

  // Console
  WindowBounds Console{0, 0, 400, 300};
  std::string FontName = "Tahoma";
  int FontSize = 8;
  bool FontBold = false;
  bool FontItalic = false;
  bool FontUnderline = false;
  bool FontStrikeOut = false;
  bool SaveSettings = true;
  bool AutoHide = true;
  bool LastState = false;  // the console was visible

  // RecForm: the snapshot window; top and left both 0 centre it on the main window.
  WindowBounds RecForm{0, 0, 600, 420};

  // Operation
  bool FullTree = true;

  // PageControlState
  int ActivePage = 0;
  int ServiceList = 1;  // 1 services, 2 file system drivers, 3 kernel drivers, 4 all
  int EventList = 1;    // 1 Application, 2 Security, 3 System, 4 all

  // "&Defaults" was confirmed: the close deletes settings.ini instead of writing it.
  bool ResetRequested = false;

  bool operator==(const Settings&) const = default;
  static std::array<ColorCode, ColorItemCount> initialColors();
};

// The settings file of the program folder.
std::filesystem::path settingsFilePath(const std::string& installDir);

struct ReadOutcome {
  // Empty when every key could be read; else the failure's message for the error box. Reading
  // stopped at that key: it and every later key kept their values.
  std::string error;
  bool ok() const { return error.empty(); }
};

// ReadSettings' reading part, in the file's order: every key is read with its variable as the
// default. `mainWindowNow` are the main window's bounds before the stored ones are applied; the
// snapshot window is centred on them when its top and left are both 0. The console is centred
// on the stored main bounds with the default size when SaveSettings is off. LastState is read
// only when AutoHide is off, ServiceList and EventList only when CustomPanel is on.
//
// A value that is not a number (or not a colour) stops the reading with the platform's text
// "'%s' is not a valid integer value"; a number outside what a window can use keeps the key's
// value as it was. A file that cannot be read leaves every value as it was and says why.
ReadOutcome readSettings(const std::filesystem::path& file, Settings& settings,
                         const WindowBounds& mainWindowNow);

// "&Save": colours, auto-refresh, warnings, console, snapshot window, tree mode and the main
// window's bounds, state and details area, into the file as it is on disk now. Throws
// common::IniError when the file cannot be read or written; it is then as it was.
void writeSavedSettings(const std::filesystem::path& file, const Settings& settings);

// The close: the main window's bounds, the three column sections, the console's bounds (when
// SaveSettings is on), the snapshot window's bounds, LastState, the main window's state and
// details area, the page and the filters. Throws as writeSavedSettings.
void writeCloseSettings(const std::filesystem::path& file, const Settings& settings);

// The close after "&Defaults": the file goes. False when it was there and could not be removed.
bool deleteSettingsFile(const std::filesystem::path& file);

// The auto-refresh timer's period for an interval in seconds; 0 (a timer that never fires) for
// an interval of 0 or less, and no more than the longest period a timer takes.
int autoRefreshPeriodMs(int intervalSeconds);

// The filter code written for the checked buttons: the sum of their numbers 1 to 4.
int filterCode(const std::array<bool, 4>& checked);

}  // namespace corvane
