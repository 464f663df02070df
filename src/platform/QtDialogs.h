#pragma once

#include "Dialogs.h"

class QFileDialog;

// The real dialogs on top of Qt's message boxes and file, colour and folder dialogs. File dialogs
// are Qt's own (not the desktop's), so their filters, preview and Swedish texts are the same on
// every desktop.
class QtDialogs : public Dialogs
{
public:
    // Builds the picture preview beside a file dialog's list; installed by the program, which
    // knows how pictures are decoded.
    using PreviewFactory = void (*)(QFileDialog& dialog);
    static void setPreviewFactory(PreviewFactory factory);

    void reportError(const QString& message) override;
    void showMessage(const QString& text) override;
    Answer messageBox(const QString& text, const QString& caption, Buttons buttons, Icon icon) override;
    QStringList openFiles(const FileRequest& request) override;
    QString saveFile(const FileRequest& request) override;
    std::optional<QColor> chooseColour(const QColor& initial, QList<QColor>& customColours) override;
    QString browseFolder(const QString& title, const QString& initialDir) override;

    // "Text|*.a;*.b|Other|*.c" -> "Text (*.a *.b);;Other (*.c)"; Qt-style filters pass unchanged.
    static QString qtFilter(const QString& filter);
    // The names a file dialog built by fileDialog() shows for a filter: each description as written.
    static QStringList shownFilterNames(const QString& filter);
    // The file dialog the file requests run (not executed).
    static std::unique_ptr<QFileDialog> fileDialog(const FileRequest& request, bool save);
};
