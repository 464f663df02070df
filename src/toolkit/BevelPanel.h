#pragma once

#include "ClickTracker.h"

#include <QColor>
#include <QFrame>

// A panel as the original forms draw it: an optional outer and inner 3D bevel, a gap of
// border width between them, and optionally a single-line border around everything.
// Children are placed at absolute positions from the panel's top-left corner. A panel whose
// colour was never set shows its parent's colour; child labels inherit the font colour.
class BevelPanel : public QFrame
{
    Q_OBJECT

public:
    enum class Bevel
    {
        None,
        Lowered,
        Raised
    };

    explicit BevelPanel(QWidget* parent = nullptr);

    void setBevelOuter(Bevel bevel);
    void setBevelInner(Bevel bevel);
    void setBevelWidth(int width);
    void setBorderWidth(int width);
    void setSingleBorder(bool on);
    Bevel bevelOuter() const { return m_outer; }
    Bevel bevelInner() const { return m_inner; }
    int bevelWidth() const { return m_bevelWidth; }
    int borderWidth() const { return m_borderWidth; }
    bool singleBorder() const { return m_singleBorder; }

    void setColor(const QColor& colour);
    QColor color() const;
    void setFontColor(const QColor& colour);
    QColor fontColor() const;

signals:
    void clicked();
    // Emitted on a context-menu request only while something listens; otherwise the request
    // goes on to the parent, as a panel without a menu of its own does.
    void rightClicked(const QPoint& globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    Bevel m_outer = Bevel::Raised;
    Bevel m_inner = Bevel::None;
    int m_bevelWidth = 1;
    int m_borderWidth = 0;
    bool m_singleBorder = false;
    ClickTracker m_click;
};
