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

    // Starts making the thumbnail of entry index (to be path) on the worker threads, so that
    // AddThumbnail finds it ready. Requests are worked on in the order they are made.
    void prefetch(int index, const QString& path, bool singleBorder);
    // Builds the card of list entry index at its grid place, waiting for its thumbnail with the
    // event loop running. Throws the decoder's AppError (before anything is built) when the
    // picture cannot be read. Returns false, building nothing, when the cards were freed while
    // it waited: the load that asked for it is over.
    bool AddThumbnail(int index, bool singleBorder);
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
    // a batch at a time with the event loop running in between; returns false, having stopped,
    // when the cards were freed meanwhile.
    bool showStrip(bool stepwise);
    // Counts freeCards(): a load that sees it change knows the strip was rebuilt under it.
    quint64 epoch() const { return m_epoch; }
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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    // The marked or the confirmed picture may have changed: the commands' states are due.
    void selectionChanged();

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
    ThumbnailLoader m_loader;
    quint64 m_epoch = 0;
};
