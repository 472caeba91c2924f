#include "corvane/shell/Form_settings.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPainter>
#include <QScreen>
#include <QTabBar>
#include <QVBoxLayout>

#include "common/ini_document.h"
#include "corvane/shell/Form_console.h"
#include "corvane/shell/Form_main.h"
#include "corvane/shell/QtColors.h"
#include "corvane/shell/program_state.h"

namespace corvane {

namespace {

const char* const ResetQuestion =
    "You chose to revert to the default settings \nand lose all customizations. If you press "
    "'Ok'\nCorvane will close now and the next time \nyou will start it defaults will be in use.";

// The lines of a note, one below the other.
QLabel* note(QWidget* parent, std::initializer_list<const char*> lines) {
  QStringList text;
  for (const char* line : lines) {
    text << QString(line).trimmed();
  }
  auto* label = new QLabel(text.join('\n'), parent);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return label;
}

QCheckBox* checkBox(QWidget* parent, const char* name, const char* caption) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(name);
  return box;
}

QIcon swatch(const QColor& colour) {
  QPixmap picture(24, 12);
  picture.fill(colour);
  QPainter painter(&picture);
  painter.setPen(Qt::black);
  painter.drawRect(0, 0, picture.width() - 1, picture.height() - 1);
  return QIcon(picture);
}

QColor textColour(ColorCode code) {
  return qtColor(code, QPalette::Text);
}

QColor backgroundColour(ColorCode code) {
  return qtColor(code, QPalette::Base);
}

}  // namespace

TSettings::TSettings(TMainForm& mainForm, TConsole& console, Dialogs& dialogs,
                     ProgramState& program)
    : QDialog(&mainForm, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                             Qt::MSWindowsFixedSizeDialogHint),
      mainForm_(mainForm),
      console_(console),
      dialogs_(dialogs),
      program_(program) {
  setObjectName("Settings");
  setWindowTitle("Settings");
  setFont(QFont("Tahoma", 8));
  setModal(true);

  PageControl = new QTabWidget(this);
  PageControl->setObjectName("PageControl");
  PageControl->tabBar()->setStyleSheet("QTabBar::tab { width: 80px; }");
  buildDisplayPage();
  buildConsolePage();
  buildOperationPage();

  reset = new QPushButton("&Defaults", this);
  reset->setObjectName("reset");
  ok = new QPushButton("&Save", this);
  ok->setObjectName("ok");
  ok->setDefault(true);
  cancel = new QPushButton("&Cancel", this);
  cancel->setObjectName("cancel");
  connect(reset, &QPushButton::clicked, this, &TSettings::resetClick);
  connect(ok, &QPushButton::clicked, this, &TSettings::okClick);
  connect(cancel, &QPushButton::clicked, this, &TSettings::reject);

  auto* bar = new QHBoxLayout;
  bar->addWidget(reset);
  bar->addStretch();
  bar->addWidget(ok);
  bar->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addWidget(PageControl, 1);
  layout->addLayout(bar);
  // The designed size, or what the texts need in a wider font than the designed one.
  setFixedSize(sizeHint().expandedTo(QSize(490, 337)));
  ok->setFocus();

  rememberedFont_ = consoleFont();
  mainForm_.SettingsDialog = this;
  FormCreate();
}

