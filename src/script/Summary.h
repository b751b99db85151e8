#pragma once

#include <string>
#include <vector>

#include "core/ReplRec.h"
#include "core/io/FileSystem.h"

namespace vxa {

// What the summary dialog shows when it opens.
struct SummaryStatus {
    // Additions to the text box, in order; an addition may hold "\r\n" line
    // breaks of its own.
    std::vector<std::string> Lines;
    bool ProceedEnabled = true;  // false when the input archive is missing
    bool AllFilesExist = true;   // every replacement file exists
};

// The status text, worked out from the installed script's input and output
// archives and plan.
SummaryStatus SummaryOnShow(const std::string& in, const std::string& out, const ReplRec& plan,
                            FileSystem& fs);
// The text of "Show details", checking the files again.
std::vector<std::string> SummaryDetails(const ReplRec& plan, FileSystem& fs, bool allFilesExist);

}  // namespace vxa
