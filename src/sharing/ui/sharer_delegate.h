#pragma once

#include "sharing/ui/share_delegate.h"

namespace lumigrave::sharing {

// The delegate every new sharer gets: the shared activity indicator while it sends and
// when it is done, and the alerts of a failure, in the library's words. A quiet sharer
// shows nothing.
class SharerDelegate : public ShareDelegate {
  public:
    void sharerStartedSending(Sharer& sharer) override;
    void sharerFinishedSending(Sharer& sharer) override;
    void sharerFailedWithError(Sharer& sharer, const ShareError& error,
                               bool shouldRelogin) override;
    void sharerShowBadCredentialsAlert(Sharer& sharer) override;
    void sharerShowOtherAuthorizationErrorAlert(Sharer& sharer) override;

    // The alert's message for a failure: the error's own sentence, or the library's
    // general one when it has none.
    static QString failureMessage(const ShareError& error);
};

}  // namespace lumigrave::sharing
