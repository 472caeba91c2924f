#include "corvane/shell/settings.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <system_error>

#include "common/ini_document.h"
#include "common/text.h"

namespace corvane {

namespace {

constexpr ColorCode systemColor(int index) {
  return SystemColorBase + static_cast<ColorCode>(index);
}

// What a window can be given: positions and sizes beyond these keep the key's value.
constexpr int MinWindowPosition = -32768;
constexpr int MaxWindowPosition = 32767;
constexpr int MaxWindowExtent = 8192;
constexpr int MinFontSize = 1;
constexpr int MaxFontSize = 512;

// A value quoted in an error box is cut to this many bytes.
constexpr std::size_t MaxQuotedValue = 200;

constexpr const char* SectionColors = "Colors";
constexpr const char* SectionAutoRefresh = "AutoRefresh";
constexpr const char* SectionMiscellaneous = "Miscellaneous";
constexpr const char* SectionWindowStyle = "WindowStyle";
constexpr const char* SectionConsole = "Console";
constexpr const char* SectionRecForm = "RecForm";
constexpr const char* SectionOperation = "Operation";
constexpr const char* SectionPageControlState = "PageControlState";

std::string invalidIntegerText(std::string_view value) {
  std::string shown(value.substr(0, MaxQuotedValue));
  if (value.size() > MaxQuotedValue) {
    shown += "...";
  }
  return "'" + shown + "' is not a valid integer value";
}

// Reads keys in order until the first value that cannot be converted; from then on every key
// keeps its value.
class Reader {
 public:
  explicit Reader(const common::IniDocument& document) : document_(document) {}

  void integer(const char* section, const char* key, int& variable, int lowest = INT_MIN,
               int highest = INT_MAX) {
    const std::optional<std::string> text = value(section, key);
    if (!text) {
      return;
    }
    const std::optional<std::int32_t> number = common::parseInteger(*text);
    if (!number) {
      error_ = invalidIntegerText(*text);
    } else if (*number >= lowest && *number <= highest) {
      variable = *number;
    }
  }

  void flag(const char* section, const char* key, bool& variable) {
    int number = variable ? 1 : 0;
    integer(section, key, number);
    variable = number != 0;
  }

  // Never fails: a value that is not a number keeps the variable.
  void fontStyle(const char* section, const char* key, bool& variable) {
    if (const std::optional<std::string> text = value(section, key)) {
      if (const std::optional<std::int32_t> number = common::parseInteger(*text)) {
        variable = *number != 0;
      }
    }
  }

  void color(const char* section, const char* key, ColorCode& variable) {
    const std::optional<std::string> text = value(section, key);
    if (!text) {
      return;
    }
    if (const std::optional<ColorCode> code = colorFromString(*text)) {
      variable = *code;
    } else {
      error_ = invalidIntegerText(*text);
    }
  }

  void text(const char* section, const char* key, std::string& variable) {
    if (const std::optional<std::string> text = value(section, key)) {
      variable = *text;
    }
  }

  void bounds(const char* section, WindowBounds& bounds) {
    integer(section, "MainTop", bounds.Top, MinWindowPosition, MaxWindowPosition);
    integer(section, "MainLeft", bounds.Left, MinWindowPosition, MaxWindowPosition);
    integer(section, "MainWidth", bounds.Width, 0, MaxWindowExtent);
    integer(section, "MainHeight", bounds.Height, 0, MaxWindowExtent);
  }

  void columns(const ColumnSection& spec, ColumnLayout& layout) {
    for (std::size_t n = 0; n < layout.Widths.size(); ++n) {
      integer(spec.section, ("Column" + std::to_string(n)).c_str(), layout.Widths[n]);
    }
    for (std::size_t n = 0; n < layout.Positions.size(); ++n) {
      integer(spec.section, (spec.positionPrefix + std::to_string(n)).c_str(), layout.Positions[n]);
    }
  }

  const std::string& error() const { return error_; }

 private:
  // The key's text; nothing when it is missing or the reading has stopped.
  std::optional<std::string> value(const char* section, const char* key) const {
    if (!error_.empty() || !document_.valueExists(section, key)) {
      return std::nullopt;
    }
    return document_.readString(section, key, "");
  }

