#include "sharing/flickr/flickr_api_request.h"

#include <QBuffer>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QIODevice>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTemporaryFile>
#include <QTimer>
#include <QUuid>
#include <algorithm>
#include <cmath>

namespace lumigrave::sharing {

namespace {

const QString kClientDomain = QString::fromLatin1(FlickrError::kClientDomain);

// A form field's name or file name inside its quotes: quotes and line breaks would end
// the header early.
QByteArray quotedSafe(const QString& text) {
    QByteArray bytes = text.toUtf8();
    bytes.replace('"', "%22");
    bytes.replace('\r', "%0D");
    bytes.replace('\n', "%0A");
    return bytes;
}

bool isTransportError(QNetworkReply::NetworkError error) {
    // Qt numbers connection errors from 1 and proxy errors from 101; the codes from 201
    // stand for HTTP statuses, which are answers.
    return error != QNetworkReply::NoError && int(error) < 200;
}

QNetworkRequest requestTo(const QUrl& url) {
    QNetworkRequest request(url);
    // A redirect would carry the signed arguments to an address they were not meant for.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    return request;
}

}  // namespace

FlickrAPIRequest::FlickrAPIRequest(std::shared_ptr<FlickrAPIContext> context, QObject* parent)
    : QObject(parent),
      context_(std::move(context)),
      manager_(new QNetworkAccessManager(this)),
      timer_(new QTimer(this)) {
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, &FlickrAPIRequest::timedOut);
}

FlickrAPIRequest::~FlickrAPIRequest() {
    stop();
}

bool FlickrAPIRequest::callAPIMethodWithGET(const QString& method,
                                            const FlickrArguments& arguments) {
    lastError_.clear();
    if (isRunning()) {
        return false;
    }
    FlickrArguments all = arguments;
    all.insert(QStringLiteral("method"), method);
    QUrl url = context_->RESTAPIEndpoint();
    url.setQuery(context_->signedQueryFromArguments(all), QUrl::StrictMode);
    start(manager_->get(requestTo(url)));
    return true;
}

bool FlickrAPIRequest::callAPIMethodWithPOST(const QString& method,
                                             const FlickrArguments& arguments) {
    lastError_.clear();
    if (isRunning()) {
        return false;
    }
    FlickrArguments all = arguments;
    all.insert(QStringLiteral("method"), method);
    QNetworkRequest request = requestTo(context_->RESTAPIEndpoint());
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QByteArrayLiteral("application/x-www-form-urlencoded"));
    start(manager_->post(request, context_->signedQueryFromArguments(all).toLatin1()));
    return true;
}

QByteArray FlickrAPIRequest::multipartHead(const QByteArray& boundary,
                                           const QList<QPair<QString, QString>>& signedArguments,
                                           const QString& filename, const QString& mimeType) {
    QByteArray head;
    for (const auto& [name, value] : signedArguments) {
        head += "--" + boundary + "\r\n";
        head += "Content-Disposition: form-data; name=\"" + quotedSafe(name) + "\"\r\n\r\n";
        head += value.toUtf8() + "\r\n";
    }
    head += "--" + boundary + "\r\n";
    head += "Content-Disposition: form-data; name=\"photo\"; filename=\"" + quotedSafe(filename) +
            "\"\r\n";
    head += "Content-Type: " + quotedSafe(mimeType) + "\r\n\r\n";
    return head;
}

QByteArray FlickrAPIRequest::multipartTail(const QByteArray& boundary) {
    return "\r\n--" + boundary + "--\r\n";
}

bool FlickrAPIRequest::uploadImageData(const QByteArray& image, const QString& suggestedFilename,
                                       const QString& mimeType, const FlickrArguments& arguments) {
    QBuffer buffer;
    buffer.setData(image);
    buffer.open(QIODevice::ReadOnly);
    return uploadImageStream(&buffer, suggestedFilename, mimeType, arguments);
}

