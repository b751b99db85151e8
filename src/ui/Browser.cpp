#include "Browser.h"

namespace vxa {

void FillBrowser(Context& c, const std::string& dir) { c.State.BrowserDir = dir; }
void DriveComboBox1Change(Context& c, const std::string& root) { FillBrowser(c, root); }
void List1DblClick(Context&) {}
void List1SelectItem(Context&, const std::string&) {}

}  // namespace vxa
