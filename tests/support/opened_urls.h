#pragma once

#include <QDesktopServices>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QUrl>

namespace lumigrave::test {

// Catches the URLs the application hands to other applications (a browser, the software
// centre) for the schemes given, while it lives.
class OpenedUrls : public QObject {
    Q_OBJECT
  public:
    explicit OpenedUrls(const QStringList& schemes) : schemes_(schemes) {
        for (const QString& scheme : schemes_) {
            QDesktopServices::setUrlHandler(scheme, this, "open");
        }
    }
    ~OpenedUrls() override {
        for (const QString& scheme : schemes_) {
            QDesktopServices::unsetUrlHandler(scheme);
        }
    }
    QList<QUrl> opened;

  public slots:
    void open(const QUrl& url) { opened.append(url); }

  private:
    QStringList schemes_;
};

}  // namespace lumigrave::test