  const common::IniDocument& document_;
  std::string error_;
};

std::string flagText(bool on) {
  return on ? "1" : "0";
}

void writeInteger(common::IniDocument& document, const char* section, const std::string& key,
                  int value) {
  document.writeString(section, key, std::to_string(value));
}

void writeBounds(common::IniDocument& document, const char* section, const WindowBounds& bounds) {
  writeInteger(document, section, "MainTop", bounds.Top);
  writeInteger(document, section, "MainLeft", bounds.Left);
  writeInteger(document, section, "MainWidth", bounds.Width);
  writeInteger(document, section, "MainHeight", bounds.Height);
}

void writeColumns(common::IniDocument& document, const ColumnSection& spec,
                  const ColumnLayout& layout) {
  for (std::size_t n = 0; n < layout.Widths.size(); ++n) {
    writeInteger(document, spec.section, "Column" + std::to_string(n), layout.Widths[n]);
  }
  for (std::size_t n = 0; n < layout.Positions.size(); ++n) {
    writeInteger(document, spec.section, spec.positionPrefix + std::to_string(n),
                 layout.Positions[n]);
  }
}

void writeMainWindow(common::IniDocument& document, const Settings& settings) {
  writeInteger(document, SectionWindowStyle, "MainState", settings.MainState);
  writeInteger(document, SectionWindowStyle, "Panel4Height", settings.Panel4Height);
  writeInteger(document, SectionWindowStyle, "Panel2Width", settings.Panel2Width);
}

// A window of `size` centred on `on`; halves truncated towards zero.
int centred(int start, int extent, int size) {
  return start + (extent - size) / 2;
}

}  // namespace

const std::array<NamedColor, 52> ColorNames = {{
    {"clBlack", 0x00000000},
    {"clMaroon", 0x00000080},
    {"clGreen", 0x00008000},
    {"clOlive", 0x00008080},
    {"clNavy", 0x00800000},
    {"clPurple", 0x00800080},
    {"clTeal", 0x00808000},
    {"clGray", 0x00808080},
    {"clSilver", 0x00C0C0C0},
    {"clRed", 0x000000FF},
    {"clLime", 0x0000FF00},
    {"clYellow", 0x0000FFFF},
    {"clBlue", 0x00FF0000},
    {"clFuchsia", 0x00FF00FF},
    {"clAqua", 0x00FFFF00},
    {"clWhite", 0x00FFFFFF},
    {"clMoneyGreen", 0x00C0DCC0},
    {"clSkyBlue", 0x00F0CAA6},
    {"clCream", 0x00F0FBFF},
    {"clMedGray", 0x00A4A0A0},
    {"clActiveBorder", systemColor(10)},
    {"clActiveCaption", systemColor(2)},
    {"clAppWorkSpace", systemColor(12)},
    {"clBackground", systemColor(1)},
    {"clBtnFace", systemColor(15)},
    {"clBtnHighlight", systemColor(20)},
    {"clBtnShadow", systemColor(16)},
    {"clBtnText", systemColor(18)},
    {"clCaptionText", systemColor(9)},
    {"clDefault", clDefault},
    {"clGradientActiveCaption", systemColor(27)},
    {"clGradientInactiveCaption", systemColor(28)},
    {"clGrayText", systemColor(17)},
    {"clHighlight", systemColor(13)},
    {"clHighlightText", systemColor(14)},
    {"clHotLight", systemColor(26)},
    {"clInactiveBorder", systemColor(11)},
    {"clInactiveCaption", systemColor(3)},
    {"clInactiveCaptionText", systemColor(19)},
    {"clInfoBk", systemColor(24)},
    {"clInfoText", systemColor(23)},
    {"clMenu", systemColor(4)},
    {"clMenuBar", systemColor(30)},
    {"clMenuHighlight", systemColor(29)},
    {"clMenuText", systemColor(7)},
    {"clNone", clNone},
    {"clScrollBar", systemColor(0)},
    {"cl3DDkShadow", systemColor(21)},
    {"cl3DLight", systemColor(22)},
    {"clWindow", systemColor(5)},
    {"clWindowFrame", systemColor(6)},
    {"clWindowText", systemColor(8)},
}};

const std::array<ColorItemSpec, ColorItemCount> ColorItems = {{
    {"ServicesListtext", "List text", 0x00FFFFFF},
    {"Descriptiontext", "Description text", 0x0000FF00},
    {"Pathtext", "Path text", 0x00FFFFFF},
    {"Dependenciestext", "Dependencies text", 0x0000FFFF},
    {"FilterPaneltext", "FilterPanel text", 0x00000000},
    {"Grouptext", "Group text", 0x00FFFF00},
    {"ServicesListBk", "List background", 0x00000000},
    {"DescriptionBk", "Description background", 0x00000000},
    {"PathBk", "Path background", 0x00000000},
    {"DependenciesBk", "Dependencies background", 0x00000000},
    {"FilterPanelBk", "FilterPanel background", systemColor(15)},
    {"GroupBk", "Group background", 0x00000000},
    {"WindowBk", "Window background", systemColor(15)},
}};

const ColumnSection ServListColumnsSection{
    "ServListColumns", "s_", {300, 120, 80, 80, 100, 300, 100}};
const ColumnSection EventLogColumnsSection{
    "EventLogColumns", "e_", {110, 140, 150, 140, 60, 60, 60, 100, 100, 100}};
const ColumnSection SnapShotColumnsSection{"SnapShotColumns", "k_", {303, 120, 80, 80}};

std::string colorToString(ColorCode code) {
  for (const NamedColor& named : ColorNames) {
    if (named.code == code) {
      return named.name;
    }
  }
  char text[16];
  std::snprintf(text, sizeof text, "$%08X", static_cast<unsigned>(code));
  return text;
}

std::optional<ColorCode> colorFromString(std::string_view text) {
  for (const NamedColor& named : ColorNames) {
    if (common::equalsIgnoreCase(text, named.name)) {
      return named.code;
    }
  }
  if (const std::optional<std::int32_t> number = common::parseInteger(text)) {
    return static_cast<ColorCode>(*number);
  }
  // Codes of the upper half (system colours) are written in hexadecimal.
  std::string_view digits = text;
  if (!digits.empty() && digits.front() == '$') {
    digits.remove_prefix(1);
  } else if (digits.size() >= 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
    digits.remove_prefix(2);
  } else {
    return std::nullopt;
  }
  if (digits.empty() || digits.size() > 8) {
    return std::nullopt;
  }
  ColorCode code = 0;
  for (const char c : digits) {
    int digit = -1;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      return std::nullopt;
    }
    code = (code << 4) | static_cast<ColorCode>(digit);
  }
  return code;
}

