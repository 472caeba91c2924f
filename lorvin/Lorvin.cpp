// Lorvin's entry: InstallDir from the per-user registry value, the window, the message loop.
// Every start opens a new window.
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QProxyStyle>
#include <QScreen>
#include <exception>
#include <memory>

#include "lorvin/Form_main.h"
#include "lorvin/lorvin_install_dir.h"

#ifdef _WIN32
#include "platform/win32/win32_registry.h"
#else
#include <mutex>

#include "platform/sim/sim_registry.h"
#endif

namespace {

// Hints show after 1000 ms, follow at once within 500 ms from one control to the next.
class HintTiming : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    if (hint == QStyle::SH_ToolTip_WakeUpDelay) {
      return 1000;
    }
    if (hint == QStyle::SH_ToolTip_FallAsleepDelay) {
      return 500;
    }
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }
};

// A registry that cannot be opened at all is as silent as one without the value.
std::string installDir(const std::string& programFolder) {
  try {
#ifdef _WIN32
    platform::win32::Win32Registry registry;
    return lorvin::FindInstallDir(registry, programFolder);
#else
    // Only the per-user hive is read; the computer's own hive is of no concern to Lorvin.
    platform::sim::RegistryKey noMachine("HKEY_LOCAL_MACHINE");
    std::recursive_mutex noMachineLock;
    platform::sim::SimRegistry registry(noMachine, noMachineLock, {});
    return lorvin::FindInstallDir(registry, programFolder);
#endif
  } catch (const std::exception&) {
    return programFolder;
  }
}

// The window moved (and shrunk) to lie wholly on its monitor.
void fitOnMonitor(lorvin::TMainForm& window) {
  const QScreen* screen = window.screen();
  if (screen == nullptr) {
    return;
  }
  const QRect area = screen->availableGeometry();
  const QRect frame = window.frameGeometry();
  const int frameWidth = frame.width() - window.width();
  const int frameHeight = frame.height() - window.height();
  const lorvin::Placement fitted =
      lorvin::FitInside({frame.x(), frame.y(), frame.width(), frame.height()},
                        {area.x(), area.y(), area.width(), area.height()});
  window.resize(fitted.width - frameWidth, fitted.height - frameHeight);
  window.move(fitted.left, fitted.top);
}

int run(QApplication& application) {
  const std::string programFolder =
      QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toStdString();
  QStringList arguments = application.arguments();
  arguments.removeFirst();
  std::vector<std::string> commandLine;
  for (const QString& argument : arguments) {
    commandLine.push_back(argument.toStdString());
  }

  lorvin::TMainForm MainForm;
  MainForm.FormCreate(installDir(programFolder), commandLine);
  MainForm.show();
  QCoreApplication::processEvents();
  fitOnMonitor(MainForm);
  return application.exec();
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName("Lorvin");
  QApplication::setStyle(new HintTiming);
  try {
    return run(application);
  } catch (const std::exception& failure) {
    QMessageBox::critical(nullptr, "Lorvin", QString::fromLocal8Bit(failure.what()));
  }
  return 0;
}
