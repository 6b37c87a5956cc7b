#pragma once

#include "sharing/ui/sharer.h"

namespace lumigrave::sharing {

// Saves links to the user's read-later list (Pocket). The login is the workflow's default
// form, whose username and password are kept in the keyring as given: the service checks
// them at each save, and a refusal there shows the bad-credentials alert and the login
// form again, after which the same link is saved.
class ReadLaterSharer : public Sharer {
    Q_OBJECT
  public:
    QString sharerId() const override { return QStringLiteral("ReadLaterSharer"); }
    QString sharerTitle() const override { return QStringLiteral("Pocket"); }
    bool canShareURL() const override { return true; }

    bool send() override;
};

}  // namespace lumigrave::sharing