bool ColumnLayout::positionsArePermutation() const {
  std::vector<bool> seen(Positions.size(), false);
  for (const int position : Positions) {
    if (position < 0 || static_cast<std::size_t>(position) >= Positions.size() ||
        seen[static_cast<std::size_t>(position)]) {
      return false;
    }
    seen[static_cast<std::size_t>(position)] = true;
  }
  return true;
}

ColumnLayout ColumnSection::initial() const {
  ColumnLayout layout;
  layout.Widths = initialWidths;
  for (std::size_t n = 0; n < initialWidths.size(); ++n) {
    layout.Positions.push_back(static_cast<int>(n));
  }
  return layout;
}

std::array<ColorCode, ColorItemCount> Settings::initialColors() {
  std::array<ColorCode, ColorItemCount> colors{};
  for (std::size_t i = 0; i < colors.size(); ++i) {
    colors[i] = ColorItems[i].initial;
  }
  return colors;
}

std::filesystem::path settingsFilePath(const std::string& installDir) {
  return std::filesystem::path(installDir) / "settings.ini";
}

ReadOutcome readSettings(const std::filesystem::path& file, Settings& settings,
                         const WindowBounds& mainWindowNow) {
  common::IniDocument document;
  ReadOutcome outcome;
  try {
    document = common::IniDocument::open(file);
  } catch (const common::IniError& failure) {
    // Every value stays; the placements below still run.
    outcome.error = failure.what();
  }
  Reader read(document);

  for (std::size_t i = 0; i < ColorItems.size(); ++i) {
    read.color(SectionColors, ColorItems[i].key, settings.Colors[i]);
  }
  read.integer(SectionAutoRefresh, "AutoRefreshEnabled", settings.AutoRefreshEnabled);
  read.integer(SectionAutoRefresh, "AutoRefreshInterval", settings.AutoRefreshInterval);
  read.flag(SectionAutoRefresh, "AutoRefreshEventLog", settings.AutoRefreshEventLog);
  read.flag(SectionAutoRefresh, "CustomPanel", settings.CustomPanel);
  read.flag(SectionMiscellaneous, "ShowWarnings", settings.ShowWarnings);

  read.bounds(SectionWindowStyle, settings.Main);
  read.columns(ServListColumnsSection, settings.ServListColumns);
  read.columns(EventLogColumnsSection, settings.EventLogColumns);
  read.columns(SnapShotColumnsSection, settings.SnapShotColumns);

  read.bounds(SectionConsole, settings.Console);
  read.text(SectionConsole, "FontName", settings.FontName);
  read.integer(SectionConsole, "FontSize", settings.FontSize, MinFontSize, MaxFontSize);
  read.fontStyle(SectionConsole, "FontBold", settings.FontBold);
  read.fontStyle(SectionConsole, "FontItalic", settings.FontItalic);
  read.fontStyle(SectionConsole, "FontUnderline", settings.FontUnderline);
  read.fontStyle(SectionConsole, "FontStrikeOut", settings.FontStrikeOut);
  read.bounds(SectionRecForm, settings.RecForm);
  read.flag(SectionConsole, "SaveSettings", settings.SaveSettings);
  read.flag(SectionConsole, "AutoHide", settings.AutoHide);
  read.flag(SectionOperation, "FullTree", settings.FullTree);

  WindowBounds& snapshot = settings.RecForm;
  if (snapshot.Top == 0 && snapshot.Left == 0) {
    snapshot.Top = centred(mainWindowNow.Top, mainWindowNow.Height, snapshot.Height);
    snapshot.Left = centred(mainWindowNow.Left, mainWindowNow.Width, snapshot.Width);
  }
  if (!settings.SaveSettings) {
    settings.Console.Width = 400;
    settings.Console.Height = 300;
    settings.Console.Top = centred(settings.Main.Top, settings.Main.Height, 300);
    settings.Console.Left = centred(settings.Main.Left, settings.Main.Width, 400);
  }
  if (!settings.AutoHide) {
    read.flag(SectionConsole, "LastState", settings.LastState);
  }

  read.integer(SectionWindowStyle, "MainState", settings.MainState);
  read.integer(SectionWindowStyle, "Panel4Height", settings.Panel4Height, 0, MaxWindowExtent);
  read.integer(SectionWindowStyle, "Panel2Width", settings.Panel2Width, 0, MaxWindowExtent);
  read.integer(SectionPageControlState, "ActivePage", settings.ActivePage);
  if (settings.CustomPanel) {
    read.integer(SectionPageControlState, "ServiceList", settings.ServiceList);
    read.integer(SectionPageControlState, "EventList", settings.EventList);
  }
  if (outcome.ok()) {
    outcome.error = read.error();
  }
  return outcome;
}

