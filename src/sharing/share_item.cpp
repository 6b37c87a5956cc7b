#include "sharing/share_item.h"

#include <QBuffer>
#include <QDebug>
#include <QRegularExpression>

#include "sharing/share_configuration.h"

namespace lumigrave::sharing {

namespace {

// The stored form's keys.
const QString kShareType = QStringLiteral("shareType");
const QString kURLContentType = QStringLiteral("URLContentType");
const QString kCustom = QStringLiteral("custom");
const QString kURL = QStringLiteral("URL");
const QString kTitle = QStringLiteral("title");
const QString kText = QStringLiteral("text");
const QString kTags = QStringLiteral("tags");
const QString kMimeType = QStringLiteral("mimeType");
const QString kFilename = QStringLiteral("filename");
const QString kData = QStringLiteral("data");
const QString kImage = QStringLiteral("image");
const QString kPrintOutputType = QStringLiteral("printOutputType");
const QString kMailToRecipients = QStringLiteral("mailToRecipients");
const QString kIsMailHTML = QStringLiteral("isMailHTML");
const QString kMailShareWithAppSignature = QStringLiteral("mailShareWithAppSignature");
const QString kMailJPGQuality = QStringLiteral("mailJPGQuality");
const QString kFacebookURLSharePictureURI = QStringLiteral("facebookURLSharePictureURI");
const QString kFacebookURLShareDescription = QStringLiteral("facebookURLShareDescription");
const QString kTextMessageToRecipients = QStringLiteral("textMessageToRecipients");
const QString kPopOverSourceRect = QStringLiteral("popOverSourceRect");

bool isNumber(const QVariant& value) {
    switch (value.typeId()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Double:
        case QMetaType::Float:
        case QMetaType::Bool:
            return true;
        default:
            return false;
    }
}

// A stored value, when it is of the wanted kind.
std::optional<QString> storedString(const QVariantMap& stored, const QString& key) {
    const QVariant value = stored.value(key);
    if (value.typeId() != QMetaType::QString) {
        return std::nullopt;
    }
    return value.toString();
}

std::optional<QStringList> storedList(const QVariantMap& stored, const QString& key) {
    const QVariant value = stored.value(key);
    if (value.typeId() != QMetaType::QVariantList && value.typeId() != QMetaType::QStringList) {
        return std::nullopt;
    }
    QStringList list;
    for (const QVariant& element : value.toList()) {
        if (element.typeId() == QMetaType::QString) {
            list << element.toString();
        }
    }
    return list;
}

std::optional<QVariant> storedNumber(const QVariantMap& stored, const QString& key) {
    const QVariant value = stored.value(key);
    return isNumber(value) ? std::optional<QVariant>(value) : std::nullopt;
}

}  // namespace

ShareItem::ShareItem() {
    const ShareConfiguration& configuration = ShareConfiguration::sharedInstance();
    printOutputType_ = configuration.configurationValue(kPrintOutputType).toInt();
    mailToRecipients_ = configuration.listValue(kMailToRecipients);
    isMailHTML_ = configuration.boolValue(kIsMailHTML);
    mailJPGQuality_ = configuration.configurationValue(kMailJPGQuality).toFloat();
    mailShareWithAppSignature_ = configuration.boolValue(QStringLiteral("sharedWithSignature"));
    facebookURLShareDescription_ = configuration.stringValue(kFacebookURLShareDescription);
    facebookURLSharePictureURI_ = configuration.stringValue(kFacebookURLSharePictureURI);
    textMessageToRecipients_ = configuration.listValue(kTextMessageToRecipients);
    popOverSourceRect_ = rectFromString(configuration.stringValue(kPopOverSourceRect));
}

ShareItem ShareItem::image(const Image& image, const QString& title) {
    ShareItem item;
    item.shareType_ = ShareTypeImage;
    item.image_ = image;
    item.title_ = title;
    return item;
}

ShareItem ShareItem::URL(const QUrl& url, const QString& title, int contentType) {
    ShareItem item;
    item.shareType_ = ShareTypeURL;
    item.url_ = url;
    item.title_ = title;
    item.urlContentType_ = contentType;
    return item;
}

ShareItem ShareItem::text(const QString& text) {
    ShareItem item;
    item.shareType_ = ShareTypeText;
    item.text_ = text;
    return item;
}

bool ShareItem::customBoolForSwitchKey(const QString& key) const {
    return custom_.value(key) == QLatin1String("1");
}

QString ShareItem::shareTypeName(int type) {
    switch (type) {
        case ShareTypeURL:
            return QStringLiteral("ShareTypeURL");
        case ShareTypeText:
            return QStringLiteral("ShareTypeText");
        case ShareTypeImage:
            return QStringLiteral("ShareTypeImage");
        case ShareTypeFile:
            return QStringLiteral("ShareTypeFile");
        case ShareTypeUserInfo:
            return QStringLiteral("ShareTypeUserInfo");
        default:
            return QStringLiteral("ShareTypeUndefined");
    }
}

QString ShareItem::description() const {
    QString line = shareTypeName(shareType_);
    if (!title_.isEmpty()) {
        line += QStringLiteral(" \"%1\"").arg(title_);
    }
    if (!url_.isEmpty()) {
        line += QLatin1Char(' ') + url_.toDisplayString();
    }
    return line;
}

std::optional<QVariantMap> ShareItem::dictionaryRepresentation(QString* errorMessage) const {
    QVariantMap stored;
    stored.insert(kShareType, int(shareType_));
    stored.insert(kURLContentType, urlContentType_);
    if (!custom_.isEmpty()) {
        QVariantMap custom;
        for (auto it = custom_.cbegin(); it != custom_.cend(); ++it) {
            custom.insert(it.key(), it.value());
        }
        stored.insert(kCustom, custom);
    }
    if (!url_.isEmpty()) {
        stored.insert(kURL, QUrl::fromPercentEncoding(url_.toEncoded()));
    }
    const std::pair<const QString&, const QString&> strings[] = {
        {kTitle, title_},
        {kText, text_},
        {kMimeType, mimeType_},
        {kFilename, filename_},
        {kFacebookURLSharePictureURI, facebookURLSharePictureURI_},
        {kFacebookURLShareDescription, facebookURLShareDescription_},
    };
    for (const auto& [key, value] : strings) {
        if (!value.isNull()) {
            stored.insert(key, value);
        }
    }
    const std::pair<const QString&, const QStringList&> lists[] = {
        {kTags, tags_},
        {kMailToRecipients, mailToRecipients_},
        {kTextMessageToRecipients, textMessageToRecipients_},
    };
    for (const auto& [key, value] : lists) {
        if (!value.isEmpty()) {
            stored.insert(key, value);
        }
    }
    stored.insert(kPrintOutputType, printOutputType_);
    stored.insert(kIsMailHTML, isMailHTML_);
    stored.insert(kMailShareWithAppSignature, mailShareWithAppSignature_);
    stored.insert(kMailJPGQuality, double(mailJPGQuality_));
    stored.insert(kPopOverSourceRect, stringFromRect(popOverSourceRect_));

    // The attachments go last, so nothing is written when the item cannot be stored.
    QStringList written;
    auto attach = [&](const QString& key, const QByteArray& bytes) {
        const std::optional<QString> reference = ShareAttachments::save(bytes, errorMessage);
        if (!reference) {
            return false;
        }
        written << *reference;
        stored.insert(key, *reference);
        return true;
    };
    bool attached = true;
    if (!data_.isNull()) {
        attached = attach(kData, data_);
    }
    if (attached && !image_.isNull()) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        attached = image_.write(buffer, "png", 0, errorMessage) && attach(kImage, png);
    }
    if (!attached) {
        for (const QString& reference : written) {
            ShareAttachments::remove(reference);
        }
        return std::nullopt;
    }
    return stored;
}

