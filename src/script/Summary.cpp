#include "Summary.h"

namespace vxa {

SummaryStatus SummaryOnShow(const AppState&, FileSystem&) { return {}; }
std::vector<std::string> SummaryDetails(const AppState&, FileSystem&, bool) { return {}; }

}  // namespace vxa
