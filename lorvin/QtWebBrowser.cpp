#include "lorvin/QtWebBrowser.h"

#include <QDesktopServices>
#include <QFileInfo>

#include "lorvin/lorvin_page.h"

namespace lorvin {

namespace {

QUrl urlOf(const QString& text) {
  const Page page = ParsePage(text.toStdString());
  if (!page.isFile) {
    return QUrl(QString::fromStdString(page.address));
  }
  QUrl url = QUrl::fromLocalFile(QFileInfo(QString::fromStdString(page.file)).absoluteFilePath());
  if (!page.anchor.empty()) {
    url.setFragment(QString::fromStdString(page.anchor));
  }
  return url;
}

QString escaped(const QString& text) {
  return text.toHtmlEscaped();
}

}  // namespace

QtWebBrowser::QtWebBrowser(QWidget* parent) : QTextBrowser(parent) {
  setOpenLinks(true);
  setOpenExternalLinks(false);
  connect(this, &QTextBrowser::sourceChanged, this, [this](const QUrl& url) {
    location_ = url;
    completed();
  });
}

void QtWebBrowser::Navigate(const QString& page) {
  setSource(urlOf(page));
}

void QtWebBrowser::GoBack() {
  backward();
}

void QtWebBrowser::GoForward() {
  forward();
}

void QtWebBrowser::Refresh() {
  if (location_.isLocalFile()) {
    reload();
  }
}

void QtWebBrowser::doSetSource(const QUrl& name, QTextDocument::ResourceType type) {
  busy_ = true;
  if (name.scheme() == "about") {
    clear();
    location_ = name;
    busy_ = false;
    completed();
    return;
  }
  if (!name.isLocalFile() && !name.isRelative()) {
    if (!offline_ && QDesktopServices::openUrl(name)) {
      busy_ = false;
      completed();  // the page stays; the address field shows it again
      return;
    }
    showMessagePage(name, "Not available offline",
                    "This address is not a page of the help folder and cannot be shown "
                    "offline:");
    return;
  }
  const QFileInfo file(name.toLocalFile());
  if (!file.isFile()) {
    showMessagePage(name, "Page not found", "There is no such page:");
    return;
  }
  if (file.size() > MaxPageBytes) {
    showMessagePage(name, "Page too large", "This file is too large to be shown:");
    return;
  }
  QTextBrowser::doSetSource(name, type);  // reports through sourceChanged
  busy_ = false;
}

QVariant QtWebBrowser::loadResource(int type, const QUrl& name) {
  const QUrl resolved = source().resolved(name);
  if (resolved.isLocalFile() && QFileInfo(resolved.toLocalFile()).size() > MaxPageBytes) {
    return {};
  }
  return QTextBrowser::loadResource(type, name);
}

void QtWebBrowser::showMessagePage(const QUrl& location, const QString& title,
                                   const QString& text) {
  setHtml(QString("<h2>%1</h2><p>%2</p><p><tt>%3</tt></p>")
              .arg(escaped(title), escaped(text), escaped(location.toDisplayString())));
  location_ = location;
  busy_ = false;
  completed();
}

void QtWebBrowser::completed() {
  emit NavigateComplete2(LocationURL());
  emit DocumentComplete(LocationURL());
}

}  // namespace lorvin
