#pragma once

#include <QColor>
#include <map>

namespace art {

// The colours of the pixel maps, by letter.
inline const std::map<char, QRgb> kColours = {
    {'.', qRgba(0, 0, 0, 0)},   {'k', qRgb(0, 0, 0)},       {'K', qRgb(60, 60, 60)},
    {'w', qRgb(255, 255, 255)}, {'G', qRgb(200, 200, 200)}, {'g', qRgb(140, 140, 140)},
    {'s', qRgb(216, 216, 216)}, {'S', qRgb(160, 160, 160)}, {'r', qRgb(224, 32, 32)},
    {'R', qRgb(144, 16, 16)},   {'o', qRgb(255, 144, 32)},  {'O', qRgb(190, 100, 10)},
    {'y', qRgb(255, 216, 58)},  {'Y', qRgb(224, 168, 24)},  {'L', qRgb(255, 240, 160)},
    {'n', qRgb(138, 90, 0)},    {'e', qRgb(48, 176, 48)},   {'E', qRgb(26, 122, 26)},
    {'l', qRgb(144, 224, 112)}, {'t', qRgb(32, 160, 160)},  {'T', qRgb(16, 100, 100)},
    {'b', qRgb(48, 112, 224)},  {'B', qRgb(26, 58, 144)},   {'c', qRgb(144, 200, 255)},
    {'v', qRgb(144, 64, 192)},  {'V', qRgb(90, 32, 128)},   {'p', qRgb(208, 160, 240)},
    {'m', qRgb(176, 88, 48)},   {'M', qRgb(232, 216, 192)}, {'j', qRgb(240, 224, 190)},
    {'h', qRgb(240, 192, 0)},
};

}  // namespace art
