// Fuzzes the OAuth signing of untrusted text: a status, a link or a service's token can
// hold anything. The input is split at line feeds into a method, a URL, a realm, a token
// key and then names and values in turn; names starting with "oauth_" are extra protocol
// parameters, the others body parameters.
#include <QList>
#include <algorithm>

#include "fuzz_input.h"
#include "sharing/oauth/oauth_signature.h"

using lumigrave::sharing::OAuthParameters;
using lumigrave::sharing::OAuthSignature;
using lumigrave::sharing::OAuthSigningInput;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes;
    if (!lumigrave::fuzz::wrap(data, size, 16 * 1024, &bytes)) {
        return 0;
    }
    const QList<QByteArray> fields = bytes.split('\n');
    OAuthSigningInput input;
    input.method = fields.value(0);
    input.url = QUrl(QString::fromUtf8(fields.value(1)));
    input.realm = QString::fromUtf8(fields.value(2));
    input.token.key = QString::fromUtf8(fields.value(3));
    input.token.secret = input.token.key;
    input.consumer = {QStringLiteral("ck"), QString::fromUtf8(fields.value(2))};
    input.nonce = QString::fromUtf8(fields.value(4));
    input.timestamp = fields.value(5).size();
    OAuthParameters pairs;
    for (qsizetype i = 6; i + 1 < fields.size(); i += 2) {
        const QString name = QString::fromUtf8(fields[i]);
        const QString value = QString::fromUtf8(fields[i + 1]);
        if (name.startsWith(QLatin1String("oauth_"))) {
            input.extraOAuthParameters.insert(name, value);
        } else {
            pairs.append({name, value});
        }
    }
    input.bodyParameters = pairs;

    const QByteArray base = OAuthSignature::baseString(input);
    if (!base.startsWith(input.method.toUpper() + '&') || base.count('&') < 2) {
        lumigrave::fuzz::broken("a base string is the method, the URI and the parameters");
    }
    const QByteArray header = OAuthSignature::authorizationHeader(input);
    if (!header.startsWith("OAuth realm=\"") || header.contains('\r') || header.contains('\n')) {
        lumigrave::fuzz::broken("a header is one line that starts with the realm");
    }
    if (OAuthSignature::signature(input).size() != 28) {
        lumigrave::fuzz::broken("a signature is the Base64 of 20 bytes");
    }
    const QByteArray normalized = OAuthSignature::normalizedParameters(pairs);
    OAuthParameters permuted = pairs;
    std::reverse(permuted.begin(), permuted.end());
    if (permuted.size() > 2) {
        std::rotate(permuted.begin(), permuted.begin() + 1, permuted.end());
    }
    if (OAuthSignature::normalizedParameters(permuted) != normalized) {
        lumigrave::fuzz::broken("the order of the parameters given does not matter");
    }
    return 0;
}
