#include "ui/Browser.h"

#include <utility>

#include "core/io/DirStyle.h"
#include "ui/BrowserListing.h"
#include "ui/ItemPath.h"
#include "ui/PlanHandlers.h"

namespace vxa {

namespace {

bool IsDirectoryCaption(const std::string& caption) {
    return caption.size() >= 3 && caption.front() == '[' && caption.back() == ']';
}

}  // namespace

void FillBrowser(Context& c, const std::string& dir) {
    const std::string listed = BrowserDirOf(dir);
    c.State.BrowserDir = listed;
    // A folder that cannot be read (gone, no access) is shown empty: the
    // path line says where the pane is, and no box interrupts.
    auto items = ListDirectory(listed);
    c.Ui.showBrowser(listed + DirSeparator(),
                     items ? std::move(*items) : std::vector<BrowserItem>{});
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
        ReplaceSelected(c, path);
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
        c.Ui.showBrowser(path);
}

}  // namespace vxa
