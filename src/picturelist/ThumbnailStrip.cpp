#include "ThumbnailStrip.h"

#include "PictureList.h"
#include "ThumbnailCaption.h"
#include "picture/PathText.h"
#include "picture/Picture.h"
#include "platform/Guard.h"
#include "platform/SettingsStore.h"
#include "toolkit/BevelPanel.h"
#include "toolkit/PictureView.h"
#include "toolkit/SpeedButton.h"
#include "toolkit/SpinEdit.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QUrl>

namespace {

const char* const TagProperty = "tag";
constexpr int CardBevel = 1; // the card's raised outer bevel
constexpr int MatBevel = 2;  // the mat's lowered outer bevel
constexpr int Gap = 2;
// Longest the strip keeps the event loop waiting while it shows or deletes cards in batches.
constexpr int BatchMs = 20;

int frameHeight(const QSize& card)
{
    return card.height() * 2 / 3;
}

} // namespace

ThumbnailStrip::ThumbnailStrip(Controls controls, PictureList& list, QObject* parent)
    : QObject(parent), m_controls(controls), m_list(list)
{
    m_deleteTimer.setSingleShot(true);
    m_deleteTimer.setInterval(0);
    connect(&m_deleteTimer, &QTimer::timeout, this, &ThumbnailStrip::deleteDetachedCards);
    m_showTimer.setSingleShot(true);
    m_showTimer.setInterval(0);
    connectGuarded(&m_showTimer, &QTimer::timeout, this, &ThumbnailStrip::showHiddenCards);
    connect(&m_loader, &ThumbnailLoader::ready, this, &ThumbnailStrip::thumbnailReady);
}

void ThumbnailStrip::bind()
{
    m_controls.lbPath->installEventFilter(this);
}

QSize ThumbnailStrip::cardSize(int stripWidth)
{
    const int width = stripWidth / 4 - 7;
    return {width, width + 20};
}

QPoint ThumbnailStrip::gridPosition(int index, const QSize& card, int stripWidth)
{
    const int pitch = card.width() + Gap;
    // A card whose right edge is short of the limit has a neighbour on its right. Every row
    // starts at the same left, so every row holds the same number of cards.
    const auto hasRightNeighbour = [&](int column) { return Gap + column * pitch + card.width() < stripWidth - 25; };
    if (pitch <= 0) // cards that do not advance never reach the limit: one row
        return {Gap + index * pitch, Gap};
    int perRow = 1;
    while (hasRightNeighbour(perRow - 1))
        ++perRow;
    return {Gap + (index % perRow) * pitch, Gap + (index / perRow) * (card.height() + Gap)};
}

QSize ThumbnailStrip::thumbnailBox(bool singleBorder) const
{
    const QSize size = cardSize(m_controls.sb1->width());
    const int thickness = m_controls.ram ? m_controls.ram->value() : 8;
    const int inset = (singleBorder ? 1 : 0) + qMax(0, thickness) + MatBevel;
    return {qMax(1, size.width() - 2 * CardBevel - 2 * inset), qMax(1, frameHeight(size) - 2 * inset)};
}

void ThumbnailStrip::prefetch(int index, const QString& path, bool singleBorder)
{
    m_loader.setDeviceRatio(m_controls.sb1->devicePixelRatioF());
    m_loader.request(index, path, thumbnailBox(singleBorder));
}

QString ThumbnailStrip::FileNameWithoutExt(const QString& path)
{
    return PathText::fileNameWithoutExt(path);
}

QWidget* ThumbnailStrip::content()
{
    QScrollArea* sb1 = m_controls.sb1;
    if (!sb1->widget()) {
        auto* area = new QWidget;
        area->setObjectName(QStringLiteral("SB1Content"));
        sb1->setWidget(area);
    }
    return sb1->widget();
}

void ThumbnailStrip::growContent(const QRect& cardRect)
{
    QWidget* area = content();
    const QSize needed(qMax(area->minimumWidth(), cardRect.x() + cardRect.width() + Gap),
                       qMax(area->minimumHeight(), cardRect.y() + cardRect.height() + Gap));
    area->setMinimumSize(needed);
    area->resize(area->size().expandedTo(needed));
}

QColor ThumbnailStrip::frameColour() const
{
    return m_controls.pnlBg ? m_controls.pnlBg->color() : QColor(Qt::lightGray);
}

