#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QUrl>
#include <functional>
#include <optional>

namespace lumigrave::sharing {

class ShareItem;

// The Twitter service's side of the Twitter sharer, without widgets and without sending:
// where its endpoints are, how a status is built, the image host's upload (OAuth Echo)
// and the reading of the answers, which are untrusted.
class TwitterApi {
  public:
    static constexpr int kMaxStatusLength = 140;
    // Characters of the 140 kept for the image's link.
    static constexpr int kImageLinkReserve = 25;
    static constexpr qsizetype kMaxImageBytes = 700000;
    static constexpr char kBoundary[] = "0xKhTmLbOuNdArY";
    // How much of an answer is searched; the answers read here are short.
    static constexpr qsizetype kMaxScannedBytes = 64 * 1024;
    // The service's message is shown to the user; beyond this it is cut.
    static constexpr qsizetype kMaxMessageChars = 400;

    // On the configured "twitterAPIURL": /oauth/authorize, /oauth/request_token,
    // /oauth/access_token, /1/statuses/update.json, /1/account/verify_credentials.json.
    static QUrl apiRoot();
    static QUrl authorizeUrl();
    static QUrl requestTokenUrl();
    static QUrl accessTokenUrl();
    static QUrl statusUpdateUrl();
    static QUrl verifyCredentialsUrl();
    // On the configured "twitterImageHostURL": /api/2/upload.xml.
    static QUrl imageUploadUrl();

    // A tag reduced to its letters and digits ("a-b" gives "ab").
    static QString tagText(const QString& tag);
    // The status to start from: the item's "status" when it has one; otherwise its text
    // (text items) or its title (others), then " #tag" for each tag that keeps a
    // character, then " " and the URL (absolute, percent escapes removed) when there is
    // one.
    static QString statusForItem(const ShareItem& item);
    // From 1 to 140 characters (UTF-16 units, as the service counts).
    static bool isValidStatus(const QString& status);

    // Encodes at quality 90, then 80, 70… down to 10 until the data is at most maxBytes;
    // the first that fits, or the one at 10 when none does. encode(quality) gives the JPEG
    // at that quality (0 to 100); empty means it failed, and so does the result.
    static QByteArray fitJpeg(const std::function<QByteArray(int quality)>& encode,
                              qsizetype maxBytes = kMaxImageBytes);
    // The image as a colour JPEG at quality (0 to 100), its pixels in sRGB and opaque
    // (transparency shows white); empty when it cannot be encoded.
    static QByteArray jpeg(const QImage& image, int quality);
    // The upload's multipart/form-data body with kBoundary: "media" (upload.jpg,
    // image/jpg) and "message" (the status in UTF-8).
    static QByteArray imageUploadBody(const QByteArray& jpeg, const QString& status);
    // "multipart/form-data; boundary=0xKhTmLbOuNdArY".
    static QByteArray imageUploadContentType();

    // The text between "<url>" and "</url>", found ignoring case, with XML's escapes
    // read and blanks around it trimmed; nothing without both markers, and nothing when
    // what is between is empty or holds blanks or control characters (no link).
    static std::optional<QString> linkFromUploadAnswer(const QByteArray& body);
    // The JSON member "error"'s text (what follows its name, the colon and the opening
    // quotation mark, up to the next quotation mark), or "Unknown Error". Blanks may
    // surround the colon; JSON's escapes are read (an escaped quotation mark does not end
    // the text). The text is fit to show: one line, no control characters, at most
    // kMaxMessageChars.
    static QString errorMessage(const QByteArray& body);
    // Whether a failed answer means the login is no longer good: the message (as
    // errorMessage gives it) "Invalid / used nonce" or "Could not authenticate with
    // OAuth.", or an XML element "code" holding 401 anywhere in the body.
    static bool asksForNewLogin(const QString& message, const QByteArray& body);
};

}  // namespace lumigrave::sharing