void TSettings::buildDisplayPage() {
  Display = new QWidget(PageControl);
  Display->setObjectName("Display");
  auto* columns = new QHBoxLayout(Display);

  auto* colours = new QVBoxLayout;
  colours->addWidget(note(Display, {"To change a color double click a list item."}));
  List = new QListWidget(Display);
  List->setObjectName("List");
  List->setIconSize(QSize(24, 12));
  for (const ColorItemSpec& item : ColorItems) {
    List->addItem(item.listText);
  }
  // Room for the longest item and its swatch.
  List->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  List->setFixedWidth(List->sizeHintForColumn(0) + List->iconSize().width() + 16 +
                      2 * List->frameWidth());
  connect(List, &QListWidget::itemDoubleClicked, this,
          [this](QListWidgetItem* item) { ListDblClick(List->row(item)); });
  colours->addWidget(List, 1);
  columns->addLayout(colours);

  auto* options = new QVBoxLayout;
  CheckBox2 = checkBox(Display, "CheckBox2", "Save active panel and filters settings");
  options->addWidget(CheckBox2);
  options->addWidget(
      note(Display,
           {"The program can remember both active ", "panel and filter settings for the next ",
            "session. However, reading 'System' section ",
            "from 'EventLog' (which is usualy big) and all ",
            "services may take a long time, so by ", "default 'ServiceList' page is filtered by ",
            "services and 'EventLog' page shows events ", "in the 'Application' section."}));
  options->addSpacing(8);
  auto* refresh = new QHBoxLayout;
  AutoRefresh = checkBox(Display, "AutoRefresh", "AutoRefresh every");
  SpinEdit = new QSpinBox(Display);
  SpinEdit->setObjectName("SpinEdit");
  SpinEdit->setRange(5, 600);
  connect(SpinEdit, &QSpinBox::textChanged, this, [this] { SpinEditChange(); });
  refresh->addWidget(AutoRefresh);
  refresh->addWidget(SpinEdit);
  refresh->addWidget(new QLabel("seconds", Display));
  refresh->addStretch();
  options->addLayout(refresh);
  options->addWidget(note(
      Display, {"Auto refresh is a processor consuming ", "feature, so use it with caution."}));
  options->addStretch();
  columns->addLayout(options, 1);
  PageControl->addTab(Display, "Display");
}

void TSettings::buildConsolePage() {
  ConsolePage = new QWidget(PageControl);
  ConsolePage->setObjectName("Console");
  auto* layout = new QVBoxLayout(ConsolePage);
  AutoHide = checkBox(ConsolePage, "AutoHide", "AutoHide Console");
  connect(AutoHide, &QCheckBox::clicked, this, &TSettings::AutoHideClick);
  layout->addWidget(AutoHide);
  layout->addWidget(
      note(ConsolePage,
           {"By default the console is shown only when ", "necessary and hid afterwards. However ",
            "you may wish to prevent the console from ", "being hidden away, and this can be done ",
            "unchecking the above box."}));
  layout->addSpacing(8);
  SaveConsole = checkBox(ConsolePage, "SaveConsole", "Save Console position and size");
  layout->addWidget(SaveConsole);
  layout->addWidget(
      note(ConsolePage, {"If unchecked the console will be centered ",
                         "on the Corvane main window and will have ", "the default size."}));
  layout->addSpacing(8);
  layout->addWidget(new QLabel("Change console font:", ConsolePage));
  ChangeFont = new QPushButton(ConsolePage);
  ChangeFont->setObjectName("ChangeFont");
  connect(ChangeFont, &QPushButton::clicked, this, &TSettings::ChangeFontClick);
  auto* fontRow = new QHBoxLayout;
  fontRow->addWidget(ChangeFont);
  fontRow->addStretch();
  layout->addLayout(fontRow);
  layout->addStretch();
  PageControl->addTab(ConsolePage, "Console");
}

