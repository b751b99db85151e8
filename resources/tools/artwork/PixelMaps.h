#pragma once

// Hand-drawn pixel maps of the browser's 17 x 17 pictures and the 16 x 16
// drive pictures. One character per pixel; the colours are in Palette.h.
// '.' is transparent.

#include <vector>

namespace art {

// One pixel row per line keeps the pictures readable.
// clang-format off

using PixelMap = std::vector<const char*>;

// 0: a closed yellow folder.
inline const PixelMap kFolder = {
    ".................",
    ".................",
    ".................",
    "..nnnnn..........",
    ".nYYYYYn.........",
    ".nYYYYYYnnnnnnnn.",
    ".nLLLLLLLLLLLLLLn",
    ".nLyyyyyyyyyyyyYn",
    ".nLyyyyyyyyyyyyYn",
    ".nLyyyyyyyyyyyyYn",
    ".nLyyyyyyyyyyyyYn",
    ".nLyyyyyyyyyyyyYn",
    ".nLyyyyyyyyyyyyYn",
    ".nLyyyyyyyyyyyyYn",
    ".nYYYYYYYYYYYYYYn",
    "..nnnnnnnnnnnnnn.",
    ".................",
};

// A document page: the top rows with the folded corner, the body rows are
// "...K" + nine pixels of content + "K...", the bottom edge last.
inline const char* const kPageTop[] = {
    ".................",
    "...KKKKKKKK......",
    "...KwwwwwwKK.....",
    "...KwwwwwwKGK....",
    "...KwwwwwwKKKK...",
};
inline constexpr const char* kPageBottom = "...KKKKKKKKKKK...";

// The nine content pixels of the page's body rows 5 to 15.
using PageBody = std::vector<const char*>;

// 1: a plain page.
inline const PageBody kPlain = {
    "wwwwwwwww",
    "wwwwwwwww",
    "wwwwwwwww",
    "wwwwwwwww",
    "wwwwwwwww",
    "wwwwwwwww",
    "wwwwwwwww",
    "wwwwwwwww",
    "wwwwwwwww",
    "wwwwwwwww",
    "wwwwwwwww",
};
// 2 ".zqa": a framed landscape.
inline const PageBody kLandscape = {
    "wwwwwwwww",
    "BBBBBBBBB",
    "BccccyycB",
    "BccccyycB",
    "BcceccccB",
    "BceeecccB",
    "BeeeeeceB",
    "BeeeeeeeB",
    "BBBBBBBBB",
    "wwwwwwwww",
    "wwwwwwwww",
};
// 4 ".zqb": a red gem.
inline const PageBody kGem = {
    "wwwwwwwww",
    "wwwwwwwww",
    "wwwwRwwww",
    "wwwRoRwww",
    "wwRrorRww",
    "wRrrrrrRw",
    "wwRrrrRww",
    "wwwRrRwww",
    "wwwwRwwww",
    "wwwwwwwww",
    "wwwwwwwww",
};
// 5 ".zqc": a green ball.
inline const PageBody kBall = {
    "wwwwwwwww",
    "wwwwwwwww",
    "wwwEEEwww",
    "wwElleEww",
    "wElleeeEw",
    "wEleeeeEw",
    "wEeeeeeEw",
    "wwEeeeEww",
    "wwwEEEwww",
    "wwwwwwwww",
    "wwwwwwwww",
};
// 6 ".zqd": four violet tiles.
inline const PageBody kTiles = {
    "wwwwwwwww",
    "wwwwwwwww",
    "wVVVVVVVw",
    "wVvvVppVw",
    "wVvvVppVw",
    "wVVVVVVVw",
    "wVppVvvVw",
    "wVppVvvVw",
    "wVVVVVVVw",
    "wwwwwwwww",
    "wwwwwwwww",
};
// 7 ".zqe": a brick wall.
inline const PageBody kBricks = {
    "wwwwwwwww",
    "wMMMMMMMw",
    "wmmmMmmmw",
    "wMMMMMMMw",
    "wmMmmmMmw",
    "wMMMMMMMw",
    "wmmmMmmmw",
    "wMMMMMMMw",
    "wmMmmmMmw",
    "wMMMMMMMw",
    "wwwwwwwww",
};
// 8 ".wav": a loudspeaker with blue sound waves.
inline const PageBody kSpeakerWav = {
    "wwwwwwwww",
    "wwwwwwwww",
    "wwwkwwwbw",
    "wwkkwbwwb",
    "wgkkwwbwb",
    "wgkkwwbwb",
    "wgkkwwbwb",
    "wwkkwbwwb",
    "wwwkwwwbw",
    "wwwwwwwww",
    "wwwwwwwww",
};
// 9 ".voc": the loudspeaker in red with green waves.
inline const PageBody kSpeakerVoc = {
    "wwwwwwwww",
    "wwwwwwwww",
    "wwwRwwwEw",
    "wwRRwEwwE",
    "woRRwwEwE",
    "woRRwwEwE",
    "woRRwwEwE",
    "wwRRwEwwE",
    "wwwRwwwEw",
    "wwwwwwwww",
    "wwwwwwwww",
};
// 11 ".xmi": two beamed notes.
inline const PageBody kNotes = {
    "wwwwwwwww",
    "wwwwwwwww",
    "wwwkkkkkw",
    "wwwkkkkkw",
    "wwwkwwwkw",
    "wwwkwwwkw",
    "wwwkwwwkw",
    "wwkkwwkkw",
    "wkkkwkkkw",
    "wkkwwkkww",
    "wwwwwwwww",
};
// 12 ".zqf": a dark blue letter.
inline const PageBody kLetter = {
    "wwwwwwwww",
    "wwwwBwwww",
    "wwwBBBwww",
    "wwwBwBwww",
    "wwBBwBBww",
    "wwBwwwBww",
    "wBBBBBBBw",
    "wBwwwwwBw",
    "BBwwwwwBB",
    "wwwwwwwww",
    "wwwwwwwww",
};

// 3 ".pal": a row of coloured bars.
inline const PixelMap kColourBars = {
    ".................",
    ".................",
    ".................",
    ".KKKKKKKKKKKKKKKK",
    ".KrrooyyeettbbvvK",
    ".KrrooyyeettbbvvK",
    ".KrrooyyeettbbvvK",
    ".KrrooyyeettbbvvK",
    ".KrrooyyeettbbvvK",
    ".KrrooyyeettbbvvK",
    ".KrrooyyeettbbvvK",
    ".KrrooyyeettbbvvK",
    ".KrrooyyeettbbvvK",
    ".KRROOYYEETTBBVVK",
    ".KKKKKKKKKKKKKKKK",
    ".................",
    ".................",
};

// 10 ".smk": a film strip.
inline const PixelMap kFilm = {
    ".................",
    ".................",
    ".................",
    "kkkkkkkkkkkkkkkkk",
    "kkwkkwkkwkkwkkwkk",
    "kkkkkkkkkkkkkkkkk",
    "kcccckccccckcccck",
    "kccyckcccyckccyck",
    "kcecckccecckcecck",
    "keeeekeeeeekeeeek",
    "kkkkkkkkkkkkkkkkk",
    "kkwkkwkkwkkwkkwkk",
    "kkkkkkkkkkkkkkkkk",
    ".................",
    ".................",
    ".................",
    ".................",
};

// Drive pictures, 16 x 16.
inline const PixelMap kDriveRoot = {
    "................",
    "................",
    "..KKKKKKKKKKKK..",
    ".KBBBBBBBBBBBBK.",
    ".KBBBBBBBBBwwBK.",
    ".KBBBBBBBBwwBBK.",
    ".KBBBBBBBwwBBBK.",
    ".KBBBBBBwwBBBBK.",
    ".KBBBBBwwBBBBBK.",
    ".KBBBBwwBBBBBBK.",
    ".KBBBwwBBBBBBBK.",
    ".KBBwwBBBBBBBBK.",
    ".KBBBBBBBBBBBBK.",
    "..KKKKKKKKKKKK..",
    "................",
    "................",
};
inline const PixelMap kDriveHome = {
    "................",
    ".......KK.......",
    "......KrrK.KK...",
    ".....KrrrrKKK...",
    "....KrrrrrrKK...",
    "...KrrrrrrrrK...",
    "..KrrrrrrrrrrK..",
    ".KrrrrrrrrrrrrK.",
    "KKKKKKKKKKKKKKKK",
    "..KjjjjjjjjjjK..",
    "..KjccjjjjnnjK..",
    "..KjccjjjjnnjK..",
    "..KjjjjjjjnnjK..",
    "..KjjjjjjjnnjK..",
    "..KKKKKKKKKKKK..",
    "................",
};
inline const PixelMap kDriveFixed = {
    "................",
    "................",
    "................",
    "................",
    "................",
    "..KKKKKKKKKKKK..",
    ".KssssssssssssK.",
    ".KSSSSSSSSSSSSK.",
    ".KKKKKKKKKKKKKK.",
    ".KggggggggggggK.",
    ".KgggggggggeegK.",
    ".KggggggggggggK.",
    ".KKKKKKKKKKKKKK.",
    "................",
    "................",
    "................",
};
inline const PixelMap kDriveRemovable = {
    "................",
    "................",
    "................",
    "................",
    "................",
    ".....KKKKKKKKKKK",
    "KKKKKKbbbbbbbbbK",
    "KsSsSKbcccccccbK",
    "KssssKbbbbbbbbbK",
    "KsSsSKbbbbbbbebK",
    "KKKKKKbbbbbbbbbK",
    ".....KKKKKKKKKKK",
    "................",
    "................",
    "................",
    "................",
};
inline const PixelMap kDriveNetwork = {
    "................",
    "................",
    ".KKKKKKKKKKKKKK.",
    ".KggggggggggggK.",
    ".KgggggggggeegK.",
    ".KggggggggggggK.",
    ".KKKKKKKKKKKKKK.",
    ".......KK.......",
    ".......KK.......",
    ".......KK.......",
    "bbbbbbbbbbbbbbbb",
    "bbbbbbbbbbbbbbbb",
    ".BB..........BB.",
    ".BB..........BB.",
    "................",
    "................",
};
inline const PixelMap kDriveRam = {
    "................",
    "................",
    "................",
    "................",
    "KKKKKKKKKKKKKKKK",
    "KeeeeeeeeeeeeeeK",
    "KekkekkekkekkeeK",
    "KekkekkekkekkeeK",
    "KekkekkekkekkeeK",
    "KeeeeeeeeeeeeeeK",
    "KhehehehehehehEK",
    "KhEhEhEhEhEhEhEK",
    "KKKKKKKKKKKKKKKK",
    "................",
    "................",
    "................",
};

// clang-format on

}  // namespace art
