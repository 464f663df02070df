#pragma once

#include "toolkit/ClickTracker.h"

#include <QColor>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QSize>

class BevelPanel;
class PictureList;
class PictureView;
class QAction;
class QLabel;
class QScrollArea;
class QWidget;
class SpeedButton;
class SpinEdit;
class ThumbnailCaption;

// The grid of framed thumbnail cards in SB1, one card per list entry, and the selection:
// marking a card, the preview Img, the labels under it and the state of BtVerkstall.
class ThumbnailStrip : public QObject
{
    Q_OBJECT

public:
    // Name prefix of every card's frame panel; the frame-thickness option finds them by it.
    static constexpr const char* FramePrefix = "PnlRam";

    struct Controls
    {
        QWidget* form; // restored from the taskbar when a card is clicked
        QScrollArea* sb1;
        PictureView* img;
        QLabel* lbNamn;
        QLabel* lbPath;
        QLabel* lbSel;
        SpeedButton* btVerkstall;
        BevelPanel* pnlBg;
        BevelPanel* pnlMark;
        SpinEdit* ram;
        QAction* abortBild1 = nullptr;
        QAction* redigeravaldbild1 = nullptr;
    };

    ThumbnailStrip(Controls controls, PictureList& list, QObject* parent = nullptr);

    // Connects LbPath's click through the error guard.
    void bind();

    // Builds the card of list entry index at its grid place. Throws the decoder's AppError
    // (before anything is built) when the picture cannot be read.
    void AddThumbnail(int index, bool singleBorder);
    // Click of a card's image, frame or caption: marks the entry whose index the sender carries.
    void SelectThumbnail(QObject* sender);
    // Confirms the marked picture: after start-up, Verkställ and each rotation step.
    void LB1Click();
    // Opens the marked picture's folder when it exists.
    void LbPathClick();
    static QString FileNameWithoutExt(const QString& path);

    // Removes every card, the last first.
    void freeCards();
    int cardCount() const;
    // The card of entry index, or nullptr when that entry has no card.
    QWidget* card(int index) const;
    void scrollToCard(int index);

    // For the colour options: every card (the marked one too) takes the frame colour.
    void paintFrames(const QColor& colour);
    // For the colour options: a new frame thickness for every card; the mat follows it.
    void setFrameThickness(int thickness);

    // Card size for a strip of the given outer width (design width 414 gives 96 x 116).
    static QSize cardSize(int stripWidth);
    // Place of card index in the strip's content, by the row rule.
    static QPoint gridPosition(int index, const QSize& card, int stripWidth);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Card
    {
        QPointer<BevelPanel> card;
        QPointer<BevelPanel> frame;
        QPointer<BevelPanel> mat;
        QPointer<PictureView> image;
        QPointer<ThumbnailCaption> caption;
    };

    // The selection steps shared by a click and LB1Click.
    void select(int index);
    void layoutFrame(Card& card);
    QWidget* content();
    void growContent(const QRect& cardRect);
    QColor frameColour() const;
    QColor markColour() const;
    static void writeChosen(int index);

    Controls m_controls;
    ClickTracker m_pathClick;
    PictureList& m_list;
    QList<Card> m_cards;
};
