#pragma once

#include <QIcon>
#include <QImage>
#include <QString>

namespace vxa {

// The picture at `resource` ("name.png") with its drawing at twice the size
// ("name@2x.png", when there is one), so that a screen of device pixel ratio
// 2 shows the larger drawing instead of the smaller one scaled up.
QIcon ScaledPicture(const QString& resource);

// Adds the glyphs of `picture` to `icon`: two square glyphs side by side, the
// normal one and the one for the disabled state, at the picture's device
// pixel ratio; the colour of its bottom-left pixel is transparent. A missing
// or malformed picture adds nothing.
void AddGlyphPair(QIcon& icon, const QImage& picture);
// The glyph pair at `resource` and at twice its size, as ScaledPicture.
QIcon GlyphPair(const QString& resource);

}  // namespace vxa
