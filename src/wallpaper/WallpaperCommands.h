#pragma once

#include <QObject>
#include <QString>
#include <optional>
#include <utility>

class PictureList;
class QComboBox;
class SpeedButton;

// Applying a wallpaper: the routine both Verkställ and the rotation use, and the handlers of
// BtVerkstall and the placement box CmbTyp. Works on the picture list, CmbTyp and BtVerkstall.
class WallpaperCommands : public QObject
{
    Q_OBJECT

public:
    struct Controls
    {
        SpeedButton* btVerkstall;
        QComboBox* cmbTyp;
    };

    WallpaperCommands(Controls controls, PictureList& list, QObject* parent = nullptr);

    // Connects the handlers to BtVerkstall and CmbTyp.
    void bind();

    // The "WallpaperStyle" and "TileWallpaper" strings of a CmbTyp index; nothing outside 0..2.
    static std::optional<std::pair<QString, QString>> placementStrings(int index);
    // From the last "." of the file-name part to the end, the dot included; empty without a dot.

    // ".jpg" and ".gif" (exactly, case-sensitive) go to the Active Desktop route, everything else
    // through the desktop values. Ends with the popup; does not check that the file exists.
    void ApplyWallpaper(const QString& path, const QString& wallpaperStyle, const QString& tileWallpaper);
    // The Active Desktop route; true whenever it returns.
    bool SetActiveDesktopWallpaper(const QString& path, const QString& wallpaperStyle, const QString& tileWallpaper);

    // ApplyWallpaper with the placement of a CmbTyp index; nothing for an index outside 0..2.
    void applyPlacement(const QString& path, int placementIndex);

    void BtVerkstallClick();
    void CmbTypChange();
    void CmbTypSelect();

signals:
    // Requests (connectRequest): a failure of the receiver ends the application there.
    // Confirm the marked picture (preview, labels, the stored choice, CurrentIndex).
    void confirmMarkedRequested();
    // VisaPopup: announce the new background with the change popup.
    void popupRequested(const QString& path);

private:
    void VisaPopup(const QString& path);

    Controls m_controls;
    PictureList& m_list;
};
