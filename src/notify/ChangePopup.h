#pragma once

#include "toolkit/ClickTracker.h"

#include <QColor>
#include <QString>
#include <QWidget>

class BevelPanel;
class PictureView;
class QLabel;
class TransparentImage;
class WrappingLabel;

// One change popup: a small borderless window with the heading, the picture on a white mat
// inside the thumbnail frame colours, the file name under it and a close mark in the corner.
// The window is dressed anew for every picture, so one window can serve many changes.
class ChangePopup : public QWidget
{
    Q_OBJECT

public:
    static constexpr int Width = 155;
    static constexpr int Height = 175;
    // The strip in the window's own colour above the frame.
    static constexpr int SpacerHeight = 8;
    static constexpr int FrameBorder = 4;
    static constexpr int BevelWidth = 2;
    // The name label grows with a long name, but leaves the picture room.
    static constexpr int NameMaxLines = 4;

    struct Look
    {
        QColor window; // the main window's background
        QColor frame;  // the thumbnail frame colour
        QColor mark;   // the marking colour
        int frameThickness = 8;
    };

    ChangePopup();

    // Dresses the window for the picture at path: colours, frame thickness and the file name. The
    // mat is left empty; the picture's load (picture()->load) fits it to the mat.
    void dress(const Look& look, const QString& path);

    // The name shown for a path: the file name without its folder.
    static QString nameOf(const QString& path);

    BevelPanel* framePanel() const { return m_frame; }
    BevelPanel* markPanel() const { return m_mark; }
    BevelPanel* matPanel() const { return m_mat; }
    PictureView* picture() const { return m_picture; }
    QLabel* heading() const { return m_heading; }
    WrappingLabel* nameLabel() const { return m_name; }
    TransparentImage* closeMark() const { return m_close; }

signals:
    // A left click on the close mark.
    void closeClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void placeChildren();

    QLabel* m_spacer = nullptr;
    BevelPanel* m_frame = nullptr;
    QLabel* m_heading = nullptr;
    WrappingLabel* m_name = nullptr;
    BevelPanel* m_mark = nullptr;
    BevelPanel* m_mat = nullptr;
    PictureView* m_picture = nullptr;
    TransparentImage* m_close = nullptr;
    ClickTracker m_closeClick;
};
