#pragma once

#include <QByteArray>
#include <QMap>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVariantMap>
#include <optional>

#include "platform/image.h"
#include "sharing/share_attachments.h"

namespace lumigrave::sharing {

enum ShareType : int {
    ShareTypeUndefined = 0,
    ShareTypeURL = 1,
    ShareTypeText = 2,
    ShareTypeImage = 3,
    ShareTypeFile = 4,
    ShareTypeUserInfo = 5,
};

// What is shared: a link, a text, an image, a file or a request for the user's details,
// with its title, the values a form adds (custom values) and the extension fields a new
// item takes from the configuration. A value: copies share the image's pixels only.
class ShareItem {
  public:
    // An undefined item whose extension fields hold the configuration's values.
    ShareItem();

    static ShareItem image(const Image& image, const QString& title);
    static ShareItem URL(const QUrl& url, const QString& title, int contentType);
    static ShareItem text(const QString& text);

    ShareType shareType() const { return shareType_; }
    void setShareType(ShareType type) { shareType_ = type; }
    const QUrl& URL() const { return url_; }
    void setURL(const QUrl& url) { url_ = url; }
    int URLContentType() const { return urlContentType_; }
    void setURLContentType(int type) { urlContentType_ = type; }
    const Image& image() const { return image_; }
    void setImage(const Image& image) { image_ = image; }
    const QString& title() const { return title_; }
    void setTitle(const QString& title) { title_ = title; }
    const QString& text() const { return text_; }
    void setText(const QString& text) { text_ = text; }
    const QStringList& tags() const { return tags_; }
    void setTags(const QStringList& tags) { tags_ = tags; }
    const QByteArray& data() const { return data_; }
    void setData(const QByteArray& data) { data_ = data; }
    const QString& mimeType() const { return mimeType_; }
    void setMimeType(const QString& type) { mimeType_ = type; }
    const QString& filename() const { return filename_; }
    void setFilename(const QString& name) { filename_ = name; }

    // Values a form or a service adds, by key.
    void setCustomValue(const QString& value, const QString& key) { custom_.insert(key, value); }
    QString customValueForKey(const QString& key) const { return custom_.value(key); }
    // A switch's value: on when it is "1".
    bool customBoolForSwitchKey(const QString& key) const;
    const QMap<QString, QString>& custom() const { return custom_; }

    int printOutputType() const { return printOutputType_; }
    void setPrintOutputType(int type) { printOutputType_ = type; }
    const QStringList& mailToRecipients() const { return mailToRecipients_; }
    void setMailToRecipients(const QStringList& list) { mailToRecipients_ = list; }
    bool isMailHTML() const { return isMailHTML_; }
    void setIsMailHTML(bool html) { isMailHTML_ = html; }
    float mailJPGQuality() const { return mailJPGQuality_; }
    void setMailJPGQuality(float quality) { mailJPGQuality_ = quality; }
    bool mailShareWithAppSignature() const { return mailShareWithAppSignature_; }
    void setMailShareWithAppSignature(bool on) { mailShareWithAppSignature_ = on; }
    const QString& facebookURLShareDescription() const { return facebookURLShareDescription_; }
    void setFacebookURLShareDescription(const QString& s) { facebookURLShareDescription_ = s; }
    const QString& facebookURLSharePictureURI() const { return facebookURLSharePictureURI_; }
    void setFacebookURLSharePictureURI(const QString& s) { facebookURLSharePictureURI_ = s; }
    const QStringList& textMessageToRecipients() const { return textMessageToRecipients_; }
    void setTextMessageToRecipients(const QStringList& list) { textMessageToRecipients_ = list; }
    const QRectF& popOverSourceRect() const { return popOverSourceRect_; }
    void setPopOverSourceRect(const QRectF& rect) { popOverSourceRect_ = rect; }

    // "ShareTypeURL" and the like; "ShareTypeUndefined" for a number that is no type.
    static QString shareTypeName(int type);
    // A line for the log: the type, the title and the URL. No custom value, no data.
    QString description() const;

    // The stored form: a dictionary of property-list values. The data and the image are
    // written to attachment files first; nothing, with *errorMessage, when one cannot be.
    std::optional<QVariantMap> dictionaryRepresentation(QString* errorMessage) const;
    // An item from its stored form. Values of the wrong kind are left at their defaults;
    // a missing attachment restores nothing. use says whether the attachments are
    // consumed (deleted once read) or kept for another reading.
    static ShareItem itemFromDictionary(const QVariantMap& stored, ShareAttachments::Use use);
    // Deletes the attachment files a stored form refers to, when it is no longer needed.
    static void deleteAttachments(const QVariantMap& stored);

    // A rectangle's string form, "{{x, y}, {width, height}}", and back (a string of
    // another form is the empty rectangle at the origin).
    static QString stringFromRect(const QRectF& rect);
    static QRectF rectFromString(const QString& text);

  private:
    ShareType shareType_ = ShareTypeUndefined;
    QUrl url_;
    int urlContentType_ = 0;
    Image image_;
    QString title_;
    QString text_;
    QStringList tags_;
    QByteArray data_;
    QString mimeType_;
    QString filename_;
    QMap<QString, QString> custom_;
    int printOutputType_ = 0;
    QStringList mailToRecipients_;
    bool isMailHTML_ = true;
    float mailJPGQuality_ = 1;
    bool mailShareWithAppSignature_ = false;
    QString facebookURLShareDescription_;
    QString facebookURLSharePictureURI_;
    QStringList textMessageToRecipients_;
    QRectF popOverSourceRect_;
};

}  // namespace lumigrave::sharing
