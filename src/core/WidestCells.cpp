#include "core/WidestCells.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace vxa {

std::array<std::vector<std::string>, 5> WidestEntryTexts(const EntryTable& t) {
    std::array<std::vector<std::string>, 5> out;
    const auto n = static_cast<std::size_t>(std::max(t.EntryCount, 0));
    if (n == 0)
        return out;
    std::uint32_t offset = 0, orig = 0, packed = 0;
    std::uint16_t comp = 0;
    std::int32_t link = 0;
    bool blank = false, owner = false;
    for (std::size_t i = 0; i < n; ++i) {
        if (t.Offsets[i] == 0) {
            blank = true;
            continue;
        }
        offset = std::max(offset, t.Offsets[i]);
        orig = std::max(orig, t.OrigSizes[i]);
        packed = std::max(packed, t.PackedSizes[i]);
        comp = std::max(comp, t.CompTypes[i]);
        link = std::max(link, t.Links[i]);
        owner = owner || t.Links[i] == 0;
    }
    out[0] = {std::string("+").append(std::to_string(n))};
    out[1] = {std::to_string(offset)};
    if (blank)
        out[1].push_back("BLANK");
    out[2] = {std::to_string(orig)};
    out[3] = {std::to_string(packed)};
    const std::string type = std::to_string(comp) + "/";
    if (owner)
        out[4].push_back(type + LinkMarker(0));
    if (blank)
        out[4].push_back(type + LinkMarker(-1));
    if (link > 0)
        out[4].push_back(type + LinkMarker(link));
    return out;
}

}  // namespace vxa
