#include "WallpaperCommands.h"

#include "platform/Desktop.h"
#include "platform/Guard.h"
#include "platform/SettingsStore.h"
#include "toolkit/MainControls.h"
#include "toolkit/SpeedButton.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <algorithm>
#include <exception>

WallpaperCommands::WallpaperCommands(MainControls& controls, Hooks hooks, QObject* parent)
    : QObject(parent), m_controls(controls), m_hooks(std::move(hooks))
{
}

void WallpaperCommands::bind()
{
    connectGuarded(m_controls.btVerkstall, &QAbstractButton::clicked, this, &WallpaperCommands::BtVerkstallClick);
    // Typing into the box is a change; choosing from its list is a select. Setting the index from
    // code raises neither.
    if (QLineEdit* edit = m_controls.cmbTyp->lineEdit())
        connectGuarded(edit, &QLineEdit::textEdited, this, &WallpaperCommands::CmbTypChange);
    connectGuarded(m_controls.cmbTyp, &QComboBox::activated, this, &WallpaperCommands::CmbTypSelect);
}

std::optional<std::pair<QString, QString>> WallpaperCommands::placementStrings(int index)
{
    switch (index) {
    case 0: // "Centrerad"
        return std::pair{QStringLiteral("0"), QStringLiteral("0")};
    case 1: // "Sida vid Sida"
        return std::pair{QStringLiteral("0"), QStringLiteral("1")};
    case 2: // "Anpassad"
        return std::pair{QStringLiteral("2"), QStringLiteral("0")};
    default:
        return std::nullopt;
    }
}

QString WallpaperCommands::extensionOf(const QString& path)
{
    // Lists may come from Windows, so both separators end a folder name.
    const qsizetype nameStart = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\'))) + 1;
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot < nameStart)
        return {};
    return path.mid(dot);
}

void WallpaperCommands::ApplyWallpaper(const QString& path, const QString& wallpaperStyle, const QString& tileWallpaper)
{
    const QString extension = extensionOf(path);
    if (extension == QLatin1String(".gif") || extension == QLatin1String(".jpg")) {
        SetActiveDesktopWallpaper(path, wallpaperStyle, tileWallpaper);
        return;
    }

    const auto desktop = Desktop::create();
    // The popup shows even when a value could not be written; the write error then ends the
    // routine before the desktop is told.
    std::exception_ptr writeError;
    try {
        desktop->writeDesktopValues(path, wallpaperStyle, tileWallpaper);
    } catch (const AppError&) {
        writeError = std::current_exception();
    }
    VisaPopup(path);
    if (writeError)
        std::rethrow_exception(writeError);
    desktop->applyDesktopValues(path, wallpaperStyle, tileWallpaper);
}

bool WallpaperCommands::SetActiveDesktopWallpaper(const QString& path, const QString& wallpaperStyle,
                                                  const QString& tileWallpaper)
{
    const auto refusal = Desktop::create()->setActiveDesktopWallpaper(path, wallpaperStyle, tileWallpaper);
    VisaPopup(path);
    if (refusal)
        throw *refusal;
    return true;
}

void WallpaperCommands::BtVerkstallClick()
{
    QListWidget* list = m_controls.lb1;
    if (list->count() == 0)
        return;
    if (list->currentRow() < 0) {
        // Marking is not a click: LB1Click runs once, below.
        const QSignalBlocker blocker(list);
        list->setCurrentRow(0);
    }

    std::exception_ptr failure;
    try {
        if (const auto strings = placementStrings(m_controls.cmbTyp->currentIndex()))
            ApplyWallpaper(markedPath(list->currentRow()), strings->first, strings->second);
    } catch (...) {
        failure = std::current_exception();
    }
    m_controls.btVerkstall->setEnabled(false);
    if (m_hooks.lb1Click)
        m_hooks.lb1Click();
    if (failure)
        std::rethrow_exception(failure);
}

void WallpaperCommands::CmbTypChange()
{
    m_controls.btVerkstall->setEnabled(true);
    SettingsStore store;
    store.writeInteger(QStringLiteral("Screenstyle"), m_controls.cmbTyp->currentIndex());
}

// Choosing a placement from the list counts as changing it.
void WallpaperCommands::CmbTypSelect()
{
    CmbTypChange();
}

void WallpaperCommands::VisaPopup(const QString& path)
{
    if (m_hooks.visaPopup)
        m_hooks.visaPopup(path);
}

QString WallpaperCommands::markedPath(int row) const
{
    const QListWidgetItem* item = m_controls.lb1->item(row);
    const QVariant entry = item->data(Qt::UserRole);
    // An item without entry bytes holds its path as text only.
    if (!entry.isValid())
        return item->text();
    return QFile::decodeName(entry.toByteArray());
}
