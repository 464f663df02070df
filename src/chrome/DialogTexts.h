#pragma once

#include <QString>

// Titles and filters of the main window's file dialogs, in the "text|patterns|..." form the
// Dialogs seam takes.
namespace DialogTexts {

// Pictures (new list, add pictures); the first entry is selected when the dialog opens.
inline const QString pictureFilter =
    QStringLiteral("Alla (*.jpg;*.bmp;*.gif)|*.jpg;*.bmp;*.gif|JPEG-bilder (*.jpg)|*.jpg|Bitmap-bolder (*.bmp)|*.bmp|"
                   "Gif-bilder(*.gif)|*.gif");
// List files, for opening and saving.
inline const QString listFilter = QStringLiteral("List-fil(*.lst)|*.lst");
inline const QString openListTitle = QStringLiteral("Öppna Bildlista");
inline const QString saveListTitle = QStringLiteral("Spara Bildlista...");

} // namespace DialogTexts