bool FlickrAPIRequest::uploadImageStream(QIODevice* imageStream, const QString& suggestedFilename,
                                         const QString& mimeType,
                                         const FlickrArguments& arguments) {
    lastError_.clear();
    if (isRunning() || context_->authToken().isEmpty()) {
        return false;
    }
    if (!imageStream) {
        lastError_ = QStringLiteral("There is no photo to upload.");
        return false;
    }
    const QByteArray boundary =
        boundary_.isEmpty()
            ? QUuid::createUuid().toString(QUuid::Id128).toLatin1().prepend("lumigrave-")
            : boundary_;

    // The body goes through a file so that a large photo is not held twice in memory.
    // The file is unlinked as soon as it is open for reading: whatever happens to the
    // request, the process included, nothing is left in the temporary directory.
    QTemporaryFile written(QDir::tempPath() + QStringLiteral("/lumigrave-flickr-XXXXXX"));
    auto* body = new QFile(this);
    QString reason;
    bool good = written.open();
    if (good) {
        good = written.write(multipartHead(
                   boundary, context_->signedArgumentComponentsFromArguments(arguments, false),
                   suggestedFilename, mimeType)) >= 0;
        char chunk[64 * 1024];
        while (good && !imageStream->atEnd()) {
            const qint64 read = imageStream->read(chunk, sizeof chunk);
            if (read < 0) {
                reason = imageStream->errorString();
                good = false;
                break;
            }
            good = written.write(chunk, read) == read;
            if (read == 0) {
                break;
            }
        }
        good = good && written.write(multipartTail(boundary)) >= 0 && written.flush();
        body->setFileName(written.fileName());
        good = good && body->open(QIODevice::ReadOnly);
    }
    if (!good && reason.isEmpty()) {
        reason = written.errorString();
    }
    written.remove();
    if (!good) {
        delete body;
        lastError_ =
            QStringLiteral("The photo could not be prepared for the upload: %1").arg(reason);
        return false;
    }

    QNetworkRequest request = requestTo(context_->uploadEndpoint());
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QByteArray("multipart/form-data; boundary=" + boundary));
    request.setHeader(QNetworkRequest::ContentLengthHeader, body->size());
    QNetworkReply* reply = manager_->post(request, body);
    // The reading end lives exactly as long as the reply that reads it.
    body->setParent(reply);
    start(reply);
    return true;
}

void FlickrAPIRequest::start(QNetworkReply* reply) {
    reply_ = reply;
    answer_.clear();
    cut_ = false;
    connect(reply, &QNetworkReply::readyRead, this, &FlickrAPIRequest::readCapped);
    connect(reply, &QNetworkReply::finished, this, &FlickrAPIRequest::finished);
    timer_->start(int(std::lround(std::max(timeoutSeconds_, 0.0) * 1000)));
}

void FlickrAPIRequest::readCapped() {
    if (!reply_ || !reply_->isReadable()) {
        return;
    }
    // One byte past the cap is enough to know the answer is too long.
    const qint64 room = kMaxAnswerBytes + 1 - answer_.size();
    answer_ += reply_->read(std::max<qint64>(room, 0));
    if (answer_.size() > kMaxAnswerBytes && !cut_) {
        cut_ = true;
        reply_->abort();
    }
}

QString FlickrAPIRequest::host() const {
    return reply_ ? reply_->url().host() : QString();
}

void FlickrAPIRequest::finished() {
    if (!reply_) {
        return;
    }
    if (!cut_) {
        readCapped();
    }
    const QVariant status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const int httpStatus = status.isValid() ? status.toInt() : 0;
    if (cut_) {
        fail(FlickrError::kFaultyAnswer,
             QStringLiteral("The photo service's answer was larger than 16 MB and was refused."));
        return;
    }
    if (httpStatus == 0 || isTransportError(reply_->error())) {
        // The reply's own error text quotes the request, signature and token included;
        // only the host and the error number are logged.
        qInfo().noquote() << "The photo service at" << host()
                          << "gave no whole answer; the network error was" << int(reply_->error());
        fail(FlickrError::kConnectionFailed,
             QStringLiteral("The photo service at %1 could not be reached.").arg(host()));
        return;
    }
    if (httpStatus < 200 || httpStatus >= 300) {
        fail(FlickrError::kHttpError,
             QStringLiteral("The photo service at %1 answered with HTTP status %2.")
                 .arg(host())
                 .arg(httpStatus));
        return;
    }
    const QByteArray body = answer_;
    stop();
    const FlickrAnswer answer = FlickrAnswer::fromData(body);
    if (answer.ok) {
        emit flickrAPIRequestDidComplete(this, answer.response);
    } else {
        emit flickrAPIRequestDidFail(this, answer.error);
    }
}

void FlickrAPIRequest::timedOut() {
    if (!reply_) {
        return;
    }
    fail(FlickrError::kTimeout,
         QStringLiteral("The photo service at %1 did not answer within %2 seconds.")
             .arg(host())
             .arg(timeoutSeconds_));
}

void FlickrAPIRequest::fail(qint64 code, const QString& message) {
    stop();
    emit flickrAPIRequestDidFail(this, FlickrError{kClientDomain, code, message});
}

void FlickrAPIRequest::cancel() {
    stop();
}

void FlickrAPIRequest::stop() {
    timer_->stop();
    QNetworkReply* reply = reply_;
    reply_ = nullptr;
    answer_.clear();
    if (!reply) {
        return;
    }
    reply->disconnect(this);
    if (reply->isRunning()) {
        reply->abort();
    }
    // The upload's reading end, a child of the reply, goes with it.
    reply->deleteLater();
}

}  // namespace lumigrave::sharing
