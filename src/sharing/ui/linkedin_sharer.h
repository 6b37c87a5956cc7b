#pragma once

#include "sharing/ui/oauth_sharer.h"

namespace lumigrave::sharing {

// Shares links to LinkedIn: a share on the person's profile with the edited title as its
// comment and the link as its content, signed with the OAuth 1.0 login.
class LinkedInSharer : public OAuthSharer {
    Q_OBJECT
  public:
    LinkedInSharer();

    QString sharerId() const override { return QStringLiteral("LinkedInSharer"); }
    QString sharerTitle() const override { return QStringLiteral("LinkedIn"); }
    bool canShareURL() const override { return true; }

    bool send() override;

  private:
    void answered(const OAuthAnswer& answer);
};

}  // namespace lumigrave::sharing
