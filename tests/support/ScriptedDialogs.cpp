#include "ScriptedDialogs.h"

QStringList ScriptedDialogs::errors() const
{
    QStringList out;
    for (const Call& call : calls)
        if (call.kind == QLatin1String("error"))
            out << call.text;
    return out;
}

QStringList ScriptedDialogs::messages() const
{
    QStringList out;
    for (const Call& call : calls)
        if (call.kind == QLatin1String("message"))
            out << call.text;
    return out;
}

void ScriptedDialogs::reportError(const QString& message)
{
    calls.append({QStringLiteral("error"), message, {}, Buttons::Ok, Icon::Error, {}});
    if (whileErrorShows)
        whileErrorShows();
}

void ScriptedDialogs::showMessage(const QString& text)
{
    calls.append({QStringLiteral("message"), text, {}, Buttons::Ok, Icon::None, {}});
}

Dialogs::Answer ScriptedDialogs::messageBox(const QString& text, const QString& caption, Buttons buttons, Icon icon)
{
    calls.append({QStringLiteral("box"), text, caption, buttons, icon, {}});
    if (!m_answers.isEmpty())
        return m_answers.dequeue();
    return buttons == Buttons::YesNo ? No : (buttons == Buttons::OkCancel ? Cancel : Ok);
}

QStringList ScriptedDialogs::openFiles(const FileRequest& request)
{
    calls.append({QStringLiteral("open"), request.title, {}, Buttons::Ok, Icon::None, request});
    return m_files.isEmpty() ? QStringList() : m_files.dequeue();
}

QString ScriptedDialogs::saveFile(const FileRequest& request)
{
    calls.append({QStringLiteral("save"), request.title, {}, Buttons::Ok, Icon::None, request});
    return m_saveFiles.isEmpty() ? QString() : m_saveFiles.dequeue();
}

std::optional<QColor> ScriptedDialogs::chooseColour(const QColor& initial, QList<QColor>&)
{
    calls.append({QStringLiteral("colour"), initial.name(), {}, Buttons::Ok, Icon::None, {}});
    return m_colours.isEmpty() ? std::nullopt : m_colours.dequeue();
}

QString ScriptedDialogs::browseFolder(const QString& title, const QString&)
{
    calls.append({QStringLiteral("browse"), title, {}, Buttons::Ok, Icon::None, {}});
    return m_folders.isEmpty() ? QString() : m_folders.dequeue();
}

ScopedScriptedDialogs::ScopedScriptedDialogs() : m_dialogs(new ScriptedDialogs)
{
    m_previous = Dialogs::install(std::unique_ptr<Dialogs>(m_dialogs));
}

ScopedScriptedDialogs::~ScopedScriptedDialogs()
{
    Dialogs::install(std::move(m_previous));
}