QColor ThumbnailStrip::markColour() const
{
    return m_controls.pnlMark ? m_controls.pnlMark->color() : QColor(Qt::darkBlue);
}

void ThumbnailStrip::layoutFrame(Card& c)
{
    const int inset = (c.frame->singleBorder() ? 1 : 0) + qMax(0, c.frame->borderWidth());
    const QSize frame = c.frame->size();
    c.mat->setGeometry(inset, inset, qMax(0, frame.width() - 2 * inset), qMax(0, frame.height() - 2 * inset));
    const QSize mat = c.mat->size();
    c.image->setGeometry(MatBevel, MatBevel, qMax(0, mat.width() - 2 * MatBevel), qMax(0, mat.height() - 2 * MatBevel));
}

std::optional<QImage> ThumbnailStrip::takeThumbnail(int index, bool singleBorder)
{
    const QString path = m_list.path(index);
    const QSize box = thumbnailBox(singleBorder);
    m_loader.setDeviceRatio(m_controls.sb1->devicePixelRatioF());
    if (!m_loader.isRequested(index, path, box)) {
        m_loader.request(index, path, box);
        return std::nullopt;
    }
    return m_loader.take(index);
}

void ThumbnailStrip::AddThumbnail(int index, bool singleBorder, const QImage& thumbnail)
{
    const int stripWidth = m_controls.sb1->width();
    const QSize size = cardSize(stripWidth);
    const int thickness = m_controls.ram ? m_controls.ram->value() : 8;

    Card c;

    c.card = new BevelPanel(content());
    c.card->setBevelOuter(BevelPanel::Bevel::Raised);
    c.card->setBevelInner(BevelPanel::Bevel::None);
    c.card->setBevelWidth(CardBevel);
    c.card->setColor(frameColour());
    c.card->resize(size);

    c.frame = new BevelPanel(c.card);
    c.frame->setObjectName(QString::fromLatin1(FramePrefix) + QString::number(index));
    c.frame->setBevelOuter(BevelPanel::Bevel::None);
    c.frame->setBevelInner(BevelPanel::Bevel::None);
    c.frame->setSingleBorder(singleBorder);
    c.frame->setBorderWidth(thickness);
    // No colour of its own: the frame shows the card's, so recolouring a card recolours its frame.
    c.frame->setGeometry(CardBevel, CardBevel, size.width() - 2 * CardBevel, frameHeight(size));

    c.mat = new BevelPanel(c.frame);
    c.mat->setBevelOuter(BevelPanel::Bevel::Lowered);
    c.mat->setBevelInner(BevelPanel::Bevel::None);
    c.mat->setBevelWidth(MatBevel);
    // The mat takes its own left clicks (and does nothing with them): its white rim is not
    // part of the clickable card.
    c.mat->setColor(Qt::white);

    c.image = new PictureView(c.mat);
    layoutFrame(c);

    c.caption = new ThumbnailCaption(c.card);
    QFont font = c.caption->font();
    font.setPointSize(10);
    c.caption->setFont(font);
    QPalette palette = c.caption->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    palette.setColor(QPalette::Window, Qt::white);
    c.caption->setPalette(palette);
    c.caption->setAutoFillBackground(true);
    c.caption->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    c.caption->setWordWrap(true);

    for (QObject* clickable : {static_cast<QObject*>(c.image.data()), static_cast<QObject*>(c.frame.data()),
                               static_cast<QObject*>(c.caption.data())})
        clickable->setProperty(TagProperty, index);
    PictureView* image = c.image;
    BevelPanel* frame = c.frame;
    ThumbnailCaption* caption = c.caption;
    connectGuarded(image, &PictureView::clicked, this, [this, image] { SelectThumbnail(image); });
    connectGuarded(frame, &BevelPanel::clicked, this, [this, frame] { SelectThumbnail(frame); });
    connectGuarded(caption, &ThumbnailCaption::clicked, this, [this, caption] { SelectThumbnail(caption); });
    for (QWidget* part :
         {static_cast<QWidget*>(c.card.data()), static_cast<QWidget*>(frame), static_cast<QWidget*>(c.mat.data()),
          static_cast<QWidget*>(image), static_cast<QWidget*>(caption)})
        part->installEventFilter(this);

    c.image->setImage(thumbnail);

    const int frameBottom = CardBevel + frameHeight(size);
    c.caption->setGeometry(1, frameBottom + 1, size.width() - 2, size.height() - frameHeight(size) - 2);
    c.caption->setText(FileNameWithoutExt(m_list.path(index)));

    c.card->move(gridPosition(index, size, stripWidth));
    growContent(c.card->geometry());
    // Showing thousands of cards with SB1 at the end of a load would freeze the window: showStrip
    // shows them in batches.
    if (m_controls.sb1->isHidden()) {
        c.card->hide();
        m_hiddenCards.append(index);
    } else {
        c.card->show();
    }
    if (m_cardsColour && *m_cardsColour != frameColour())
        m_cardsColour.reset();

    if (index >= m_cards.size())
        m_cards.resize(index + 1);
    m_cards[index] = c;
}

