#pragma once

#include <QImage>
#include <QList>
#include <QString>

// One stored picture: its resource name and the image in its final colour depth.
struct Artwork
{
    QString name;
    QImage image;
};

QList<Artwork> paintSkins();
QList<Artwork> paintGlyphs();
// The application icon at 48, 32 and 16 pixels, named MAINICON_<size>.
QList<Artwork> paintAppIcon();
// The application icon at the sizes of the icon theme, named <size>x<size>.
QList<Artwork> paintThemeIcons();

// The outlines of the two skins, shared with nothing else: the pixels that stay visible.
bool insideMainSkin(int x, int y);
bool insideSplashSkin(int x, int y);
