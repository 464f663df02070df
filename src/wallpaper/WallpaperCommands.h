#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <utility>

struct MainControls;

// Applying a wallpaper: the routine both Verkställ and the rotation use, and the handlers of
// BtVerkstall and the placement box CmbTyp. Works on LB1, CmbTyp and BtVerkstall.
class WallpaperCommands : public QObject
{
    Q_OBJECT

public:
    struct Hooks
    {
        // LB1Click: confirms the marked picture (preview, labels, "Vald", CurrentIndex).
        std::function<void()> lb1Click;
        // VisaPopup: announces the new background. Empty until the change popup exists, and
        // then nothing is shown.
        std::function<void(const QString& path)> visaPopup;
    };

    WallpaperCommands(MainControls& controls, Hooks hooks, QObject* parent = nullptr);

    // Connects the handlers to BtVerkstall and CmbTyp.
    void bind();

    // The "WallpaperStyle" and "TileWallpaper" strings of a CmbTyp index; nothing outside 0..2.
    static std::optional<std::pair<QString, QString>> placementStrings(int index);
    // From the last "." of the file-name part to the end, the dot included; empty without a dot.
    static QString extensionOf(const QString& path);

    // ".jpg" and ".gif" (exactly, case-sensitive) go to the Active Desktop route, everything else
    // through the desktop values. Ends with the popup; does not check that the file exists.
    void ApplyWallpaper(const QString& path, const QString& wallpaperStyle, const QString& tileWallpaper);
    // The Active Desktop route; true whenever it returns.
    bool SetActiveDesktopWallpaper(const QString& path, const QString& wallpaperStyle, const QString& tileWallpaper);

    void BtVerkstallClick();
    void CmbTypChange();
    void CmbTypSelect();

private:
    void VisaPopup(const QString& path);
    QString markedPath(int row) const;

    MainControls& m_controls;
    Hooks m_hooks;
};
