#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QWidget;

// Every message box and common dialog goes through this seam, so tests can script the answers.
class Dialogs
{
public:
    enum class Icon
    {
        None,
        Information,
        Warning,
        Error,
        Question
    };
    enum class Buttons
    {
        Ok,
        YesNo,
        OkCancel
    };
    enum Answer
    {
        Ok = 1,
        Cancel = 2,
        Yes = 6,
        No = 7
    };

    struct FileRequest
    {
        QString title;
        QString filter;     // Windows-style "Text|*.ext|Text|*.ext" or Qt-style "Text (*.ext);;..."
        QString defaultExt; // without dot
        QString initialDir;
        QString fileName;
        bool multiSelect = false;
        bool preview = false; // picture preview beside the file list
    };

    virtual ~Dialogs() = default;

    // The framework's default error report: a message box with the application title.
    virtual void reportError(const QString& message) = 0;
    // The simple message dialog: application title as caption, one OK button.
    virtual void showMessage(const QString& text) = 0;
    // A system message box with its own caption, buttons and icon.
    virtual Answer messageBox(const QString& text, const QString& caption, Buttons buttons, Icon icon) = 0;
    // Empty list when cancelled.
    virtual QStringList openFiles(const FileRequest& request) = 0;
    // Empty string when cancelled.
    virtual QString saveFile(const FileRequest& request) = 0;
    // nullopt when cancelled. customColours (16 entries) is read and updated.
    virtual std::optional<QColor> chooseColour(const QColor& initial, QList<QColor>& customColours) = 0;
    // The shell's browse dialog: folders and files, one item chosen; initialDir may name a file.
    // Empty string when cancelled.
    virtual QString browseFolder(const QString& title, const QString& initialDir) = 0;

    static Dialogs& instance();
    // Replaces the dialogs in use (tests install a scripted one); returns the previous.
    static std::unique_ptr<Dialogs> install(std::unique_ptr<Dialogs> dialogs);
};