void ThumbnailStrip::freeCards()
{
    m_loader.reset();
    m_showTimer.stop();
    m_shown = nullptr;
    m_cards.clear();
    m_hiddenCards.clear();
    m_nextHidden = 0;
    m_cardsColour = frameColour();
    m_colouredCard = -1;
    QScrollArea* sb1 = m_controls.sb1;
    if (!sb1)
        return;
    if (QWidget* old = sb1->widget(); old && !old->children().isEmpty()) {
        // The cards leave with their content widget in one step; deleted one by one inside SB1, each
        // would make the strip update again.
        const QString name = old->objectName();
        m_detached.emplace_back(sb1->takeWidget());
        auto* area = new QWidget;
        area->setObjectName(name);
        sb1->setWidget(area);
        m_deleteTimer.start();
    }
    QWidget* area = content();
    area->setMinimumSize(0, 0);
    area->resize(sb1->viewport()->size());
}

void ThumbnailStrip::deleteDetachedCards()
{
    QElapsedTimer clock;
    clock.start();
    while (!m_detached.empty() && clock.elapsed() < BatchMs) {
        const QObjectList& cards = m_detached.front()->children();
        if (cards.isEmpty())
            m_detached.erase(m_detached.begin());
        else
            delete cards.last();
    }
    if (!m_detached.empty())
        m_deleteTimer.start();
}

void ThumbnailStrip::showStrip(bool stepwise, std::function<void()> shown)
{
    m_controls.sb1->show();
    m_shown = std::move(shown);
    if (stepwise) {
        showHiddenCards();
        return;
    }
    m_showTimer.stop();
    for (int index : m_hiddenCards.mid(m_nextHidden))
        if (QWidget* w = card(index))
            w->show();
    m_hiddenCards.clear();
    m_nextHidden = 0;
    if (auto done = std::exchange(m_shown, nullptr))
        done();
}

void ThumbnailStrip::showHiddenCards()
{
    QElapsedTimer clock;
    clock.start();
    while (m_nextHidden < m_hiddenCards.size() && clock.elapsed() < BatchMs) {
        if (QWidget* w = card(m_hiddenCards[m_nextHidden++]))
            w->show();
    }
    if (m_nextHidden < m_hiddenCards.size()) {
        m_showTimer.start();
        return;
    }
    m_hiddenCards.clear();
    m_nextHidden = 0;
    if (auto done = std::exchange(m_shown, nullptr))
        done();
}

int ThumbnailStrip::cardCount() const
{
    int count = 0;
    for (const Card& c : m_cards)
        count += c.card ? 1 : 0;
    return count;
}

QWidget* ThumbnailStrip::card(int index) const
{
    if (index < 0 || index >= m_cards.size())
        return nullptr;
    return m_cards[index].card;
}

void ThumbnailStrip::scrollToCard(int index)
{
    if (QWidget* w = card(index))
        m_controls.sb1->ensureWidgetVisible(w, 0, 0);
}

void ThumbnailStrip::paintFrames(const QColor& colour)
{
    for (Card& c : m_cards) {
        if (!c.card)
            continue;
        c.card->setColor(colour);
    }
    m_cardsColour = colour;
    m_colouredCard = -1;
}

void ThumbnailStrip::setFrameThickness(int thickness)
{
    for (Card& c : m_cards) {
        if (!c.card)
            continue;
        c.frame->setBorderWidth(thickness);
        layoutFrame(c);
    }
}