void TSettings::buildOperationPage() {
  Operation = new QWidget(PageControl);
  Operation->setObjectName("Operation");
  auto* columns = new QHBoxLayout(Operation);
  auto* left = new QVBoxLayout;
  FullTree = checkBox(Operation, "FullTree", "Full dependencies/dependents tree");
  connect(FullTree, &QCheckBox::clicked, this, &TSettings::AutoHideClick);
  left->addWidget(FullTree);
  left->addWidget(
      note(Operation,
           {"If checked will force Corvane to display ", "all subdependencies/subdependents and ",
            "create a full tree. This may be annoying ",
            "since the program interface will be frozen ", "during the tree construction."}));
  left->addSpacing(8);
  CheckBox3 = checkBox(Operation, "CheckBox3", "Show warnings");
  left->addWidget(CheckBox3);
  left->addWidget(note(Operation, {"This controls the warning level. If you think ",
                                   "you know what you're doing, uncheck this ", "box."}));
  left->addStretch();
  columns->addLayout(left);

  auto* right = new QVBoxLayout;
  CheckBox1 = checkBox(Operation, "CheckBox1", "AutoRefresh EventLog");
  right->addWidget(CheckBox1);
  right->addWidget(note(
      Operation,
      {"If the EventLog has many entries, reading ", "it may take a long time, especialy on a ",
       "computer having a low speed processor. ", "You may choose not to have EventLog ",
       "updated every time other lists are ", "updated."}));
  right->addStretch();
  columns->addLayout(right);
  PageControl->addTab(Operation, "Operation");
}

void TSettings::FormCreate() {
  // A main window that does not fit on the screen is maximised at the top left corner.
  if (const QScreen* screen = mainForm_.screen()) {
    const QRect area = screen->geometry();
    if (mainForm_.y() + mainForm_.height() > area.height() ||
        mainForm_.x() + mainForm_.width() > area.width()) {
      mainForm_.move(0, 0);
      mainForm_.setWindowState(mainForm_.windowState() | Qt::WindowMaximized);
    }
  }
  PageControl->setCurrentIndex(0);
  if (program_.ShowMainFormAtStart) {
    mainForm_.show();
  }
}

void TSettings::ReadSettings() {
  if (settingsRead_) {
    return;
  }
  settingsRead_ = true;
  Settings& settings = program_.settings;
  settings.MainState = mainForm_.isMaximized()   ? MainStateMaximized
                       : mainForm_.isMinimized() ? MainStateMinimized
                                                 : MainStateNormal;
  mainForm_.StoreViewSettings(console_.isVisible());
  const WindowBounds mainNow{mainForm_.y(), mainForm_.x(), mainForm_.width(), mainForm_.height()};
  const ReadOutcome outcome =
      readSettings(settingsFilePath(program_.InstallDir), settings, mainNow);

  mainForm_.ApplyColumnSettings();
  mainForm_.ApplySnapshotWindowSettings();
  console_.move(settings.Console.Left, settings.Console.Top);
  console_.resize(settings.Console.Width, settings.Console.Height);
  console_.AutoHide = settings.AutoHide;
  if (!settings.AutoHide) {
    console_.setVisible(settings.LastState);
  }
  mainForm_.ApplyPageSettings();
  mainForm_.ApplyWindowSettings();
  SaveConsole->setChecked(settings.SaveSettings);
  AutoHide->setChecked(settings.AutoHide);

  CheckBox1->setChecked(settings.AutoRefreshEventLog);
  CheckBox2->setChecked(settings.CustomPanel);
  CheckBox3->setChecked(settings.ShowWarnings);
  AutoRefresh->setChecked(settings.AutoRefreshEnabled != 0);
  mainForm_.SetAutoRefresh(settings.AutoRefreshEnabled != 0, settings.AutoRefreshInterval);
  {
    // The box holds the interval within its range; the variable keeps what the file said.
    const QSignalBlocker quiet(SpinEdit);
    SpinEdit->setValue(settings.AutoRefreshInterval);
  }

  QFont font(QString::fromStdString(settings.FontName), settings.FontSize);
  font.setBold(settings.FontBold);
  font.setItalic(settings.FontItalic);
  font.setUnderline(settings.FontUnderline);
  font.setStrikeOut(settings.FontStrikeOut);
  setConsoleFont(font);
  rememberedFont_ = font;
  ApplyColors();

  if (!outcome.ok()) {
    dialogs_.messageBox(outcome.error, "error", DialogIcon::Error, DialogButtons::Ok);
  }
}

