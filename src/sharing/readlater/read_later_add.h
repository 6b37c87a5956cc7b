#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <functional>

class QObject;

namespace lumigrave::sharing {

// The read-later service's "add" call: one link saved to the user's list, authenticated
// by the user's name and password and our API key ("readItLaterKey"), at the configured
// base address ("readItLaterURL") followed by "/add". No widgets.
//
// The values travel in a POST form body, never in the address, so that no proxy or log
// line quoting the address holds the password. Failures are answers, never exceptions:
// the outcome says whether the link was saved, the login was refused, or why not.
class ReadLaterAdd {
  public:
    static constexpr int kTimeoutMs = 20000;
    // The service's own message is shown to the user; longer ones are cut here.
    static constexpr int kMaxMessageChars = 200;

    struct Request {
        QString username;
        QString password;
        QUrl url;
        QString title;
    };

    struct Outcome {
        enum class Kind { Saved, BadCredentials, Failed };
        Kind kind = Kind::Failed;
        // For the user, in the service's words when it gave some.
        QString message;
    };

    // Called once, on the main thread.
    using Callback = std::function<void(const Outcome& outcome)>;

    // Sends request and calls done with the outcome. When context is given and goes
    // first, done is not called.
    static void add(const Request& request, Callback done, const QObject* context = nullptr,
                    int timeoutMs = kTimeoutMs);

    // The configured base address followed by "/add".
    static QUrl requestUrl();
    // The form body: username, password, apikey, url and title, each value encoded whole
    // ("+", "&" and "=" included) as UTF-8.
    static QByteArray requestBody(const Request& request);
    // What an answer means, by its status: 2xx saved, 401 the login refused, anything
    // else a failure with the "X-Error" header's text when it holds some, otherwise a
    // sentence of our own for the status.
    static Outcome outcomeForAnswer(int httpStatus, const QByteArray& xError);
    // The text of an "X-Error" header fit to show: decoded as UTF-8, control characters
    // dropped, blanks collapsed, cut to kMaxMessageChars. Empty when nothing is left.
    static QString serviceMessage(const QByteArray& xError);
};

}  // namespace lumigrave::sharing