void ThumbnailStrip::select(int index)
{
    // Every card takes the frame colour. When all have it but the one marked here last, only that one
    // and the list's marked one (the mark colour option paints it) need painting.
    const QColor frame = frameColour();
    if (m_cardsColour != frame) {
        paintFrames(frame);
    } else {
        for (int k : {m_colouredCard, m_list.markedIndex()})
            if (QWidget* w = card(k))
                static_cast<BevelPanel*>(w)->setColor(frame);
    }
    m_colouredCard = -1;
    m_list.setMarkedIndex(index);
    const int marked = m_list.markedIndex();
    if (marked < 0)
        return;
    const QString path = m_list.path(marked);
    // Decoded off this thread, only as large as the preview shows it, every scan read so a damaged file fails.
    m_controls.img->load(path);
    if (marked < m_cards.size() && m_cards[marked].card) {
        m_cards[marked].card->setColor(markColour());
        m_colouredCard = marked;
    }
    m_controls.lbSel->setText(QStringLiteral("Vald Bild: ") + QString::number(marked + 1));
    m_controls.lbNamn->setText(QStringLiteral("Filnamn: ") + FileNameWithoutExt(path) + QStringLiteral(", Filtyp: ") +
                               PathText::extension(path));
    m_controls.lbPath->setText(PathText::folder(path));
    emit selectionChanged();
}

void ThumbnailStrip::writeChosen(int index)
{
    SettingsStore store;
    store.writeInteger(Setting::Vald, index);
}

void ThumbnailStrip::SelectThumbnail(QObject* sender)
{
    bool ok = false;
    const int index = sender ? sender->property(TagProperty).toInt(&ok) : -1;
    if (!ok)
        return;
    // Only a confirmed choice (LB1Click) or the close stores "Vald".
    select(index);
}

void ThumbnailStrip::LB1Click()
{
    if (m_list.count() == 0) {
        emit selectionChanged();
        return;
    }
    m_list.setCurrentIndex(m_list.markedIndex());
    if (m_list.markedIndex() < 0)
        m_list.setMarkedIndex(0);
    const int marked = m_list.markedIndex();
    const QString path = m_list.path(marked);
    if (!QFileInfo(path).isFile()) {
        if (m_controls.form->isMinimized())
            m_controls.form->showNormal();
        Dialogs::instance().showMessage(
            QStringLiteral("Bilden ") + path + QStringLiteral("\n\r") + QStringLiteral("kunde inte hittas! ") +
            QStringLiteral("Kontollera att sökväg och fil är korrekt.") + QStringLiteral("\n\r") +
            QStringLiteral("Högerklicka på bilden för att redigera den."));
        return;
    }
    select(marked);
    scrollToCard(marked);
    writeChosen(marked);
}

void ThumbnailStrip::LbPathClick()
{
    const QString folder = m_controls.lbPath->text();
    // Only an existing folder is handed to the desktop; anything else could run a program.
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return;
    QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}

bool ThumbnailStrip::inView(const QWidget* part) const
{
    const QWidget* area = m_controls.sb1->widget();
    if (!area || !area->isAncestorOf(part))
        return false;
    const QWidget* viewport = m_controls.sb1->viewport();
    return QRect(part->mapTo(viewport, QPoint()), part->size()).intersects(viewport->rect());
}

bool ThumbnailStrip::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    // A card being shown asks to be painted. One out of sight needs no paint (scrolling to it paints
    // it), and each card waiting for paint costs the next paint a walk over every card.
    if (type == QEvent::UpdateLater && watched != m_controls.lbPath)
        return !inView(static_cast<QWidget*>(watched));
    const bool mouse =
        type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease || type == QEvent::MouseButtonDblClick;
    if (!mouse)
        return QObject::eventFilter(watched, event);
    auto* me = static_cast<QMouseEvent*>(event);
    if (me->button() != Qt::LeftButton)
        return QObject::eventFilter(watched, event);
    if (watched != m_controls.lbPath)
        return QObject::eventFilter(watched, event);
    if (type != QEvent::MouseButtonRelease)
        m_pathClick.press(me);
    else if (m_pathClick.release(me, m_controls.lbPath->rect()))
        runGuarded([this] { LbPathClick(); });
    return true;
}
