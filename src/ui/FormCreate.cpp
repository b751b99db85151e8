#include "ui/FormCreate.h"

#include <array>
#include <filesystem>
#include <system_error>

#include "ui/Browser.h"
#include "ui/BrowserListing.h"

namespace vxa {

namespace {

// The grid at start: the heading, a "no file loaded" line framed by stars,
// an empty row, the credits and the version.
constexpr int kStartRows = 5;
constexpr std::array<std::array<const char*, kGridColumns>, kStartRows> kStartCells = {{
    {"Nr", "Offset", "Orig. size", "Packed size", "C/T", "Replace with"},
    {"******", "No", "file", "loaded", "******", ""},
    {"", "", "", "", "", ""},
    {"ORN", "VXA", "manager", "", "by", "the VXA manager team"},
    {"", "", "version:", "1.0", "beta", ""},
}};

}  // namespace

void FormCreate(Context& c, const std::string& currentDir) {
    GridRows& grid = c.State.Grid;
    grid.Count = kStartRows;
    grid.Texts.assign(kStartRows, {});
    for (int row = 0; row < kStartRows; ++row) {
        for (int col = 0; col < kGridColumns; ++col)
            grid.Texts[row][col] = kStartCells[row][col];
    }
    c.Ui.gridChanged();
    FillBrowser(c, currentDir);
}

std::string CurrentDirectory() {
    std::error_code ec;
    const std::string dir = std::filesystem::current_path(ec).string();
    return ec ? std::string() : BrowserDirOf(dir);
}

}  // namespace vxa
