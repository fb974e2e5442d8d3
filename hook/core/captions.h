// Where the texts of the rows and captions the library shows come from: its string table in the
// library, a fixed table in the unit tests.
#pragma once

#include "hook/core/compat.h"

namespace vn {

class CaptionSource {
  public:
    // The caption with that string id, cut to size - 1 characters; false when there is none.
    virtual bool Caption(int captionId, char* buf, size_t size) = 0;

  protected:
    ~CaptionSource() = default; // never owned through this interface
};

// The string ids of the rows the four drop-down lists carry beside their entries. Header and
// command captions begin with a space, separators with "-" and the title with "=", which is how a
// chosen row is told from an entry.
constexpr int kIdsFavoriteFilesHeader = 573;    // " Favorite Files..."
constexpr int kIdsFavoriteFoldersHeader = 574;  // " Favorite Folders..."
constexpr int kIdsRecentFilesHeader = 575;      // " Recent Files Used..."
constexpr int kIdsRecentFoldersHeader = 576;    // " Recent Folders Used..."
constexpr int kIdsAllApplicationsTitle = 577;   // "= All Applications ="
constexpr int kIdsLinuxPlacesHeader = 578;      // " Linux Desktop Folders..."
constexpr int kIdsAddSelectedFile = 588;        // " --> ADD Selected File or Mask"
constexpr int kIdsAddCurrentFolder = 589;       // " --> ADD Current Folder"
constexpr int kIdsEditFavorites = 590;          // " --> EDIT Favorites"
constexpr int kIdsListSeparator = 591;          // 41 dashes
constexpr int kIdsAddSelectedFileForAll = 592;  // " --> ADD Selected File or Mask to All"
constexpr int kIdsAddCurrentFolderForAll = 593; // " --> ADD Current Folder to All"
constexpr int kIdsEditFavoritesForAll = 594;    // " --> EDIT Favorites for All"
constexpr int kIdsEditRecent = 599;             // " --> EDIT Recent Files/Folders"
constexpr int kIdsEditRecentForAll = 600;       // " --> EDIT Recent Files/Folders for All"

} // namespace vn
