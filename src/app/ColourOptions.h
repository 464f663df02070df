#pragma once

#include "chrome/MenuSwatches.h"
#include "platform/CustomColours.h"
#include "platform/SettingsStore.h"

#include <QObject>
#include <optional>

class BevelPanel;
class PictureList;
class QAction;
class QLabel;
class SpinEdit;
class ThumbnailStrip;

// The colours of the window, the bottom field and the thumbnail frames, and the frame
// thickness; every colour is chosen in one colour dialog whose custom colours live in "Clr.frg".
class ColourOptions : public QObject
{
    Q_OBJECT

public:
    struct Controls
    {
        MenuSwatches::Items menu; // Form1, Panel2 and the items that show their colours
        BevelPanel* panel1;
        BevelPanel* panel3;
        BevelPanel* panel4;
        BevelPanel* panel5;
        BevelPanel* pnlBg;
        BevelPanel* pnlMark;
        SpinEdit* ram;
        QLabel* lbPath;
        QAction* standardBakgrundsfrg1;
        QAction* standardTextfrg1;
        QAction* standardBakgrundsfrg2;
        QAction* standardTextfrg2;
        QAction* standardBakgrundsfrg3;
        QAction* standardTextfrg3;
    };

    ColourOptions(Controls controls, const PictureList& list, ThumbnailStrip* strip, QString programFolder,
                  QObject* parent = nullptr);

    void bind();

    // Colours as the controls hold them.
    QColor windowColour() const;
    QColor windowTextColour() const;
    QColor bottomColour() const;
    QColor bottomTextColour() const;
    void setWindowColour(const QColor& colour);
    void setWindowTextColour(const QColor& colour);
    void setBottomColour(const QColor& colour);
    void setBottomTextColour(const QColor& colour);
    void setFolderLabelColour(const QColor& colour);
    // Frame and marking swatches take stored values, which may name a system colour.
    static void setSwatch(BevelPanel* panel, qint32 value);
    static qint32 swatchValue(const BevelPanel* panel);

    void PnlBgClick();
    void PnlMarkClick();
    void RamChange();
    void Byt1Click();
    void Textfarg1Click();
    void StandardBakgrundsfrg1Click();
    void StandardTextfrg1Click();
    void BytBakgrundsfrg2Click();
    void BytTextFrg2Click();
    void StandardBakgrundsfrg3Click();
    void StandardTextfrg3Click();

private:
    QString colourFile() const;
    void loadCustom();
    void saveCustom();
    // Runs the dialog on the start colour; nullopt when cancelled. Custom colours travel with it.
    std::optional<QColor> runDialog(const QColor& start);
    void writeColour(Setting key, const QColor& colour);

    Controls m_c;
    const PictureList& m_list;
    ThumbnailStrip* m_strip;
    QString m_programFolder;
    CustomColours m_custom;
};
