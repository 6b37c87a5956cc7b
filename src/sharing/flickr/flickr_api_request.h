#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QVariant>
#include <QVariantMap>
#include <memory>

#include "sharing/flickr/flickr_answer.h"
#include "sharing/flickr/flickr_api_context.h"

class QFile;
class QIODevice;
class QNetworkAccessManager;
class QNetworkReply;
class QTimer;

namespace lumigrave::sharing {

// One call or upload at a time to the photo service, asynchronously on the main thread.
// Each request that starts ends in exactly one of the two signals, unless it is
// cancelled or the object goes first. The request is no longer running when a signal
// arrives, so its receiver may start the next one.
class FlickrAPIRequest : public QObject {
    Q_OBJECT
  public:
    static constexpr int kDefaultTimeoutSeconds = 60;
    // An answer is read up to this; a longer one is refused.
    static constexpr qsizetype kMaxAnswerBytes = 16 * 1024 * 1024;

    explicit FlickrAPIRequest(std::shared_ptr<FlickrAPIContext> context, QObject* parent = nullptr);
    ~FlickrAPIRequest() override;

    const FlickrAPIContext& context() const { return *context_; }
    // Whatever the caller wants to find again in the answer's handler.
    const QVariant& sessionInfo() const { return sessionInfo_; }
    void setSessionInfo(const QVariant& info) { sessionInfo_ = info; }
    // Seconds from the start to the whole answer.
    double requestTimeoutInterval() const { return timeoutSeconds_; }
    void setRequestTimeoutInterval(double seconds) { timeoutSeconds_ = seconds; }
    // A newly generated one per upload when empty.
    void setMultipartBoundary(const QByteArray& boundary) { boundary_ = boundary; }

    bool isRunning() const { return reply_ != nullptr; }
    // False while another request runs.
    bool callAPIMethodWithGET(const QString& method, const FlickrArguments& arguments);
    bool callAPIMethodWithPOST(const QString& method, const FlickrArguments& arguments);
    // Uploads the photo read from imageStream to the upload endpoint. False while another
    // request runs, without a token, or when the body could not be written to its
    // temporary file (lastError() says why).
    bool uploadImageStream(QIODevice* imageStream, const QString& suggestedFilename,
                           const QString& mimeType, const FlickrArguments& arguments);
    bool uploadImageData(const QByteArray& image, const QString& suggestedFilename,
                         const QString& mimeType, const FlickrArguments& arguments);
    // Stops the running request; neither signal follows.
    void cancel();
    // Why the last refused start was refused; empty when it was not a failure.
    const QString& lastError() const { return lastError_; }

    // The upload's body for these signed arguments and photo, as it is sent.
    static QByteArray multipartHead(const QByteArray& boundary,
                                    const QList<QPair<QString, QString>>& signedArguments,
                                    const QString& filename, const QString& mimeType);
    static QByteArray multipartTail(const QByteArray& boundary);

  signals:
    void flickrAPIRequestDidComplete(lumigrave::sharing::FlickrAPIRequest* request,
                                     const QVariantMap& response);
    void flickrAPIRequestDidFail(lumigrave::sharing::FlickrAPIRequest* request,
                                 const lumigrave::sharing::FlickrError& error);

  private:
    void start(QNetworkReply* reply);
    void readCapped();
    void finished();
    void timedOut();
    // Ends the running request: the reply, the timer and the upload's temporary file.
    void stop();
    void fail(qint64 code, const QString& message);
    QString host() const;

    std::shared_ptr<FlickrAPIContext> context_;
    QVariant sessionInfo_;
    double timeoutSeconds_ = kDefaultTimeoutSeconds;
    QByteArray boundary_;
    QString lastError_;
    QNetworkAccessManager* manager_;
    QTimer* timer_;
    QNetworkReply* reply_ = nullptr;
    QByteArray answer_;
    bool cut_ = false;
};

}  // namespace lumigrave::sharing
