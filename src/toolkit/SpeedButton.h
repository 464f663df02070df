#pragma once

#include <QAbstractButton>
#include <QPixmap>

// A flat button with a glyph left of its caption, as in a tool bar: the glyph sits 8 pixels
// from the left edge, the caption 4 pixels after it. It takes no keyboard focus; an ampersand
// in the caption marks its access key.
class SpeedButton : public QAbstractButton
{
    Q_OBJECT

public:
    explicit SpeedButton(QWidget* parent = nullptr);

    // numGlyphs 2: the image holds the enabled and the disabled glyph side by side.
    // The colour of the bottom-left pixel is drawn transparent.
    void setGlyph(const QPixmap& glyph, int numGlyphs = 1);
    // Loads the glyph from the bitmap resources, with its finer painting for scaled screens;
    // throws AppError for an unknown name.
    void setGlyphResource(const QString& name, int numGlyphs = 1);
    QString glyphResource() const { return m_glyphResource; }
    // The glyph at 1x.
    QPixmap glyph() const { return m_glyph; }
    int numGlyphs() const { return m_numGlyphs; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QPixmap currentGlyph() const;

    QPixmap m_glyph;
    QPixmap m_fineGlyph; // device pixel ratio 2, or null
    int m_numGlyphs = 1;
    QString m_glyphResource;
    bool m_hover = false;
};
