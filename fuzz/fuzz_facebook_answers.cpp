// Fuzzes what Facebook hands back: the login redirect the browser passes to the
// application (anyone can open a URL on our scheme) and the Graph API's JSON answers.
#include "fuzz_input.h"
#include "sharing/facebook_graph.h"
#include "sharing/facebook_login.h"

using lumigrave::sharing::FacebookGraph;
using lumigrave::sharing::FacebookGraphAnswer;
using lumigrave::sharing::FacebookLogin;
using lumigrave::sharing::FacebookLoginAnswer;

namespace {

void checkRedirect(const QUrl& url) {
    const FacebookLoginAnswer answer = FacebookLogin::parseRedirect(url);
    switch (answer.kind) {
        case FacebookLoginAnswer::Kind::Token:
            if (answer.accessToken.isEmpty()) {
                lumigrave::fuzz::broken("a token answer has a token");
            }
            if (answer.expiresIn &&
                (*answer.expiresIn <= 0 || *answer.expiresIn > FacebookLogin::kMaxExpiresIn)) {
                lumigrave::fuzz::broken("a lifetime is positive and capped");
            }
            break;
        case FacebookLoginAnswer::Kind::Error:
            if (answer.error.isEmpty() || !answer.accessToken.isEmpty()) {
                lumigrave::fuzz::broken("an error answer names its error and holds no token");
            }
            break;
        case FacebookLoginAnswer::Kind::NotALogin:
            break;
    }
}

void checkAnswer(int status, const QByteArray& body) {
    const FacebookGraphAnswer answer = FacebookGraph::parseAnswer(status, body);
    if (answer.outcome == FacebookGraphAnswer::Outcome::Posted && answer.id.isEmpty()) {
        lumigrave::fuzz::broken("a post has an id");
    }
    if (answer.outcome != FacebookGraphAnswer::Outcome::Posted &&
        (answer.message.isEmpty() || answer.message.size() > FacebookGraph::kMaxMessageLength)) {
        lumigrave::fuzz::broken("a failure has a message an alert can show");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes;
    if (!lumigrave::fuzz::wrap(data, size, 64 * 1024, &bytes)) {
        return 0;
    }
    checkRedirect(QUrl::fromEncoded(bytes));
    checkRedirect(QUrl(QStringLiteral("fb1://authorize#") + QString::fromUtf8(bytes)));
    checkRedirect(QUrl(QStringLiteral("fb1://authorize?") + QString::fromUtf8(bytes)));
    for (int status : {200, 400, 401, 500}) {
        checkAnswer(status, bytes);
    }
    return 0;
}
