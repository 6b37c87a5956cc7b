// Fuzzes the reading of the service's call back to the application: the authorization
// page may be led to any address. The input's first line is the callback URL, the rest
// the address the page is about to load.
#include "fuzz_input.h"
#include "sharing/oauth/oauth_callback.h"

using lumigrave::sharing::OAuthCallback;
using lumigrave::sharing::OAuthCallbackMatch;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes;
    if (!lumigrave::fuzz::wrap(data, size, 16 * 1024, &bytes)) {
        return 0;
    }
    const qsizetype newline = bytes.indexOf('\n');
    const QString callback = QString::fromUtf8(newline < 0 ? QByteArray() : bytes.left(newline));
    const QString text = QString::fromUtf8(newline < 0 ? bytes : bytes.mid(newline + 1));
    const QUrl url(text);

    const OAuthCallbackMatch match = OAuthCallback::match(url, callback);
    if (callback.isEmpty() && match.kind != OAuthCallbackMatch::Kind::Load) {
        lumigrave::fuzz::broken("an empty callback matches nothing");
    }
    if (match.kind != OAuthCallbackMatch::Kind::Finished && !match.params.isEmpty()) {
        lumigrave::fuzz::broken("only a finished login has parameters");
    }
    if (match.kind == OAuthCallbackMatch::Kind::Cancelled && !url.query().isEmpty()) {
        lumigrave::fuzz::broken("only a callback without a query cancels");
    }
    const QMap<QString, QString> params = OAuthCallback::parseQuery(text);
    if (params.size() > text.count(QLatin1Char('&')) + 1) {
        lumigrave::fuzz::broken("no more pairs than pieces");
    }
    if (!text.contains(QLatin1Char('&')) && text.count(QLatin1Char('=')) != 1 &&
        !params.isEmpty()) {
        lumigrave::fuzz::broken("a pair without exactly one \"=\" does not count");
    }
    return 0;
}
