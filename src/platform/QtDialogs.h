#pragma once

#include "Dialogs.h"

// The real dialogs on top of Qt's message boxes and file, colour and folder dialogs.
class QtDialogs : public Dialogs
{
public:
    void reportError(const QString& message) override;
    void showMessage(const QString& text) override;
    Answer messageBox(const QString& text, const QString& caption, Buttons buttons, Icon icon) override;
    QStringList openFiles(const FileRequest& request) override;
    QString saveFile(const FileRequest& request) override;
    std::optional<QColor> chooseColour(const QColor& initial, QList<QColor>& customColours) override;
    QString browseFolder(const QString& title, const QString& initialDir) override;

    // "Text|*.a;*.b|Other|*.c" -> "Text (*.a *.b);;Other (*.c)"; Qt-style filters pass unchanged.
    static QString qtFilter(const QString& filter);
};
