#include "WallpaperCommands.h"

#include "core/Placements.h"
#include "picture/PathText.h"
#include "picturelist/PictureList.h"
#include "platform/Desktop.h"
#include "platform/Dialogs.h"
#include "platform/Guard.h"
#include "platform/SettingsStore.h"
#include "toolkit/SpeedButton.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTimer>

WallpaperCommands::WallpaperCommands(Controls controls, Work work, PictureList& list, QObject* parent)
    : QObject(parent), m_controls(controls), m_work(std::move(work)), m_list(list)
{
}

WallpaperCommands::~WallpaperCommands() = default;

void WallpaperCommands::bind()
{
    connectGuarded(m_controls.btVerkstall, &QAbstractButton::clicked, this, &WallpaperCommands::BtVerkstallClick);
    // Typing into the box is a change; choosing from its list is a select. Setting the index from
    // code raises neither.
    if (QLineEdit* edit = m_controls.cmbTyp->lineEdit())
        connectGuarded(edit, &QLineEdit::textEdited, this, [this] {
            syncTypedPlacement();
            CmbTypChange();
        });
    connectGuarded(m_controls.cmbTyp, &QComboBox::activated, this, &WallpaperCommands::CmbTypSelect);
}

void WallpaperCommands::ApplyWallpaper(const QString& path, const QString& wallpaperStyle, const QString& tileWallpaper,
                                       Done done)
{
    const quint64 generation = ++m_generation;
    const QString extension = PathText::extension(path);
    const bool activeDesktop = extension == QLatin1String(".gif") || extension == QLatin1String(".jpg");
    auto desktop = Desktop::create();
    if (!activeDesktop) {
        try {
            desktop->writeDesktopValues(path, wallpaperStyle, tileWallpaper);
        } catch (const AppError& error) {
            // The popup shows even when a value could not be written; the desktop is not told.
            QMetaObject::invokeMethod(
                this, [=, this] { finish(generation, path, error, true, done); }, Qt::QueuedConnection);
            return;
        }
    }
    Desktop* backend = desktop.get();
    m_inFlight[generation] = std::move(desktop);
    backend->changeAsync(activeDesktop ? Desktop::Route::ActiveDesktop : Desktop::Route::DesktopValues, path,
                         wallpaperStyle, tileWallpaper, this,
                         [this, generation, path, done](const Desktop::ChangeResult& result) {
                             // Freed once its own call has returned.
                             QTimer::singleShot(0, this, [this, generation] { m_inFlight.erase(generation); });
                             finish(generation, path, result.error, result.reached, done);
                         });
}

void WallpaperCommands::finish(quint64 generation, const QString& path, std::optional<AppError> failure, bool reached,
                               Done done)
{
    // A newer application has been asked for: this older answer would only announce a background
    // that is already being replaced.
    if (generation != m_generation)
        return;
    if (reached) {
        try {
            m_work.showPopup(path);
        } catch (const AppError& error) {
            done(error);
            return;
        }
        if (m_work.whenPopupShown) {
            // A value that could not be written is still the application's failure once the popup shows.
            m_work.whenPopupShown([failure, done](const std::optional<AppError>& popupFailure) {
                done(popupFailure ? popupFailure : failure);
            });
            return;
        }
    }
    done(failure);
}

void WallpaperCommands::applyPlacement(const QString& path, int placementIndex, Done done)
{
    const auto row = Placements::byIndex(placementIndex);
    if (!row) {
        done(std::nullopt);
        return;
    }
    ApplyWallpaper(path, QLatin1String(row->wallpaperStyle), QLatin1String(row->tileWallpaper), std::move(done));
}

void WallpaperCommands::applyChosen(const QString& path, Done done)
{
    applyPlacement(path, m_controls.cmbTyp->currentIndex(), std::move(done));
}

void WallpaperCommands::BtVerkstallClick()
{
    if (m_list.count() == 0)
        return;
    // Marking is not a click: the marked picture is confirmed once, below.
    if (m_list.markedIndex() < 0)
        m_list.setMarkedIndex(0);
    // The answer comes outside this handler, so it is reported here.
    applyChosen(m_list.path(m_list.markedIndex()), [](const std::optional<AppError>& failure) {
        if (failure)
            Dialogs::instance().reportError(failure->message());
    });
    emit applied();
    m_work.confirmMarked();
}

void WallpaperCommands::syncTypedPlacement()
{
    // Typed text that names an item selects it; other text leaves the last placement in force.
    QComboBox* box = m_controls.cmbTyp;
    const int typed = box->findText(box->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (typed >= 0 && typed != box->currentIndex())
        box->setCurrentIndex(typed);
}

void WallpaperCommands::CmbTypChange()
{
    emit placementEdited();
    SettingsStore store;
    store.writeInteger(Setting::Screenstyle, m_controls.cmbTyp->currentIndex());
}

// Choosing a placement from the list counts as changing it.
void WallpaperCommands::CmbTypSelect()
{
    CmbTypChange();
}