ShareItem ShareItem::itemFromDictionary(const QVariantMap& stored, ShareAttachments::Use use) {
    ShareItem item;
    if (auto type = storedNumber(stored, kShareType)) {
        const int number = type->toInt();
        item.shareType_ = number >= ShareTypeUndefined && number <= ShareTypeUserInfo
                              ? ShareType(number)
                              : ShareTypeUndefined;
    }
    if (auto type = storedNumber(stored, kURLContentType)) {
        item.urlContentType_ = type->toInt();
    }
    const QVariant custom = stored.value(kCustom);
    if (custom.typeId() == QMetaType::QVariantMap) {
        const QVariantMap values = custom.toMap();
        for (auto it = values.cbegin(); it != values.cend(); ++it) {
            if (it.value().typeId() == QMetaType::QString) {
                item.custom_.insert(it.key(), it.value().toString());
            }
        }
    }
    if (auto url = storedString(stored, kURL)) {
        item.url_ = QUrl(*url, QUrl::TolerantMode);
    }
    const std::pair<const QString&, QString*> strings[] = {
        {kTitle, &item.title_},
        {kText, &item.text_},
        {kMimeType, &item.mimeType_},
        {kFilename, &item.filename_},
        {kFacebookURLSharePictureURI, &item.facebookURLSharePictureURI_},
        {kFacebookURLShareDescription, &item.facebookURLShareDescription_},
    };
    for (const auto& [key, field] : strings) {
        if (auto value = storedString(stored, key)) {
            *field = *value;
        }
    }
    const std::pair<const QString&, QStringList*> lists[] = {
        {kTags, &item.tags_},
        {kMailToRecipients, &item.mailToRecipients_},
        {kTextMessageToRecipients, &item.textMessageToRecipients_},
    };
    for (const auto& [key, field] : lists) {
        if (auto value = storedList(stored, key)) {
            *field = *value;
        }
    }
    if (auto value = storedNumber(stored, kPrintOutputType)) {
        item.printOutputType_ = value->toInt();
    }
    if (auto value = storedNumber(stored, kIsMailHTML)) {
        item.isMailHTML_ = value->toBool();
    }
    if (auto value = storedNumber(stored, kMailShareWithAppSignature)) {
        item.mailShareWithAppSignature_ = value->toBool();
    }
    if (auto value = storedNumber(stored, kMailJPGQuality)) {
        item.mailJPGQuality_ = value->toFloat();
    }
    if (auto value = storedString(stored, kPopOverSourceRect)) {
        item.popOverSourceRect_ = rectFromString(*value);
    }
    if (auto reference = storedString(stored, kData)) {
        if (auto data = ShareAttachments::restore(*reference, use)) {
            item.data_ = *data;
        }
    }
    if (auto reference = storedString(stored, kImage)) {
        if (auto png = ShareAttachments::restore(*reference, use)) {
            QImage pixels = QImage::fromData(*png, "PNG");
            if (pixels.isNull()) {
                qWarning().noquote() << "The share attachment" << *reference
                                     << "is not a PNG image; the item has no image";
            } else {
                item.image_ = Image(std::move(pixels));
            }
        }
    }
    return item;
}

void ShareItem::deleteAttachments(const QVariantMap& stored) {
    for (const QString& key : {kData, kImage}) {
        if (auto reference = storedString(stored, key)) {
            ShareAttachments::remove(*reference);
        }
    }
}

QString ShareItem::stringFromRect(const QRectF& rect) {
    return QStringLiteral("{{%1, %2}, {%3, %4}}")
        .arg(rect.x())
        .arg(rect.y())
        .arg(rect.width())
        .arg(rect.height());
}

QRectF ShareItem::rectFromString(const QString& text) {
    static const QRegularExpression form(QStringLiteral(
        R"(^\s*\{\s*\{\s*([^,{}\s]+)\s*,\s*([^,{}\s]+)\s*\}\s*,\s*\{\s*([^,{}\s]+)\s*,\s*([^,{}\s]+)\s*\}\s*\}\s*$)"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch()) {
        return {};
    }
    double values[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        values[i] = match.captured(i + 1).toDouble(&ok);
        if (!ok) {
            return {};
        }
    }
    return {values[0], values[1], values[2], values[3]};
}

}  // namespace lumigrave::sharing
