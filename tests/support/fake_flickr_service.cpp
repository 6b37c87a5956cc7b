#include "support/fake_flickr_service.h"

#include <QCryptographicHash>
#include <algorithm>

namespace lumigrave::test {

namespace {

using Response = FakeHttpServer::Response;

Response xml(const QByteArray& body) {
    return FakeHttpServer::text(200, body, "text/xml; charset=utf-8");
}

QByteArray attribute(const QString& text) {
    return text.toHtmlEscaped().toUtf8();
}

QString value(const QList<QPair<QString, QString>>& arguments, const QString& name) {
    for (const auto& [key, text] : arguments) {
        if (key == name) {
            return text;
        }
    }
    return {};
}

}  // namespace

FakeFlickrService::FakeFlickrService(FakeHttpServer* server) : server_(server) {
    server_->setHandler(QStringLiteral("/services/rest/"),
                        [this](const Request& request) { return rest(request); });
    server_->setHandler(QStringLiteral("/services/upload/"),
                        [this](const Request& request) { return upload(request); });
    server_->setHandler(QStringLiteral("/services/auth/"),
                        [this](const Request& request) { return authPage(request); });
}

void FakeFlickrService::setKeys(const QString& key, const QString& secret) {
    key_ = key;
    secret_ = secret;
}

QByteArray FakeFlickrService::deploymentLines() const {
    return "flickrConsumerKey=" + key_.toUtf8() + "\nflickrSecretKey=" + secret_.toUtf8() +
           "\nflickrCallbackUrl=" + callbackUrl_.toUtf8() +
           "\nflickrAPIURL=" + server_->url(QStringLiteral("/services")).toUtf8() +
           "\nflickrAuthURL=" + server_->url(QStringLiteral("/services/auth")).toUtf8() +
           "\nflickrUploadURL=" + server_->url(QStringLiteral("/services/upload")).toUtf8() + "\n";
}

QString FakeFlickrService::restUrl() const {
    return server_->url(QStringLiteral("/services/rest/"));
}

QString FakeFlickrService::authUrl() const {
    return server_->url(QStringLiteral("/services/auth/"));
}

QString FakeFlickrService::uploadUrl() const {
    return server_->url(QStringLiteral("/services/upload/"));
}

QString FakeFlickrService::grantToken() {
    const QString token = QStringLiteral("token-%1").arg(++issued_);
    tokens_ << token;
    return token;
}

void FakeFlickrService::failNext(const QString& method, int code, const QString& message) {
    nextFailures_.insert(method, Failure{code, message});
}

void FakeFlickrService::answerNextWith(const QString& method, const QByteArray& body) {
    nextAnswers_.insert(method, body);
}

// Written out here rather than shared with the client: sorted by name as bytes, the
// secret first, each name and value after it.
QString FakeFlickrService::signatureOf(const QList<QPair<QString, QString>>& arguments) const {
    QList<QPair<QByteArray, QByteArray>> sorted;
    for (const auto& [name, text] : arguments) {
        if (name != QLatin1String("api_sig")) {
            sorted.append({name.toUtf8(), text.toUtf8()});
        }
    }
    std::sort(sorted.begin(), sorted.end());
    QByteArray signedText = secret_.toUtf8();
    for (const auto& [name, text] : sorted) {
        signedText += name + text;
    }
    return QString::fromLatin1(
        QCryptographicHash::hash(signedText, QCryptographicHash::Md5).toHex());
}

std::optional<Response> FakeFlickrService::refusal(const QString& where,
                                                   const Arguments& arguments) {
    if (value(arguments, QStringLiteral("api_key")) != key_) {
        failures_ << where + QStringLiteral(": invalid API key");
        return error(100, QStringLiteral("Invalid API Key (Key not found)"));
    }
    QStringList names;
    for (const auto& pair : arguments) {
        names << pair.first;
    }
    if (names.removeDuplicates() > 0) {
        failures_ << where + QStringLiteral(": an argument given twice");
        return error(96, QStringLiteral("Invalid signature"));
    }
    const QString received = value(arguments, QStringLiteral("api_sig"));
    if (received.isEmpty()) {
        failures_ << where + QStringLiteral(": no signature");
        return error(97, QStringLiteral("Missing signature"));
    }
    if (received != signatureOf(arguments)) {
        failures_ << where + QStringLiteral(": invalid signature");
        return error(96, QStringLiteral("Invalid signature"));
    }
    return std::nullopt;
}

std::optional<Response> FakeFlickrService::scripted(const QString& method) {
    if (nextAnswers_.contains(method)) {
        return xml(nextAnswers_.take(method));
    }
    if (nextFailures_.contains(method)) {
        const Failure failure = nextFailures_.take(method);
        return error(failure.code, failure.message);
    }
    return std::nullopt;
}

Response FakeFlickrService::error(int code, const QString& message) {
    return xml("<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n<rsp stat=\"fail\">\n\t<err code=\"" +
               QByteArray::number(code) + "\" msg=\"" + attribute(message) + "\" />\n</rsp>\n");
}

Response FakeFlickrService::authAnswer(const QString& token) {
    return xml("<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n<rsp stat=\"ok\">\n<auth>\n\t<token>" +
               attribute(token) +
               "</token>\n\t<perms>write</perms>\n\t<user nsid=\"12037949754@N01\" username=\"" +
               attribute(userName_) + "\" fullname=\"A Photographer\" />\n</auth>\n</rsp>\n");
}

Response FakeFlickrService::rest(const Request& request) {
    Arguments arguments = FakeHttpServer::parseForm(request.query);
    if (request.method == "POST") {
        arguments += FakeHttpServer::parseForm(request.body);
    }
    const QString method = value(arguments, QStringLiteral("method"));
    if (auto refused =
            refusal(method.isEmpty() ? QStringLiteral("(no method)") : method, arguments)) {
        return *refused;
    }
    calls_ << method;
    if (auto answer = scripted(method)) {
        return *answer;
    }
    const QString token = value(arguments, QStringLiteral("auth_token"));
    if (method == QLatin1String("flickr.auth.getToken")) {
        const QString frob = value(arguments, QStringLiteral("frob"));
        // A frob is good for one exchange.
        if (!pendingFrobs_.removeOne(frob)) {
            failures_ << method + QStringLiteral(": unknown frob");
            return error(108, QStringLiteral("Invalid frob"));
        }
        return authAnswer(grantToken());
    }
    if (!tokens_.contains(token)) {
        failures_ << method + QStringLiteral(": unknown token");
        return error(98, QStringLiteral("Invalid auth token"));
    }
    if (method == QLatin1String("flickr.auth.checkToken")) {
        return authAnswer(token);
    }
    if (method == QLatin1String("flickr.groups.pools.getGroups")) {
        QByteArray body =
            "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n<rsp stat=\"ok\">\n<groups>\n";
        for (const Group& group : groups_) {
            body += "\t<group nsid=\"" + attribute(group.nsid) + "\" name=\"" +
                    attribute(group.name) + "\" admin=\"0\" privacy=\"3\" photos=\"12\" />\n";
        }
        return xml(body + "</groups>\n</rsp>\n");
    }
    if (method == QLatin1String("flickr.groups.pools.add")) {
        if (request.method != "POST") {
            failures_ << method + QStringLiteral(": not a POST");
            return error(1, QStringLiteral("Method must be POSTed"));
        }
        const QString group = value(arguments, QStringLiteral("group_id"));
        const bool known = std::any_of(groups_.cbegin(), groups_.cend(),
                                       [&](const Group& g) { return g.nsid == group; });
        if (!known) {
            failures_ << method + QStringLiteral(": unknown group");
            return error(2, QStringLiteral("Group not found"));
        }
        poolAdds_.append({value(arguments, QStringLiteral("photo_id")), group});
        return xml("<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n<rsp stat=\"ok\">\n</rsp>\n");
    }
    failures_ << method + QStringLiteral(": unknown method");
    return error(112, QStringLiteral("Method \"%1\" not found").arg(method));
}

Response FakeFlickrService::upload(const Request& request) {
    const QString where = QStringLiteral("upload");
    if (request.method != "POST") {
        failures_ << where + QStringLiteral(": not a POST");
        return FakeHttpServer::text(405, "POST only");
    }
    const QList<FakeHttpServer::FormPart> parts =
        FakeHttpServer::parseMultipart(request.header("Content-Type"), request.body);
    Arguments arguments;
    Upload received;
    int photos = 0;
    for (const FakeHttpServer::FormPart& part : parts) {
        if (part.name == QLatin1String("photo")) {
            ++photos;
            received.filename = part.filename;
            received.contentType = part.contentType;
            received.photo = part.data;
        } else {
            arguments.append({part.name, QString::fromUtf8(part.data)});
            received.arguments.insert(part.name, QString::fromUtf8(part.data));
        }
    }
    if (photos != 1) {
        failures_ << where + QStringLiteral(": %1 photo parts").arg(photos);
        return error(2, QStringLiteral("No photo specified"));
    }
    if (auto refused = refusal(where, arguments)) {
        return *refused;
    }
    calls_ << where;
    if (auto answer = scripted(where)) {
        return *answer;
    }
    if (!tokens_.contains(value(arguments, QStringLiteral("auth_token")))) {
        failures_ << where + QStringLiteral(": unknown token");
        return error(98, QStringLiteral("Invalid auth token"));
    }
    uploads_ << received;
    return xml("<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n<rsp stat=\"ok\">\n<photoid>" +
               QByteArray::number(4000 + uploads_.size()) + "</photoid>\n</rsp>\n");
}

Response FakeFlickrService::authPage(const Request& request) {
    const Arguments arguments = FakeHttpServer::parseForm(request.query);
    if (auto refused = refusal(QStringLiteral("authorization page"), arguments)) {
        return FakeHttpServer::text(403,
                                    "<html><body><p id=\"refused\">" +
                                        QString::fromUtf8(refused->body).toHtmlEscaped().toUtf8() +
                                        "</p></body></html>",
                                    "text/html; charset=utf-8");
    }
    if (value(arguments, QStringLiteral("perms")).isEmpty()) {
        failures_ << QStringLiteral("authorization page: no permission asked");
        return FakeHttpServer::text(400, "no perms", "text/html; charset=utf-8");
    }
    const QString frob = QStringLiteral("frob-%1").arg(++issued_);
    frobs_ << frob;
    pendingFrobs_ << frob;
    const QString separator =
        callbackUrl_.contains(QLatin1Char('?')) ? QStringLiteral("&") : QStringLiteral("?");
    const QByteArray page =
        "<html><head><title>Authorize</title></head><body>"
        "<p>Lumigrave would like to upload photos for you.</p>"
        "<a id=\"allow\" href=\"" +
        attribute(callbackUrl_ + separator + QStringLiteral("frob=") + frob) +
        "\">OK, I'll authorize it</a> <a id=\"deny\" href=\"" + attribute(callbackUrl_) +
        "\">No thanks</a></body></html>";
    return FakeHttpServer::text(200, page, "text/html; charset=utf-8");
}

}  // namespace lumigrave::test
