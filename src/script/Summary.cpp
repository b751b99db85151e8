#include "script/Summary.h"

namespace vxa {

SummaryStatus SummaryOnShow(const std::string& in, const std::string& out, const ReplRec& plan,
                            FileSystem& fs) {
    SummaryStatus st;
    for (const auto& path : plan.Paths) {
        if (!fs.fileExists(path)) {
            st.AllFilesExist = false;
            break;
        }
    }
    st.Lines = {"Status:", ""};
    if (!fs.fileExists(in)) {
        st.Lines.push_back("Fatal error: Input file doesn't exist. This script can't be ran");
        st.ProceedEnabled = false;
        return st;
    }
    st.Lines.insert(st.Lines.end(), {"Input file OK", ""});
    st.Lines.push_back(out.empty() ? "Output file not chosen. If you click <Proceed>, "
                                     "you will be asked to choose it."
                                   : "Ouput file OK");
    st.Lines.push_back("");
    st.Lines.push_back(st.AllFilesExist ? "Files OK"
                                        : "Some of files that are to be replaced are missing.\r\n"
                                          "Click <Show details> to see details.\r\n"
                                          "If you click <Proceed>, missing files will be skipped.");
    st.Lines.insert(st.Lines.end(), {"", "Click <Show details> to see details"});
    return st;
}

std::vector<std::string> SummaryDetails(const ReplRec& plan, FileSystem& fs, bool allFilesExist) {
    std::vector<std::string> lines{"Files that are to be replaced:", ""};
    if (!allFilesExist)
        lines.insert(lines.end(), {"Missing files are marked with asterisks", ""});
    const ReplRec& list = plan;
    for (std::size_t j = 0; j < list.Indices.size(); ++j) {
        std::string line = fs.fileExists(list.Paths[j]) ? "" : "* ";
        // 64-bit, so the largest index still shows one more than itself.
        line += "file " + std::to_string(std::int64_t{list.Indices[j]} + 1) + " --> ";
        line += list.Paths[j];
        lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace vxa
