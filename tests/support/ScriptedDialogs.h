#pragma once

#include "platform/Dialogs.h"

#include <QQueue>
#include <functional>

// Dialogs for tests: answers are queued beforehand, every call is recorded.
// An unscripted question answers Cancel / No / an empty choice.
class ScriptedDialogs : public Dialogs
{
public:
    struct Call
    {
        QString kind; // "error", "message", "box", "open", "save", "colour", "browse"
        QString text;
        QString caption;
        Buttons buttons = Buttons::Ok;
        Icon icon = Icon::None;
        FileRequest request;
    };

    void setNextAnswer(Answer answer) { m_answers.enqueue(answer); }
    void setNextFiles(const QStringList& files) { m_files.enqueue(files); }
    void setNextSaveFile(const QString& file) { m_saveFiles.enqueue(file); }
    void setNextColour(std::optional<QColor> colour) { m_colours.enqueue(colour); }
    void setNextFolder(const QString& folder) { m_folders.enqueue(folder); }

    QList<Call> calls;
    // Runs inside every error box, as the events that a real box's event loop would handle.
    std::function<void()> whileErrorShows;
    QStringList errors() const;   // texts of reportError calls
    QStringList messages() const; // texts of showMessage calls

    void reportError(const QString& message) override;
    void showMessage(const QString& text) override;
    Answer messageBox(const QString& text, const QString& caption, Buttons buttons, Icon icon) override;
    QStringList openFiles(const FileRequest& request) override;
    QString saveFile(const FileRequest& request) override;
    std::optional<QColor> chooseColour(const QColor& initial, QList<QColor>& customColours) override;
    QString browseFolder(const QString& title, const QString& initialDir) override;

private:
    QQueue<Answer> m_answers;
    QQueue<QStringList> m_files;
    QQueue<QString> m_saveFiles;
    QQueue<std::optional<QColor>> m_colours;
    QQueue<QString> m_folders;
};

// Installs a ScriptedDialogs for the lifetime of the object.
class ScopedScriptedDialogs
{
public:
    ScopedScriptedDialogs();
    ~ScopedScriptedDialogs();
    ScriptedDialogs* operator->() { return m_dialogs; }
    ScriptedDialogs& operator*() { return *m_dialogs; }

private:
    ScriptedDialogs* m_dialogs;
    std::unique_ptr<Dialogs> m_previous;
};
