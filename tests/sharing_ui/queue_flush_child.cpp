// A start of the application reduced to its offline flush, for the test that kills it at
// random points: the queued links are posted, one after another, to the address given as
// the only argument, and the process ends when the flush does. The home, the caches and
// the network's state come from the environment the test sets.
#include <QApplication>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>

#include "sharing/share_configuration.h"
#include "sharing/ui/offline_flush.h"
#include "sharing/ui/sharer.h"
#include "sharing/ui/sharer_registry.h"

namespace {

using lumigrave::sharing::Sharer;

QUrl target;

// Posts the item's title; the service's 200 is the share sent.
class PostSharer : public Sharer {
  public:
    QString sharerId() const override { return QStringLiteral("PostSharer"); }
    QString sharerTitle() const override { return QStringLiteral("Post"); }
    bool requiresAuthentication() const override { return false; }
    bool canShareURL() const override { return true; }
    bool send() override {
        sendDidStart();
        QNetworkRequest request(target);
        request.setHeader(QNetworkRequest::ContentTypeHeader, "text/plain; charset=utf-8");
        QNetworkReply* reply = network_.post(request, item().title().toUtf8());
        QObject::connect(reply, &QNetworkReply::finished, this, [this, reply] {
            reply->deleteLater();
            if (reply->error() == QNetworkReply::NoError) {
                sendDidFinish();
            } else {
                sendDidFailWithError(lumigrave::sharing::ShareCenter::error(reply->errorString()));
            }
        });
        return true;
    }

  private:
    QNetworkAccessManager network_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 2) {
        return 2;
    }
    target = QUrl(QString::fromLocal8Bit(argv[1]));
    lumigrave::sharing::ShareConfiguration::sharedInstanceWithConfigurator(nullptr);
    lumigrave::sharing::SharerRegistry::registerSharer<PostSharer>(QStringLiteral("PostSharer"));
    lumigrave::sharing::OfflineFlush::flushOfflineQueue();
    if (lumigrave::sharing::OfflineFlush::current() == nullptr) {
        return 0;
    }
    QObject::connect(lumigrave::sharing::OfflineFlush::current(),
                     &lumigrave::sharing::OfflineFlush::finished, &application, &QApplication::quit,
                     Qt::QueuedConnection);
    return application.exec();
}