void writeSavedSettings(const std::filesystem::path& file, const Settings& settings) {
  common::IniDocument::modifyFile(file, [&settings](common::IniDocument& document) {
    for (std::size_t i = 0; i < ColorItems.size(); ++i) {
      document.writeString(SectionColors, ColorItems[i].key, colorToString(settings.Colors[i]));
    }
    writeInteger(document, SectionAutoRefresh, "AutoRefreshEnabled", settings.AutoRefreshEnabled);
    document.writeString(SectionAutoRefresh, "AutoRefreshEventLog",
                         flagText(settings.AutoRefreshEventLog));
    writeInteger(document, SectionAutoRefresh, "AutoRefreshInterval", settings.AutoRefreshInterval);
    document.writeString(SectionAutoRefresh, "CustomPanel", flagText(settings.CustomPanel));
    document.writeString(SectionMiscellaneous, "ShowWarnings", flagText(settings.ShowWarnings));

    writeBounds(document, SectionConsole, settings.Console);
    document.writeString(SectionConsole, "FontName", settings.FontName);
    writeInteger(document, SectionConsole, "FontSize", settings.FontSize);
    document.writeString(SectionConsole, "FontBold", flagText(settings.FontBold));
    document.writeString(SectionConsole, "FontItalic", flagText(settings.FontItalic));
    document.writeString(SectionConsole, "FontUnderline", flagText(settings.FontUnderline));
    document.writeString(SectionConsole, "FontStrikeOut", flagText(settings.FontStrikeOut));
    document.writeString(SectionConsole, "SaveSettings", flagText(settings.SaveSettings));
    document.writeString(SectionConsole, "AutoHide", flagText(settings.AutoHide));
    writeBounds(document, SectionRecForm, settings.RecForm);
    document.writeString(SectionOperation, "FullTree", flagText(settings.FullTree));
    writeBounds(document, SectionWindowStyle, settings.Main);
    writeMainWindow(document, settings);
  });
}

void writeCloseSettings(const std::filesystem::path& file, const Settings& settings) {
  common::IniDocument::modifyFile(file, [&settings](common::IniDocument& document) {
    writeBounds(document, SectionWindowStyle, settings.Main);
    writeColumns(document, ServListColumnsSection, settings.ServListColumns);
    writeColumns(document, EventLogColumnsSection, settings.EventLogColumns);
    writeColumns(document, SnapShotColumnsSection, settings.SnapShotColumns);
    if (settings.SaveSettings) {
      writeBounds(document, SectionConsole, settings.Console);
    }
    writeBounds(document, SectionRecForm, settings.RecForm);
    document.writeString(SectionConsole, "LastState", flagText(settings.LastState));
    writeMainWindow(document, settings);
    writeInteger(document, SectionPageControlState, "ActivePage", settings.ActivePage);
    writeInteger(document, SectionPageControlState, "ServiceList", settings.ServiceList);
    writeInteger(document, SectionPageControlState, "EventList", settings.EventList);
  });
}

bool deleteSettingsFile(const std::filesystem::path& file) {
  std::error_code error;
  std::filesystem::remove(file, error);
  return !error;
}

int autoRefreshPeriodMs(int intervalSeconds) {
  if (intervalSeconds <= 0) {
    return 0;
  }
  return static_cast<int>(std::min<long long>(intervalSeconds * 1000LL, INT_MAX));
}

int filterCode(const std::array<bool, 4>& checked) {
  int code = 0;
  for (int i = 0; i < 4; ++i) {
    if (checked[static_cast<std::size_t>(i)]) {
      code += i + 1;
    }
  }
  return code;
}

}  // namespace corvane
