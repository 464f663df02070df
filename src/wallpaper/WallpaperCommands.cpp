#include "WallpaperCommands.h"

#include "picture/PathText.h"
#include "picturelist/PictureList.h"
#include "platform/Desktop.h"
#include "platform/Guard.h"
#include "platform/SettingsStore.h"
#include "toolkit/SpeedButton.h"

#include <QComboBox>
#include <QLineEdit>
#include <exception>

WallpaperCommands::WallpaperCommands(Controls controls, PictureList& list, QObject* parent)
    : QObject(parent), m_controls(controls), m_list(list)
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

void WallpaperCommands::ApplyWallpaper(const QString& path, const QString& wallpaperStyle, const QString& tileWallpaper)
{
    const QString extension = PathText::extension(path);
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

void WallpaperCommands::applyPlacement(const QString& path, int placementIndex)
{
    if (const auto strings = placementStrings(placementIndex))
        ApplyWallpaper(path, strings->first, strings->second);
}

void WallpaperCommands::BtVerkstallClick()
{
    if (m_list.count() == 0)
        return;
    // Marking is not a click: the marked picture is confirmed once, below.
    if (m_list.markedIndex() < 0)
        m_list.setMarkedIndex(0);

    std::exception_ptr failure;
    try {
        if (const auto strings = placementStrings(m_controls.cmbTyp->currentIndex()))
            ApplyWallpaper(m_list.path(m_list.markedIndex()), strings->first, strings->second);
    } catch (...) {
        failure = std::current_exception();
    }
    m_controls.btVerkstall->setEnabled(false);
    emit confirmMarkedRequested();
    throwPendingFailure();
    if (failure)
        std::rethrow_exception(failure);
}

void WallpaperCommands::CmbTypChange()
{
    m_controls.btVerkstall->setEnabled(true);
    SettingsStore store;
    store.writeInteger(Setting::Screenstyle, m_controls.cmbTyp->currentIndex());
}

// Choosing a placement from the list counts as changing it.
void WallpaperCommands::CmbTypSelect()
{
    CmbTypChange();
}

void WallpaperCommands::VisaPopup(const QString& path)
{
    emit popupRequested(path);
    throwPendingFailure();
}
