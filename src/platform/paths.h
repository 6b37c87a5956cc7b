#pragma once

#include <QString>

namespace lumigrave {

// Where Lumigrave keeps its files. Every directory follows the XDG variables and HOME,
// so a test or a second user points them elsewhere through the environment alone.
// Each call creates the directory when it is missing; an empty result means it could
// not be created.
class Paths {
  public:
    // The application's data directory (the preset database lives here).
    static QString documentsDirectory();
    // The preset database, "app_data.sqlite" in the documents directory.
    static QString appDatabasePath();
    static QString cachesDirectory();
    // Pictures/Lumigrave: where saved photos go.
    static QString photoAlbumDirectory();
    static QString configDirectory();
    // Documents/Lumigrave/Drafts: mail drafts, as .eml files a mail program opens.
    static QString mailDraftsDirectory();
};

}  // namespace lumigrave
