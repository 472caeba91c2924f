#include "lorvin/Form_main.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QShowEvent>
#include <QStyle>

#include "common/ini_document.h"
#include "lorvin/lorvin_install_dir.h"

namespace lorvin {

namespace {

constexpr int TooltipShowMs = 30000;

// The Home button's picture: a house.
QIcon homeIcon() {
  QPixmap picture(32, 32);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(60, 60, 60), 2));
  painter.setBrush(QColor(200, 60, 40));
  painter.drawPolygon(QPolygonF({QPointF(3, 16), QPointF(16, 4), QPointF(29, 16)}));
  painter.setBrush(QColor(245, 235, 200));
  painter.drawRect(QRectF(7, 16, 18, 13));
  painter.setBrush(QColor(110, 70, 30));
  painter.drawRect(QRectF(13, 20, 6, 9));
  return QIcon(picture);
}

std::string helpPage(const std::string& installDir, const std::string& name) {
  return JoinPath(JoinPath(installDir, "help"), name);
}

}  // namespace

TMainForm::TMainForm() {
  setObjectName("MainForm");
  setWindowTitle(DefaultCaption);
  setMinimumSize(640, 480);
  move(307, 223);
  resize(710, 494);

  QStyle* look = style();
  ImageList = {
      look->standardIcon(QStyle::SP_ArrowBack),       look->standardIcon(QStyle::SP_ArrowForward),
      look->standardIcon(QStyle::SP_BrowserStop),     look->standardIcon(QStyle::SP_BrowserReload),
      look->standardIcon(QStyle::SP_CommandLink),     homeIcon(),
      look->standardIcon(QStyle::SP_DialogHelpButton)};

  ButtonBand = addToolBar("Buttons");
  ButtonBand->setMovable(false);
  BBack = addButton(ButtonBand, 0, "Back");
  BForward = addButton(ButtonBand, 1, "Forward");
  BStop = addButton(ButtonBand, 2, "Stop");
  BRefresh = addButton(ButtonBand, 3, "Refresh");
  BHome = addButton(ButtonBand, 5, "Home");
  connect(BBack, &QToolButton::clicked, this, &TMainForm::BBackClick);
  connect(BForward, &QToolButton::clicked, this, &TMainForm::BForwardClick);
  connect(BStop, &QToolButton::clicked, this, &TMainForm::BStopClick);
  connect(BRefresh, &QToolButton::clicked, this, &TMainForm::BRefreshClick);
  connect(BHome, &QToolButton::clicked, this, &TMainForm::BHomeClick);

  AddressBand = addToolBar("Address");
  AddressBand->setMovable(false);
  Address = new QLineEdit("about:blank", AddressBand);
  Address->setObjectName("Address");
  AddressBand->addWidget(Address);
  BGo = addButton(AddressBand, 4, "Follow Link");
  connect(BGo, &QToolButton::clicked, this, &TMainForm::BGoClick);
  connect(Address, &QLineEdit::returnPressed, this, &TMainForm::BGoClick);

  WebBrowser = new QtWebBrowser(this);
  WebBrowser->setObjectName("WebBrowser");
  setCentralWidget(WebBrowser);
  connect(WebBrowser, &QtWebBrowser::NavigateComplete2, this,
          &TMainForm::WebBrowserNavigateComplete2);
  connect(WebBrowser, &QtWebBrowser::DocumentComplete, this,
          &TMainForm::WebBrowserDocumentComplete);
  // The address of a link under the pointer.
  connect(WebBrowser, qOverload<const QUrl&>(&QTextBrowser::highlighted), this,
          [this](const QUrl& link) { StatusBar->showMessage(link.toDisplayString()); });

  StatusBar = statusBar();
  StatusBar->setObjectName("StatusBar");
  StatusBar->setSizeGripEnabled(true);

  Timer = new QTimer(this);
  Timer->setInterval(500);
  connect(Timer, &QTimer::timeout, this, &TMainForm::TimerTimer);
  Timer->start();

  showMessage = [this](const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(),
                    QString::fromStdString(text), QMessageBox::Ok, this);
    box.exec();
  };
}

