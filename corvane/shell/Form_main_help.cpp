// The main window's help commands: each starts a new Lorvin on its page of the help folder.
#include <QApplication>

#include "corvane/shell/Form_main.h"
#include "corvane/shell/help_launch.h"
#include "corvane/shell/program_state.h"
#include "platform/platform.h"

namespace corvane {

void TMainForm::ConnectHelpCommands() {
  connect(mHelpContext, &QAction::triggered, this, &TMainForm::mHelpContextClick);
  connect(ContextHelp1, &QAction::triggered, this, &TMainForm::ContextHelp1Click);
  connect(IconsLegend1, &QAction::triggered, this, &TMainForm::IconsLegend1Click);
  connect(mAbout, &QAction::triggered, this, &TMainForm::mAboutClick);
}

void TMainForm::OpenHelpPage(const std::string& page) {
  corvane::OpenHelpPage(program_.InstallDir, page, machine_.processes(), dialogs_);
}

void TMainForm::mHelpContextClick() {
  OpenHelpPage(HelpIndexPage);
}

void TMainForm::ContextHelp1Click() {
  const QWidget* active = QApplication::activeWindow();
  if (active == nullptr) {
    return;
  }
  if (const std::optional<std::string> page =
          ContextHelpPage(active->windowTitle().toStdString(), PageControl->currentIndex())) {
    OpenHelpPage(*page);
  }
}

void TMainForm::IconsLegend1Click() {
  OpenHelpPage(HelpLegendPage);
}

void TMainForm::mAboutClick() {
  OpenHelpPage(HelpAboutPage);
}

}  // namespace corvane