void TSettings::WriteSettings() {
  Settings& settings = program_.settings;
  mainForm_.StoreWindowSettings();
  const QFont font = consoleFont();
  settings.FontName = font.family().toStdString();
  settings.FontSize = font.pointSize();
  settings.FontBold = font.bold();
  settings.FontItalic = font.italic();
  settings.FontUnderline = font.underline();
  settings.FontStrikeOut = font.strikeOut();
  writeSavedSettings(settingsFilePath(program_.InstallDir), settings);
}

void TSettings::ApplyColors() {
  const std::array<ColorCode, ColorItemCount>& colors = program_.settings.Colors;
  try {
    const QColor listText = textColour(colors[ServicesListtext]);
    const QColor listBk = backgroundColour(colors[ServicesListBk]);
    for (QWidget* pane : std::initializer_list<QWidget*>{
             mainForm_.RefreshMsg, mainForm_.RefreshMsg2, mainForm_.RefreshMsg3,
             mainForm_.RefreshMsg4, mainForm_.ServList, mainForm_.Groups, mainForm_.EventLog}) {
      setPaneColors(pane, listText, listBk);
    }

    const QColor descriptionText = textColour(colors[Descriptiontext]);
    setPaneColors(mainForm_.Description, descriptionText, backgroundColour(colors[DescriptionBk]));
    setPaneBackground(mainForm_.Splitter2, backgroundColour(colors[DescriptionBk]));
    mainForm_.Description->setTextColor(descriptionText);
    QTextCursor all(mainForm_.Description->document());
    all.select(QTextCursor::Document);
    QTextCharFormat colourOnly;
    colourOnly.setForeground(descriptionText);
    all.mergeCharFormat(colourOnly);

    setPaneColors(mainForm_.Executable, textColour(colors[Pathtext]),
                  backgroundColour(colors[PathBk]));
    setPaneColors(mainForm_.Tree, textColour(colors[Dependenciestext]),
                  backgroundColour(colors[DependenciesBk]));
    for (QWidget* strip : {mainForm_.Panel, mainForm_.EventPanel}) {
      setPaneColors(strip, textColour(colors[FilterPaneltext]),
                    backgroundColour(colors[FilterPanelBk]));
    }
    setPaneColors(mainForm_.Group, textColour(colors[Grouptext]),
                  backgroundColour(colors[GroupBk]));
  } catch (const std::exception&) {
    dialogs_.messageBox("Exception error while applying color changes !", "error",
                        DialogIcon::Error, DialogButtons::Ok);
  }
}

void TSettings::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

void TSettings::FormShow() {
  // Centred on the main window.
  move(mainForm_.geometry().center() - rect().center());
  Settings& settings = program_.settings;
  settings.AutoRefreshInterval = mainForm_.Timer->interval() / 1000;
  {
    const QSignalBlocker quiet(SpinEdit);
    SpinEdit->setValue(settings.AutoRefreshInterval);
  }
  SpinEditChange();
  if (settings.AutoRefreshEnabled != 0 && mainForm_.Timer->interval() > 0) {
    mainForm_.Timer->start();
  } else {
    mainForm_.Timer->stop();
  }
  CheckBox1->setChecked(settings.AutoRefreshEventLog);
  CheckBox2->setChecked(settings.CustomPanel);
  CheckBox3->setChecked(settings.ShowWarnings);
  AutoRefresh->setChecked(settings.AutoRefreshEnabled != 0);
  FullTree->setChecked(settings.FullTree);
  const QFont font = consoleFont();
  ChangeFont->setText(QString("%1, size: %2").arg(font.family()).arg(font.pointSize()));
  List->setCurrentRow(0);
  colourSwatches();
  ok->setFocus();
}

void TSettings::colourSwatches() {
  const std::array<ColorCode, ColorItemCount>& colors = program_.settings.Colors;
  for (int item = 0; item < ColorItemCount; ++item) {
    const QColor colour = qtColor(colors[static_cast<std::size_t>(item)], QPalette::Base);
    QListWidgetItem* entry = List->item(item);
    entry->setData(Qt::UserRole, colour);
    entry->setIcon(swatch(colour));
  }
}

