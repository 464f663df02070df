#pragma once

#include <QColor>
#include <QImage>
#include <functional>

// Turning painted pictures into the stored bitmaps: key colours, colour depth.
namespace Finish {

// Glyph background; glyphs take their bottom-left pixel's colour as transparent.
constexpr QRgb kGlyphKey = 0xFFFF00FF;
// The skins' key colour: every pixel of it is cut out of the window.
constexpr QRgb kSkinKey = 0xFFFFFFFF;
// The light tray behind the caption buttons on the main skin.
constexpr QRgb kTray = 0xFFEEF3F9;
// The window colour the glyphs mostly stand on; soft edges are blended towards it.
constexpr QRgb kWindow = 0xFFA6CAF0;

// A transparent ARGB canvas to paint on.
QImage canvas(int width, int height);

// Flattens a painted canvas: pixels left (nearly) transparent become `key`, soft edges are
// blended over `matte`, and no painted pixel keeps the key colour by accident.
QImage flatten(const QImage& painted, QRgb key, QRgb matte);

// Reduces a flattened picture to an indexed one of at most `maxColours` colours; the key
// colour keeps its own entry and no other colour falls onto it.
QImage toIndexed(const QImage& picture, int maxColours, QRgb key);

// Sets every pixel outside `inside` to the skin key and outlines the shape with `edge`;
// a pixel inside that happens to be pure white is nudged off it so it stays visible. `inside`
// is asked in 1x pixels: a skin painted at `scale` keeps exactly the shape of the 1x one, each
// of its pixels a scale x scale block, so the window's outline cut from the 1x skin fits it.
void cutSkin(QImage& skin, const std::function<bool(int x, int y)>& inside, QRgb edge, int scale = 1);

} // namespace Finish
