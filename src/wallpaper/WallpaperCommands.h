#pragma once

#include "platform/AppError.h"

#include <QObject>
#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <optional>

class Desktop;
class PictureList;
class QComboBox;
class SpeedButton;

// Applying a wallpaper: the routine both Verkställ and the rotation use, and the handlers of
// BtVerkstall and the placement box CmbTyp. The desktop is told without blocking the window; the
// popup follows its answer. Of applications that overlap, only the newest one's answer counts.
class WallpaperCommands : public QObject
{
    Q_OBJECT

public:
    struct Controls
    {
        SpeedButton* btVerkstall;
        QComboBox* cmbTyp;
    };

    // The work applying needs from the others.
    struct Work
    {
        // Confirms the marked picture: preview, labels, the stored choice, CurrentIndex (LB1Click).
        std::function<void()> confirmMarked;
        // Announces the new background (VisaPopup); throws AppError when the picture cannot be shown.
        std::function<void(const QString& path)> showPopup;
        // Where the popup shows once its picture is decoded: takes the application's end, to run
        // once the popup asked for last shows or fails. Left out, the popup counts as shown when
        // showPopup returns.
        std::function<void(std::function<void(const std::optional<AppError>& failure)> shown)> whenPopupShown = {};
    };

    // An application's end: its failure, or nothing once its popup showed.
    using Done = std::function<void(const std::optional<AppError>& failure)>;

    WallpaperCommands(Controls controls, Work work, PictureList& list, QObject* parent = nullptr);
    ~WallpaperCommands() override;

    // Connects the handlers to BtVerkstall and CmbTyp.
    void bind();

    // ".jpg" and ".gif" (exactly, case-sensitive) go to the Active Desktop route, everything else
    // through the desktop values. done runs later, after the popup or with the failure, and not at
    // all when a newer application replaced this one. Does not check that the file exists.
    void ApplyWallpaper(const QString& path, const QString& wallpaperStyle, const QString& tileWallpaper, Done done);

    // ApplyWallpaper with the placement of a CmbTyp index; for an index outside the table nothing
    // is applied and done runs at once.
    void applyPlacement(const QString& path, int placementIndex, Done done);
    // With the placement chosen in CmbTyp.
    void applyChosen(const QString& path, Done done);

    void BtVerkstallClick();
    void CmbTypChange();
    void CmbTypSelect();

signals:
    // Verkställ applied the marked picture: applying it again changes nothing until something changes.
    void applied();
    // The placement was changed by the user: applying the same picture again now changes something.
    void placementEdited();

private:
    void finish(quint64 generation, const QString& path, std::optional<AppError> failure, bool reached, Done done);
    void syncTypedPlacement();

    Controls m_controls;
    Work m_work;
    PictureList& m_list;
    quint64 m_generation = 0;
    // Each desktop backend lives until its answer has come.
    std::map<quint64, std::unique_ptr<Desktop>> m_inFlight;
};
