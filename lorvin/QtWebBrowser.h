// Lorvin's browser component (WebBrowser): a rich-text browser over local HTML pages with the
// operations the window uses (navigate, back, forward, stop, refresh, busy, location, offline
// mode) and its two completion events. Pages load synchronously, so the component is busy only
// while a navigation runs.
#pragma once

#include <QString>
#include <QTextBrowser>
#include <QUrl>

namespace lorvin {

class QtWebBrowser : public QTextBrowser {
  Q_OBJECT

 public:
  explicit QtWebBrowser(QWidget* parent = nullptr);

  // A file path (optionally "#anchor") or an address. Offline, only local files and about:blank
  // are shown; online, other addresses are handed to the desktop's web browser.
  void Navigate(const QString& page);
  void GoBack();
  void GoForward();
  // Pages load synchronously: by the time a click arrives nothing is loading any more.
  void Stop() {}
  void Refresh();
  bool Busy() const { return busy_; }
  QString LocationURL() const { return location_.toString(); }
  void SetOffline(bool offline) { offline_ = offline; }
  bool Offline() const { return offline_; }

  // Files larger than this are not shown.
  static constexpr qint64 MaxPageBytes = 16 * 1024 * 1024;

 signals:
  void NavigateComplete2(const QString& url);
  void DocumentComplete(const QString& url);

 protected:
  void doSetSource(const QUrl& name, QTextDocument::ResourceType type) override;
  QVariant loadResource(int type, const QUrl& name) override;

 private:
  void showMessagePage(const QUrl& location, const QString& title, const QString& text);
  void completed();

  QUrl location_{"about:blank"};
  bool offline_ = true;
  bool busy_ = false;
};

}  // namespace lorvin
