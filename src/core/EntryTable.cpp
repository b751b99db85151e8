#include "core/EntryTable.h"

namespace vxa {

std::string LinkMarker(std::int32_t link) {
    if (link < 0)
        return "B";
    if (link == 0)
        return "N";
    return "R:" + std::to_string(link);
}

std::string EntryCellText(const EntryTable& t, int col, std::size_t i) {
    // The header arrays are made after the table's values and links, the
    // types last: until then a load has nothing to show in the row.
    if (i >= t.CompTypes.size())
        return {};
    const bool blank = t.Offsets[i] == 0;
    switch (col) {
        case 0:
            return std::to_string(i + 1);
        case 1:
            return blank ? "BLANK" : std::to_string(t.Offsets[i]);
        case 2:
            return blank ? "0" : std::to_string(t.OrigSizes[i]);
        case 3:
            return blank ? "0" : std::to_string(t.PackedSizes[i]);
        case 4:
            return (blank ? std::string("0") : std::to_string(t.CompTypes[i])) + "/" +
                   LinkMarker(t.Links[i]);
        case 5:
            return blank ? "------" : std::string();
        default:
            return {};
    }
}

}  // namespace vxa
