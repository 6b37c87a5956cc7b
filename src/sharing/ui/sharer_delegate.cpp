#include "sharing/ui/sharer_delegate.h"

#include "sharing/ui/share_activity_indicator.h"
#include "sharing/ui/sharer.h"
#include "ui/alert_view.h"

namespace lumigrave::sharing {

namespace {

void showAlert(const QString& title, const QString& message) {
    auto* alert = new ui::AlertView(title, message, nullptr, QStringLiteral("Close"), {});
    alert->show();
}

}  // namespace

QString SharerDelegate::failureMessage(const ShareError& error) {
    return error.localizedDescription.isEmpty() ? QStringLiteral("There was an error while sharing")
                                                : error.localizedDescription;
}

void SharerDelegate::sharerStartedSending(Sharer& sharer) {
    if (!sharer.isQuiet()) {
        ShareActivityIndicator::currentIndicator()->displayActivity(
            QStringLiteral("Saving to %1").arg(sharer.sharerTitle()));
    }
}

void SharerDelegate::sharerFinishedSending(Sharer& sharer) {
    if (!sharer.isQuiet()) {
        ShareActivityIndicator::currentIndicator()->displayCompleted(QStringLiteral("✓"),
                                                                     QStringLiteral("Saved!"));
    }
}

void SharerDelegate::sharerFailedWithError(Sharer& sharer, const ShareError& error,
                                           bool shouldRelogin) {
    ShareActivityIndicator::currentIndicator()->hide();
    const int pending = sharer.pendingAction();
    if (!sharer.isQuiet() && pending != Sharer::PendingShare &&
        pending != Sharer::PendingRefreshToken) {
        showAlert(QStringLiteral("Error"), failureMessage(error));
    }
    if (shouldRelogin) {
        sharer.promptAuthorization();
    }
}

void SharerDelegate::sharerShowBadCredentialsAlert(Sharer& sharer) {
    showAlert(QStringLiteral("Login Error"),
              QStringLiteral("Sorry, %1 did not accept your credentials. Please try again.")
                  .arg(sharer.sharerTitle()));
}

void SharerDelegate::sharerShowOtherAuthorizationErrorAlert(Sharer& sharer) {
    showAlert(QStringLiteral("Login Error"),
              QStringLiteral("Sorry, %1 encountered an error. Please try again.")
                  .arg(sharer.sharerTitle()));
}

}  // namespace lumigrave::sharing
