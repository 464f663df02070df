#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <QStringList>

// The program's built-in pictures, icon and string table.
namespace Resources {

// A bitmap by name, without regard to case ("StengOver" finds STENGOVER), at 1x.
// An unknown name throws AppError("Resource <NAME> not found").
QPixmap bitmap(const QString& name);
// For a screen of that device pixel ratio: above 1, the bitmap painted at twice the size where
// one is stored, with ratio 2 (its logical size is the 1x one); otherwise the 1x bitmap.
QPixmap bitmap(const QString& name, qreal devicePixelRatio);
// The 1x bitmap as an image, in its stored colour depth; window shapes are cut from it.
QImage image(const QString& name);
// The string table: ids 0..8 give their entries, any other id "".
QString string(int id);
// The line that names the program and its author: splash, welcome balloon, tray hint.
QString creditText();
// The application icon MAINICON at 48, 32 and 16 pixels.
QIcon mainIcon();
// Every bitmap name, upper case.
QStringList bitmapNames();

} // namespace Resources
