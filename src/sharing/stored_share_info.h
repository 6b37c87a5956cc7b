#pragma once

#include <QString>
#include <optional>

#include "sharing/share_item.h"

namespace lumigrave::sharing {

// An item kept across a login that happens in another application (the browser), with
// the sharer's pending action: the user-defaults entry "kShareStoredShareInfo", holding
// "kShareStoredItem" (the item's stored form, as a property list) and "kShareStoredAction".
// One item is kept at a time; saving another replaces it and deletes its attachments.
class StoredShareInfo {
  public:
    struct Saved {
        ShareItem item;
        int pendingAction = 0;
    };

    // Stores the item and the action and writes the preferences at once.
    static bool saveItemForLater(const ShareItem& item, int pendingAction, QString* errorMessage);
    // The saved item and action, once: the entry is cleared and the item's attachments
    // are consumed. Nothing when none was saved or it cannot be read (logged).
    static std::optional<Saved> restoreItem();

  private:
    static void clear();
};

}  // namespace lumigrave::sharing
