// Lorvin's window (TMainForm): a tool bar with Back, Forward, Stop, Refresh and Home, an address
// band with Follow Link, the browser and a status bar. It shows the page of its command line,
// keeps its placement in Corvane's settings file and closes itself once browse.flag is gone.
#pragma once

#include <QLineEdit>
#include <QMainWindow>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "lorvin/QtWebBrowser.h"
#include "lorvin/lorvin_command_line.h"
#include "lorvin/lorvin_marker.h"
#include "lorvin/lorvin_placement.h"

namespace lorvin {

inline constexpr const char* DefaultCaption = " Lorvin - light offline browser";

class TMainForm : public QMainWindow {
  Q_OBJECT

 public:
  TMainForm();

  // The window's creation after InstallDir is known: pages, command line, placement, marker.
  void FormCreate(const std::string& installDir, const std::vector<std::string>& arguments);

  // The window's top, left, width and height as Lorvin saves them.
  Placement CurrentPlacement() const;
  void SetPlacement(const Placement& placement);

  // Handlers, named after their control and event.
  void BBackClick();
  void BForwardClick();
  void BStopClick();
  void BRefreshClick();
  void BHomeClick();
  void BGoClick();
  void WebBrowserNavigateComplete2(const QString& url);
  void WebBrowserDocumentComplete(const QString& url);
  void TimerTimer();

  // A plain message box; replaced in tests.
  std::function<void(const std::string& text)> showMessage;

  std::string InstallDir;
  std::string StartPage;
  std::string HomePage;
  bool UseSavedPlacement = true;

  QToolBar* ButtonBand = nullptr;
  QToolButton* BBack = nullptr;
  QToolButton* BForward = nullptr;
  QToolButton* BStop = nullptr;
  QToolButton* BRefresh = nullptr;
  QToolButton* BHome = nullptr;
  QToolBar* AddressBand = nullptr;
  QLineEdit* Address = nullptr;
  QToolButton* BGo = nullptr;
  QtWebBrowser* WebBrowser = nullptr;
  QStatusBar* StatusBar = nullptr;
  QTimer* Timer = nullptr;
  // 0 to 5: Back, Forward, Stop, Refresh, Follow Link, Home; 6: the icon of help windows.
  std::array<QIcon, 7> ImageList;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  QToolButton* addButton(QToolBar* band, int image, const QString& hint);
  void FormShow();
  void FormClose();
  std::filesystem::path settingsFile() const;

  MarkerWatch marker_{std::filesystem::path()};
};

}  // namespace lorvin
