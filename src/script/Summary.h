#pragma once

#include <string>
#include <vector>

#include "core/AppState.h"
#include "core/io/FileSystem.h"

namespace vxa {

// What the summary dialog shows when it opens.
struct SummaryStatus {
    // Additions to the text box, in order; an addition may hold "\r\n" line
    // breaks of its own.
    std::vector<std::string> lines;
    bool proceedEnabled = true;  // false when the input archive is missing
    bool allFilesExist = true;   // every replacement file exists
};

// The status text, worked out from the installed script's paths and plan.
SummaryStatus SummaryOnShow(const AppState& state, FileSystem& fs);
// The text of "Show details", checking the files again.
std::vector<std::string> SummaryDetails(const AppState& state, FileSystem& fs, bool allFilesExist);

}  // namespace vxa
