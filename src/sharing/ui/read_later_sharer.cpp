#include "sharing/ui/read_later_sharer.h"

#include "sharing/readlater/read_later_add.h"

namespace lumigrave::sharing {

bool ReadLaterSharer::send() {
    if (!validateItem()) {
        return false;
    }
    ReadLaterAdd::Request request;
    request.username = authValueForKey(QStringLiteral("username")).value_or(QString());
    request.password = authValueForKey(QStringLiteral("password")).value_or(QString());
    request.url = item().URL();
    request.title = item().title();
    sendDidStart();
    ReadLaterAdd::add(
        request,
        [this](const ReadLaterAdd::Outcome& outcome) {
            switch (outcome.kind) {
                case ReadLaterAdd::Outcome::Kind::Saved:
                    sendDidFinish();
                    break;
                case ReadLaterAdd::Outcome::Kind::BadCredentials:
                    authShowBadCredentialsAlert();
                    // Asked again as a renewed login: the send is retried after it as
                    // after any login, and the bad-credentials alert stays the only one,
                    // where a pending send would add an "Error" alert on top of it.
                    shouldReloginWithPendingAction(PendingRefreshToken);
                    break;
                case ReadLaterAdd::Outcome::Kind::Failed:
                    sendDidFailWithError(ShareCenter::error(outcome.message));
                    break;
            }
        },
        this);
    return true;
}

}  // namespace lumigrave::sharing
