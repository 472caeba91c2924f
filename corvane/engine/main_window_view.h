// The main window as the launcher and the completion routine see it. TMainForm implements it; the
// controls carry the names the main window gives them.
#pragma once

#include <string>

#include "corvane/engine/worker_host.h"

namespace corvane {

enum class MainControl {
  MainForm,
  PageControl,
  ToolBar,
  Refresh,
  Panel,       // the services filter strip
  EventPanel,  // the event-log filter strip
  Description,
  RefreshMsg,  // the cover panels "Please wait. Retrieving data..." of the three pages
  RefreshMsg2,
  RefreshMsg3,
  ToolButton1,  // Start, Restart, Pause, Stop
  ToolButton2,
  ToolButton3,
  ToolButton4,
  SpeedButton1,  // Boot, System, Automatic, Manual, Disabled, "man && stop", "auto && start"
  SpeedButton2,
  SpeedButton3,
  SpeedButton4,
  SpeedButton5,
  SpeedButton6,
  SpeedButton7,
  RadioButton1,  // services filters: Services, File system drivers, Kernel drivers, All
  RadioButton2,
  RadioButton3,
  RadioButton4,
  RadioButton5,  // event filters: Application, Security, System, All
  RadioButton6,
  RadioButton7,
  RadioButton8,
  mServices,  // the menu commands of the filters, Refresh All and the snapshots
  mFilesystemdrivers,
  mKerneldrivers,
  mAll,
  mApplication,
  mSecurity,
  mSystem,
  mAllEvents,
  mRefresh,
  mTake,
  mLoad,
};

class MainWindowView {
 public:
  virtual ~MainWindowView() = default;

  virtual void SetEnabled(MainControl control, bool enabled) = 0;
  virtual void SetVisible(MainControl control, bool visible) = 0;
  // Radio buttons and menu items.
  virtual void SetChecked(MainControl control, bool checked) = 0;
  virtual bool IsChecked(MainControl control) = 0;
  // Paints the control now, without waiting for the event loop.
  virtual void Repaint(MainControl control) = 0;
  virtual void ProcessMessages() = 0;

  virtual MainPage ActivePage() = 0;
  virtual void ShowServicesPage() = 0;
  virtual void SetStatusText(int panel, const std::string& text) = 0;

  // The AutoRefresh EventLog setting.
  virtual bool AutoRefreshEventLog() = 0;
  // FillViews: the service list and the groups tree from the catalogue.
  virtual void FillViews() = 0;
  // The event-log list from the open logs.
  virtual void FillEventList() = 0;
  // The snapshot window: load the file chosen for the load request, or FillFromCatalogue; show.
  virtual void LoadSnapshotWindowFile() = 0;
  virtual void FillSnapshotFromCatalogue() = 0;
  virtual void ShowSnapshotWindow() = 0;
  // The console's button caption ("Hide" after every request).
  virtual void SetConsoleButtonCaption(const std::string& caption) = 0;
  virtual void PageControlChange() = 0;
};

}  // namespace corvane
