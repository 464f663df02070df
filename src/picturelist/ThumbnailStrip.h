#pragma once

#include "picture/ThumbnailLoader.h"
#include "toolkit/ClickTracker.h"

#include <QColor>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QSize>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

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

    // Starts making the thumbnail of entry index (to be path) on the worker threads. Requests are
    // worked on in the order they are made; thumbnailReady(index) announces each one made.
    void prefetch(int index, const QString& path, bool singleBorder);
    // The thumbnail of entry index for a card with or without the single border, once made;
    // nothing while it is being made (asked for here when it was not). Throws the decoder's
    // AppError when the picture cannot be read.
    std::optional<QImage> takeThumbnail(int index, bool singleBorder);
    // Builds the card of list entry index with its thumbnail at its grid place.
    void AddThumbnail(int index, bool singleBorder, const QImage& thumbnail);
    // Click of a card's image, frame or caption: marks the entry whose index the sender carries.
    void SelectThumbnail(QObject* sender);
    // Confirms the marked picture: after start-up, Verkställ and each rotation step.
    void LB1Click();
    // Opens the marked picture's folder when it exists.
    void LbPathClick();
    static QString FileNameWithoutExt(const QString& path);

    // Empties the strip at once and discards thumbnails still being made. The cards themselves
    // are deleted a batch at a time while the event loop runs, so a long list never freezes it.
    void freeCards();
    // Shows SB1 with the cards built while it was hidden. Stepwise, they are shown in list order
    // a batch at a time with the event loop running in between, and shown runs when the last is;
    // freeing the cards meanwhile stops it, and shown never runs.
    void showStrip(bool stepwise, std::function<void()> shown = {});
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
    // The box a card's picture is fitted into: the frame's inner area less the mat's bevel.
    QSize thumbnailBox(bool singleBorder) const;
    // Place of card index in the strip's content, by the row rule.
    static QPoint gridPosition(int index, const QSize& card, int stripWidth);

signals:
    void thumbnailReady(int index);
    // The marked or the confirmed picture may have changed: the commands' states are due.
    void selectionChanged();

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
    void deleteDetachedCards();
    void showHiddenCards();
    // Whether a part of a card in SB1 lies, at least partly, in SB1's visible area.
    bool inView(const QWidget* part) const;

    Controls m_controls;
    ClickTracker m_pathClick;
    PictureList& m_list;
    QList<Card> m_cards;
    // Cards built while SB1 was hidden, in list order, from m_nextHidden on still hidden.
    QList<int> m_hiddenCards;
    qsizetype m_nextHidden = 0;
    // Every card but m_colouredCard has this colour, when known: marking then repaints two cards.
    std::optional<QColor> m_cardsColour;
    int m_colouredCard = -1;
    // Contents taken out of SB1 by freeCards, their cards still to be deleted.
    std::vector<std::unique_ptr<QWidget>> m_detached;
    QTimer m_deleteTimer;
    QTimer m_showTimer;
    std::function<void()> m_shown;
    ThumbnailLoader m_loader;
};
