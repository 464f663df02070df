#pragma once

#include "platform/Dialogs.h"

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

// OpDlg: several pictures, with a preview, no title of its own.
inline Dialogs::FileRequest pictureRequest()
{
    Dialogs::FileRequest request;
    request.filter = pictureFilter;
    request.multiSelect = true;
    request.preview = true;
    return request;
}

// OPLDlg, starting on the list file last opened.
inline Dialogs::FileRequest openListRequest(const QString& fileName)
{
    Dialogs::FileRequest request;
    request.title = openListTitle;
    request.filter = listFilter;
    request.fileName = fileName;
    return request;
}

// SDlg
inline Dialogs::FileRequest saveListRequest(const QString& fileName = {})
{
    Dialogs::FileRequest request;
    request.title = saveListTitle;
    request.filter = listFilter;
    request.fileName = fileName;
    return request;
}

} // namespace DialogTexts