QColor TSettings::SwatchColor(int item) const {
  return List->item(item)->data(Qt::UserRole).value<QColor>();
}

void TSettings::ListDblClick(int item) {
  if (item < 0 || item >= AppliedColorCount) {
    return;
  }
  ColorCode& colour = program_.settings.Colors[static_cast<std::size_t>(item)];
  if (const std::optional<std::uint32_t> chosen = dialogs_.chooseColor(rgbOf(colour))) {
    colour = *chosen & 0x00FFFFFF;
  }
  colourSwatches();
}

void TSettings::SpinEditChange() {
  bool isNumber = false;
  SpinEdit->cleanText().toInt(&isNumber);
  program_.settings.AutoRefreshInterval = isNumber ? SpinEdit->value() : 5;
}

void TSettings::AutoHideClick() {
  program_.settings.AutoHide = AutoHide->isChecked();
  console_.AutoHide = program_.settings.AutoHide;
}

QFont TSettings::consoleFont() const {
  return console_.Display->document()->defaultFont();
}

void TSettings::setConsoleFont(const QFont& font) {
  console_.SetConsoleFont(font);
}

void TSettings::ChangeFontClick() {
  const QFont current = consoleFont();
  rememberedFont_ = current;
  FontChoice initial;
  initial.family = current.family().toStdString();
  initial.pointSize = current.pointSize();
  initial.bold = current.bold();
  initial.italic = current.italic();
  initial.underline = current.underline();
  initial.strikeOut = current.strikeOut();
  const std::optional<FontChoice> chosen =
      dialogs_.chooseFontWithApply(initial, [this](const FontChoice& font) { ChFontApply(font); });
  if (chosen) {
    ChFontApply(*chosen);
  } else {
    setConsoleFont(rememberedFont_);
  }
}

void TSettings::ChFontApply(const FontChoice& choice) {
  QFont font(QString::fromStdString(choice.family), choice.pointSize > 0 ? choice.pointSize : 8);
  font.setBold(choice.bold);
  font.setItalic(choice.italic);
  font.setUnderline(choice.underline);
  font.setStrikeOut(choice.strikeOut);
  setConsoleFont(font);
}

void TSettings::okClick() {
  Settings& settings = program_.settings;
  settings.AutoRefreshEventLog = CheckBox1->isChecked();
  settings.CustomPanel = CheckBox2->isChecked();
  settings.ShowWarnings = CheckBox3->isChecked();
  settings.AutoRefreshEnabled = AutoRefresh->isChecked() ? 1 : 0;
  settings.AutoHide = AutoHide->isChecked();
  settings.SaveSettings = SaveConsole->isChecked();
  settings.FullTree = FullTree->isChecked();
  console_.AutoHide = settings.AutoHide;
  mainForm_.SetAutoRefresh(settings.AutoRefreshEnabled != 0, settings.AutoRefreshInterval);
  ApplyColors();
  try {
    WriteSettings();
  } catch (const common::IniError& failure) {
    // The new values are in effect; the dialog stays open.
    dialogs_.messageBox(failure.what(), "error", DialogIcon::Error, DialogButtons::Ok);
    return;
  }
  accept();
}

void TSettings::reject() {
  cancelClick();
}

void TSettings::cancelClick() {
  QDialog::reject();
  // Only the name goes back; the size and style stay as chosen.
  QFont font = consoleFont();
  font.setFamily(rememberedFont_.family());
  setConsoleFont(font);
}

void TSettings::resetClick() {
  if (dialogs_.messageBox(ResetQuestion, "Corvane", DialogIcon::Warning, DialogButtons::OkCancel) !=
      DialogResult::Ok) {
    return;
  }
  program_.settings.ResetRequested = true;
  QDialog::reject();
  mainForm_.close();
}

}  // namespace corvane
