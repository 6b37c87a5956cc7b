#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

namespace lumigrave::sharing {

// The LinkedIn service's side of the LinkedIn sharer, without widgets and without
// sending: its endpoints, the share it posts and the reading of its answers, which are
// untrusted.
class LinkedInApi {
  public:
    // An error answer is a few lines; a bigger or deeper one is not read.
    static constexpr qsizetype kMaxAnswerBytes = 64 * 1024;
    static constexpr int kMaxAnswerDepth = 16;
    // The service's message is shown to the user; beyond this it is cut.
    static constexpr qsizetype kMaxMessageChars = 400;

    // On the configured "linkedInAPIURL": /uas/oauth/requestToken, /uas/oauth/authorize,
    // /uas/oauth/accessToken, /v1/people/~/shares.
    static QUrl requestTokenUrl();
    static QUrl authorizeUrl();
    static QUrl accessTokenUrl();
    static QUrl shareUrl();

    // The share as XML: the comment, the link as its submitted URL (and the comment as the
    // content's title), visible to anyone. Text is escaped; characters XML cannot hold
    // are dropped.
    static QByteArray shareBody(const QString& comment, const QUrl& link);
    static QByteArray shareContentType() { return "text/xml; charset=utf-8"; }
    // The service's message in a failed answer (the "message" element of a well-formed
    // "error" document), fit to show, or a sentence of our own for the status when there
    // is none. An answer with a DTD, too big or too deep, is not read.
    static QString errorMessage(int httpStatus, const QByteArray& body);
};

}  // namespace lumigrave::sharing
