#pragma once

#include "sharing/share_center.h"

namespace lumigrave::sharing {

class Sharer;

// What a sharer tells about its share. Every call is optional: the defaults do nothing,
// and a delegate overrides the calls it answers to. The delegate is not owned; it must
// outlive the sharer or be replaced first.
class ShareDelegate {
  public:
    virtual ~ShareDelegate() = default;
    virtual void sharerStartedSending(Sharer& sharer) { Q_UNUSED(sharer); }
    virtual void sharerFinishedSending(Sharer& sharer) { Q_UNUSED(sharer); }
    virtual void sharerFailedWithError(Sharer& sharer, const ShareError& error,
                                       bool shouldRelogin) {
        Q_UNUSED(sharer);
        Q_UNUSED(error);
        Q_UNUSED(shouldRelogin);
    }
    virtual void sharerCancelledSending(Sharer& sharer) { Q_UNUSED(sharer); }
    virtual void sharerAuthDidFinish(Sharer& sharer, bool success) {
        Q_UNUSED(sharer);
        Q_UNUSED(success);
    }
    virtual void sharerShowBadCredentialsAlert(Sharer& sharer) { Q_UNUSED(sharer); }
    virtual void sharerShowOtherAuthorizationErrorAlert(Sharer& sharer) { Q_UNUSED(sharer); }
};

}  // namespace lumigrave::sharing
