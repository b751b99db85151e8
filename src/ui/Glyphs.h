#pragma once

#include <QIcon>
#include <QImage>
#include <QString>

namespace vxa {

// A picture holding two square glyphs side by side, the normal one and the
// one for the disabled state; the colour of its bottom-left pixel is
// transparent. A missing or malformed picture gives an empty icon.
QIcon GlyphPair(const QImage& picture);
QIcon GlyphPair(const QString& resource);

}  // namespace vxa
