#pragma once

#include "platform/CustomColours.h"

#include <QObject>
#include <optional>

struct MainControls;
class BevelPanel;
class ThumbnailStrip;
class QAction;

// The colours of the window, the bottom field and the thumbnail frames, and the frame
// thickness; every colour is chosen in one colour dialog whose custom colours live in "Clr.frg".
class ColourOptions : public QObject
{
    Q_OBJECT

public:
    ColourOptions(MainControls& controls, ThumbnailStrip* strip, QString programFolder, QObject* parent = nullptr);

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
    void saveCustomThenWrite(const char* name, qint32 value);
    // Runs the dialog on the start colour; nullopt when cancelled. Custom colours travel with it.
    std::optional<QColor> runDialog(const QColor& start);
    void writeColour(const char* name, const QColor& colour);

    MainControls& m_c;
    ThumbnailStrip* m_strip;
    QString m_programFolder;
    CustomColours m_custom;
};
