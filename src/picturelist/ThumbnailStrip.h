#pragma once

#include "picture/ThumbnailLoader.h"
#include "toolkit/ClickTracker.h"

#include <QColor>
#include <QHash>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QSet>
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
class SpinEdit;
class ThumbnailCaption;

// The grid of framed thumbnail cards in SB1, one card per list entry, and the selection:
// marking a card, the preview Img, the labels under it and the state of BtVerkstall.
// Only the cards in and near SB1's view have widgets (a small pool, reused as the view moves) and
// hold their thumbnails; the content widget has the size of the whole grid. Thumbnails of the
// other cards are made in the background, nearest to the view first, so the shared cache has them.
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
    // Whether card index, once built, would be in or near SB1's view: its thumbnail is shown at once.
    bool nearView(int index) const;
    // First and last entry of the rows in or near the view (the last may lie beyond the cards).
    std::pair<int, int> viewBand() const { return band(); }
    // Builds the card of list entry index at its grid place. A null thumbnail is made when the card
    // comes near the view; one given for a card away from the view is not kept.
    void AddThumbnail(int index, bool singleBorder, const QImage& thumbnail = {});
    // Click of a card's image, frame or caption: marks the entry whose index the sender carries.
    void SelectThumbnail(QObject* sender);
    // Confirms the marked picture: after start-up, Verkställ and each rotation step.
    void LB1Click();
    // Opens the marked picture's folder when it exists.
    void LbPathClick();
    static QString FileNameWithoutExt(const QString& path);

    // Empties the strip and discards thumbnails still being made.
    void freeCards();
    // Shows SB1 with the cards built while it was hidden, then runs shown; thumbnails of the cards
    // away from the view are made from then on. stepwise is kept for callers: the few widgets
    // the view needs are shown at once either way.
    void showStrip(bool stepwise, std::function<void()> shown = {});
    // The number of cards built.
    int cardCount() const { return m_builtCount; }
    // Whether every card's thumbnail has been made (or has failed) since it was built.
    bool thumbnailsDone() const { return m_madeCount == m_builtCount; }
    // The card of entry index while it is in or near the view; nullptr otherwise or without a card.
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
        int index = -1; // the entry shown, -1 for a spare card
    };
    enum EntryFlag : quint8
    {
        Built = 1,
        SingleBorder = 2,
        Made = 4 // its thumbnail was made (or failed) since the card was built
    };

    // The selection steps shared by a click and LB1Click.
    void select(int index);
    void layoutFrame(Card& card);
    QWidget* content();
    QColor frameColour() const;
    QColor markColour() const;
    static void writeChosen(int index);
    bool isBuilt(int index) const;
    // First and last entry of the rows in or near the view (the last may lie beyond the cards).
    std::pair<int, int> band() const;
    Card& createCard();
    void materialise(int index, const QImage& thumbnail);
    void release(Card& card);
    // Gives the cards of the band widgets and releases the others.
    void updateView();
    // False when the list has no such entry.
    bool requestThumbnail(int index);
    void thumbnailMade(int index);
    // Keeps a few thumbnails of cards away from the view being made.
    void feedBackground();
    int nextBackground();

    Controls m_controls;
    ClickTracker m_pathClick;
    PictureList& m_list;
    std::vector<quint8> m_entries;
    int m_builtCount = 0;
    int m_madeCount = 0;
    std::vector<Card> m_pool;
    QHash<int, int> m_live; // entry index -> place in m_pool
    std::pair<int, int> m_band{0, -1};
    // Every card but m_colouredCard has this colour.
    std::optional<QColor> m_cardsColour;
    int m_colouredCard = -1;
    std::optional<int> m_thickness;
    // Thumbnails the strip asked for (the load asks for its own).
    QSet<int> m_inFlight;
    QSet<int> m_backgroundInFlight;
    bool m_background = false;
    int m_down = 0; // next entry below the band the background looks at
    int m_up = -1;  // next entry above it
    std::function<void()> m_shown;
    ThumbnailLoader m_loader;
};