QToolButton* TMainForm::addButton(QToolBar* band, int image, const QString& hint) {
  auto* button = new QToolButton(band);
  button->setIcon(ImageList[static_cast<std::size_t>(image)]);
  button->setToolTip(hint);
  button->setToolTipDuration(TooltipShowMs);
  button->setAutoRaise(true);
  band->addWidget(button);
  return button;
}

void TMainForm::FormCreate(const std::string& installDir,
                           const std::vector<std::string>& arguments) {
  InstallDir = installDir;
  const CommandLine line = ParseCommandLine(arguments, helpPage(InstallDir, "about Lorvin.html"));
  WebBrowser->SetOffline(!line.online);
  if (line.stayOnTop) {
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
  }
  HomePage = line.homePage;
  StartPage = line.startPage;
  if (line.captionGiven) {
    setWindowTitle(QString::fromStdString(line.caption));
    if (IsHelpCaption(line.caption)) {
      setWindowIcon(ImageList[6]);
    }
  }
  for (int i = 0; i < line.malformedPositions; ++i) {
    showMessage(CommandLineErrorText);
  }
  UseSavedPlacement = line.useSavedPlacement;
  SetPlacement(UseSavedPlacement ? ReadPlacementFile(settingsFile(), CurrentPlacement())
                                 : line.position);

  marker_ = MarkerWatch(PathOf(JoinPath(InstallDir, MarkerFileName)));
  marker_.Start();
}

Placement TMainForm::CurrentPlacement() const {
  return {x(), y(), width(), height()};
}

void TMainForm::SetPlacement(const Placement& placement) {
  resize(placement.width, placement.height);
  move(placement.left, placement.top);
}

std::filesystem::path TMainForm::settingsFile() const {
  return PathOf(JoinPath(InstallDir, "settings.ini"));
}

void TMainForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!event->spontaneous()) {
    FormShow();
  }
}

void TMainForm::FormShow() {
  WebBrowser->Navigate(QString::fromStdString(StartPage));
  Address->setText(QString::fromStdString(StartPage));
}

void TMainForm::BBackClick() {
  StatusBar->clearMessage();
  WebBrowser->GoBack();
}

void TMainForm::BForwardClick() {
  StatusBar->clearMessage();
  WebBrowser->GoForward();
}

void TMainForm::BStopClick() {
  StatusBar->clearMessage();
  WebBrowser->Stop();
}

void TMainForm::BRefreshClick() {
  StatusBar->clearMessage();
  WebBrowser->Refresh();
}

void TMainForm::BHomeClick() {
  WebBrowser->Navigate(QString::fromStdString(HomePage));
  Address->setText(QString::fromStdString(HomePage));
}

void TMainForm::BGoClick() {
  WebBrowser->Navigate(Address->text());
}

void TMainForm::WebBrowserNavigateComplete2(const QString& url) {
  Address->setText(url);
  StatusBar->clearMessage();
}

void TMainForm::WebBrowserDocumentComplete(const QString& url) {
  Address->setText(url);
  StatusBar->clearMessage();
}

void TMainForm::TimerTimer() {
  const TimerTick tick = OnTimerTick(WebBrowser->Busy(), marker_);
  BStop->setEnabled(tick.stopEnabled);
  if (tick.closeWindow) {
    close();
  }
}

void TMainForm::closeEvent(QCloseEvent* event) {
  FormClose();
  event->accept();
}

void TMainForm::FormClose() {
  Timer->stop();
  try {
    WritePlacementFile(settingsFile(), CurrentPlacement());
  } catch (const common::IniError&) {
    // An unreadable or unwritable settings file is left as it is; the placement is not kept.
  }
}

}  // namespace lorvin
