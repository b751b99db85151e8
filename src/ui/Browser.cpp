#include "Browser.h"

#include <utility>

#include "BrowserListing.h"
#include "core/io/DirStyle.h"
#include "plan/ItemPath.h"
#include "plan/Plan.h"

namespace vxa {

namespace {

bool IsDirectoryCaption(const std::string& caption) {
    return caption.size() >= 3 && caption.front() == '[' && caption.back() == ']';
}

}  // namespace

void FillBrowser(Context& c, const std::string& dir) {
    const std::string listed = BrowserDirOf(dir);
    c.State.BrowserDir = listed;
    c.Ui.setPathText(listed + DirSeparator());
    // A folder that cannot be read (gone, no access) is shown empty: the
    // path line already says where the pane is, and no box interrupts.
    auto items = ListDirectory(listed);
    c.Ui.setBrowserItems(items ? std::move(*items) : std::vector<BrowserItem>{});
}

void DriveComboBox1Change(Context& c, const std::string& root) {
    FillBrowser(c, root);
}

void List1DblClick(Context& c) {
    const auto caption = c.Ui.browserSelectedCaption();
    if (!caption)
        return;
    const std::string path = BrowserItemPath(c.State, *caption);
    if (c.Fs.fileExists(path)) {
        AddReplacement(c, path);
        return;
    }
    const std::string& dir = c.State.BrowserDir;
    if (*caption == "[..]") {
        FillBrowser(c, ParentDir(dir));
    } else if (IsDirectoryCaption(*caption)) {
        FillBrowser(c, dir + DirSeparator() + caption->substr(1, caption->size() - 2));
    } else {
        // A file that has gone since the listing: list the folder again, so
        // the item disappears instead of being taken for a directory.
        FillBrowser(c, dir);
    }
}

void List1SelectItem(Context& c, const std::string& caption) {
    const std::string path = BrowserItemPath(c.State, caption);
    if (c.Fs.fileExists(path))
        c.Ui.setPathText(path);
}

}  // namespace vxa
