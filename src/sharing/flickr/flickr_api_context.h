#pragma once

#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <QUrl>
#include <QVariantMap>

namespace lumigrave::sharing {

// A call's arguments by name; the map's order is the order in which they are signed.
using FlickrArguments = QMap<QString, QString>;

// The application's keys, the user's token and the photo service's endpoints, and the
// signing of every call: the arguments with "api_key" (and "auth_token" when there is a
// token) added, sorted by name, signed with "api_sig", the lower-case hexadecimal MD5 of
// the shared secret followed by each name and its value.
class FlickrAPIContext {
  public:
    // Keys and endpoints from the sharing configuration ("flickrConsumerKey",
    // "flickrSecretKey", "flickrAPIURL", "flickrAuthURL", "flickrUploadURL").
    FlickrAPIContext();
    // These keys, the configured endpoints.
    FlickrAPIContext(const QString& key, const QString& sharedSecret);

    const QString& key() const { return key_; }
    const QString& sharedSecret() const { return sharedSecret_; }
    const QString& authToken() const { return authToken_; }
    void setAuthToken(const QString& token) { authToken_ = token; }

    // <flickrAPIURL>/rest/
    const QUrl& RESTAPIEndpoint() const { return restEndpoint_; }
    const QUrl& photoSourceURLPrefix() const { return photoSource_; }
    const QUrl& photoWebPageURLPrefix() const { return photoWebPage_; }
    // <flickrAuthURL>/
    const QUrl& authEndpoint() const { return authEndpoint_; }
    // <flickrUploadURL>/
    const QUrl& uploadEndpoint() const { return uploadEndpoint_; }

    // The authorization page asking for requestedPermission ("read", "write", "delete"),
    // with the frob of frobDictionary (an answer of flickr.auth.getFrob, its "frob"
    // element or text) when it holds one.
    QUrl loginURLFromFrobDictionary(const QVariantMap& frobDictionary,
                                    const QString& requestedPermission) const;
    // "name=value&…" of the signed arguments, percent-encoded.
    QString signedQueryFromArguments(const FlickrArguments& arguments) const;
    // The signed arguments in order, "api_sig" last; names and values percent-encoded
    // (RFC 3986's unreserved characters kept) when useURIEscape.
    QList<QPair<QString, QString>> signedArgumentComponentsFromArguments(
        const FlickrArguments& arguments, bool useURIEscape) const;
    // The MD5 signature of arguments as given (nothing added).
    QString signatureOf(const FlickrArguments& arguments) const;

  private:
    void setEndpoints(const QString& api, const QString& auth, const QString& upload);

    QString key_;
    QString sharedSecret_;
    QString authToken_;
    QUrl restEndpoint_;
    QUrl photoSource_;
    QUrl photoWebPage_;
    QUrl authEndpoint_;
    QUrl uploadEndpoint_;
};

}  // namespace lumigrave::sharing
