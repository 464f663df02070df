#include "ThumbnailStrip.h"

#include "PictureList.h"
#include "ThumbnailCaption.h"
#include "picture/PathText.h"
#include "picture/Picture.h"
#include "platform/AppError.h"
#include "platform/Guard.h"
#include "platform/SettingsStore.h"
#include "toolkit/BevelPanel.h"
#include "toolkit/PictureView.h"
#include "toolkit/SpinEdit.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QUrl>

#include <limits>

namespace {

const char* const TagProperty = "tag";
constexpr int CardBevel = 1; // the card's raised outer bevel
constexpr int MatBevel = 2;  // the mat's lowered outer bevel
constexpr int Gap = 2;
// Rows given widgets above and below the visible ones, so a scroll step finds them ready.
constexpr int MarginRows = 1;
// Thumbnails of cards away from the view being made at once: enough to keep the workers busy,
// few enough that a card scrolled into view waits behind little.
const int BackgroundInFlight = 2 * ThumbnailLoader::threadCount();

int frameHeight(const QSize& card)
{
    return card.height() * 2 / 3;
}

int cardsPerRow(const QSize& card, int stripWidth)
{
    const int pitch = card.width() + Gap;
    if (pitch <= 0) // cards that do not advance never reach the limit: one row
        return std::numeric_limits<int>::max();
    // A card whose right edge is short of the limit has a neighbour on its right. Every row
    // starts at the same left, so every row holds the same number of cards.
    int perRow = 1;
    while (Gap + (perRow - 1) * pitch + card.width() < stripWidth - 25)
        ++perRow;
    return perRow;
}

} // namespace

ThumbnailStrip::ThumbnailStrip(Controls controls, PictureList& list, QObject* parent)
    : QObject(parent), m_controls(controls), m_list(list)
{
    connect(&m_loader, &ThumbnailLoader::ready, this, [this](int index) {
        if (m_inFlight.remove(index))
            runGuarded([this, index] { thumbnailMade(index); });
        else
            emit thumbnailReady(index);
    });
    if (m_controls.sb1) {
        connectGuarded(m_controls.sb1->verticalScrollBar(), &QScrollBar::valueChanged, this,
                       &ThumbnailStrip::updateView);
        m_controls.sb1->viewport()->installEventFilter(this);
    }
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
    if (pitch <= 0)
        return {Gap + index * pitch, Gap};
    const int perRow = cardsPerRow(card, stripWidth);
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

bool ThumbnailStrip::isBuilt(int index) const
{
    return index >= 0 && size_t(index) < m_entries.size() && (m_entries[size_t(index)] & Built);
}

std::pair<int, int> ThumbnailStrip::band() const
{
    const QScrollArea* sb1 = m_controls.sb1;
    const QSize size = cardSize(sb1->width());
    const int perRow = cardsPerRow(size, sb1->width());
    const int pitch = size.height() + Gap;
    if (perRow == std::numeric_limits<int>::max() || pitch <= 0)
        return {0, 63};
    const int top = sb1->verticalScrollBar()->value();
    const int firstRow = qMax(0, (top - Gap) / pitch - MarginRows);
    // From SB1's own size: the viewport is laid out only once SB1 has been shown.
    const int lastRow = qMax(0, (top + sb1->maximumViewportSize().height() - Gap) / pitch + MarginRows);
    return {firstRow * perRow, (lastRow + 1) * perRow - 1};
}

bool ThumbnailStrip::nearView(int index) const
{
    const auto [first, last] = band();
    return index >= first && index <= last;
}

ThumbnailStrip::Card& ThumbnailStrip::createCard()
{
    const QSize size = cardSize(m_controls.sb1->width());
    Card c;

    c.card = new BevelPanel(content());
    c.card->setBevelOuter(BevelPanel::Bevel::Raised);
    c.card->setBevelInner(BevelPanel::Bevel::None);
    c.card->setBevelWidth(CardBevel);
    c.card->resize(size);

    c.frame = new BevelPanel(c.card);
    c.frame->setBevelOuter(BevelPanel::Bevel::None);
    c.frame->setBevelInner(BevelPanel::Bevel::None);
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
    const int frameBottom = CardBevel + frameHeight(size);
    c.caption->setGeometry(1, frameBottom + 1, size.width() - 2, size.height() - frameHeight(size) - 2);

    // The handlers read the entry from the tag, which follows the card as it is reused.
    PictureView* image = c.image;
    BevelPanel* frame = c.frame;
    ThumbnailCaption* caption = c.caption;
    connectGuarded(image, &PictureView::clicked, this, [this, image] { SelectThumbnail(image); });
    connectGuarded(frame, &BevelPanel::clicked, this, [this, frame] { SelectThumbnail(frame); });
    connectGuarded(caption, &ThumbnailCaption::clicked, this, [this, caption] { SelectThumbnail(caption); });
    m_pool.push_back(c);
    return m_pool.back();
}

void ThumbnailStrip::materialise(int index, const QImage& thumbnail)
{
    int slot = -1;
    for (size_t k = 0; k < m_pool.size() && slot < 0; ++k)
        if (m_pool[k].index < 0 && m_pool[k].card)
            slot = int(k);
    if (slot < 0) {
        createCard();
        slot = int(m_pool.size()) - 1;
    }
    Card& c = m_pool[size_t(slot)];
    c.index = index;
    m_live.insert(index, slot);

    const bool single = m_entries[size_t(index)] & SingleBorder;
    c.frame->setObjectName(QString::fromLatin1(FramePrefix) + QString::number(index));
    c.frame->setSingleBorder(single);
    c.frame->setBorderWidth(m_thickness.value_or(8));
    layoutFrame(c);
    c.card->setColor(index == m_colouredCard ? markColour() : m_cardsColour.value_or(frameColour()));
    for (QObject* clickable : {static_cast<QObject*>(c.image.data()), static_cast<QObject*>(c.frame.data()),
                               static_cast<QObject*>(c.caption.data())})
        clickable->setProperty(TagProperty, index);
    c.caption->setText(index < m_list.count() ? FileNameWithoutExt(m_list.path(index)) : QString());
    c.image->setImage(thumbnail);
    const QSize size = cardSize(m_controls.sb1->width());
    c.card->move(gridPosition(index, size, m_controls.sb1->width()));
    c.card->show();
    if (thumbnail.isNull())
        requestThumbnail(index);
}

void ThumbnailStrip::release(Card& c)
{
    m_live.remove(c.index);
    c.index = -1;
    c.card->hide();
    // A spare card is no card of the list: the frame options look for frames by name.
    c.frame->setObjectName(QString());
    c.image->clear();
}

void ThumbnailStrip::updateView()
{
    if (!m_controls.sb1 || m_entries.empty())
        return;
    const auto [first, wanted] = band();
    const int last = qMin(wanted, int(m_entries.size()) - 1);
    for (Card& c : m_pool)
        if (c.index >= 0 && (c.index < first || c.index > last))
            release(c);
    for (int k = first; k <= last; ++k)
        if (isBuilt(k) && !m_live.contains(k))
            materialise(k, {});
    if (m_band != std::pair(first, last)) {
        m_band = {first, last};
        // The background starts again next to the view.
        m_down = last + 1;
        m_up = first - 1;
        feedBackground();
    }
}

bool ThumbnailStrip::requestThumbnail(int index)
{
    if (m_inFlight.contains(index))
        return true;
    if (index >= m_list.count())
        return false;
    m_inFlight.insert(index);
    m_loader.setDeviceRatio(m_controls.sb1->devicePixelRatioF());
    m_loader.request(index, m_list.path(index), thumbnailBox(m_entries[size_t(index)] & SingleBorder));
    return true;
}

void ThumbnailStrip::thumbnailMade(int index)
{
    m_backgroundInFlight.remove(index);
    const auto live = m_live.constFind(index);
    if (isBuilt(index) && !(m_entries[size_t(index)] & Made)) {
        m_entries[size_t(index)] |= Made;
        ++m_madeCount;
    }
    std::optional<QImage> image;
    try {
        image = m_loader.take(index);
    } catch (const AppError&) {
        // The card stays blank; a click on it reports the decoder's error through the preview.
    }
    if (live != m_live.cend() && image)
        m_pool[size_t(*live)].image->setImage(*image);
    feedBackground();
}

int ThumbnailStrip::nextBackground()
{
    const int n = int(m_entries.size());
    const auto wanted = [&](int k) { return isBuilt(k) && !(m_entries[size_t(k)] & Made) && !m_inFlight.contains(k); };
    while (m_down < n || m_up >= 0) {
        // Below and above the view in turn, the nearest first.
        const bool down = m_down < n && (m_up < 0 || m_down - m_band.second <= m_band.first - m_up);
        const int k = down ? m_down++ : m_up--;
        if (wanted(k))
            return k;
    }
    return -1;
}

void ThumbnailStrip::feedBackground()
{
    while (m_background && m_backgroundInFlight.size() < BackgroundInFlight) {
        const int k = nextBackground();
        if (k < 0)
            return;
        if (requestThumbnail(k)) {
            m_backgroundInFlight.insert(k);
        } else { // the list no longer has the entry: nothing to make
            m_entries[size_t(k)] |= Made;
            ++m_madeCount;
        }
    }
}

void ThumbnailStrip::AddThumbnail(int index, bool singleBorder, const QImage& thumbnail)
{
    if (index < 0)
        return;
    if (m_builtCount == 0) {
        m_cardsColour = frameColour();
        m_thickness = m_controls.ram ? m_controls.ram->value() : 8;
    }
    if (size_t(index) >= m_entries.size())
        m_entries.resize(size_t(index) + 1, 0);
    quint8& entry = m_entries[size_t(index)];
    m_builtCount += (entry & Built) ? 0 : 1;
    m_madeCount += ((entry & Made) ? -1 : 0) + (thumbnail.isNull() ? 0 : 1);
    entry = Built | (singleBorder ? SingleBorder : 0) | (thumbnail.isNull() ? 0 : Made);

    const int stripWidth = m_controls.sb1->width();
    const QSize size = cardSize(stripWidth);
    QWidget* area = content();
    const QPoint place = gridPosition(index, size, stripWidth);
    const QSize needed(qMax(area->minimumWidth(), place.x() + size.width() + Gap),
                       qMax(area->minimumHeight(), place.y() + size.height() + Gap));
    if (needed != area->minimumSize()) {
        area->setMinimumSize(needed);
        area->resize(area->size().expandedTo(needed));
    }
    if (const auto live = m_live.constFind(index); live != m_live.cend())
        release(m_pool[size_t(*live)]);
    if (nearView(index))
        materialise(index, thumbnail);
}

void ThumbnailStrip::freeCards()
{
    m_loader.reset();
    m_inFlight.clear();
    m_backgroundInFlight.clear();
    m_background = false;
    m_shown = nullptr;
    m_entries.clear();
    m_entries.shrink_to_fit();
    m_builtCount = 0;
    m_madeCount = 0;
    m_live.clear();
    m_band = {0, -1};
    m_down = 0;
    m_up = -1;
    m_cardsColour = frameColour();
    m_colouredCard = -1;
    m_thickness.reset();
    QScrollArea* sb1 = m_controls.sb1;
    if (!sb1)
        return;
    // Only the few cards near the old view have widgets; the next list makes its own.
    for (Card& c : m_pool)
        delete c.card.data();
    m_pool.clear();
    QWidget* area = content();
    area->setMinimumSize(0, 0);
    area->resize(sb1->viewport()->size());
}

void ThumbnailStrip::showStrip(bool stepwise, std::function<void()> shown)
{
    Q_UNUSED(stepwise);
    m_controls.sb1->show();
    updateView();
    m_background = true;
    feedBackground();
    if (shown)
        shown();
}

QWidget* ThumbnailStrip::card(int index) const
{
    const auto live = m_live.constFind(index);
    return live == m_live.cend() ? nullptr : m_pool[size_t(*live)].card.data();
}

void ThumbnailStrip::scrollToCard(int index)
{
    if (!isBuilt(index))
        return;
    const int stripWidth = m_controls.sb1->width();
    const QSize size = cardSize(stripWidth);
    const QPoint place = gridPosition(index, size, stripWidth);
    // The card's centre with half its size as margins: the whole card comes into view.
    m_controls.sb1->ensureVisible(place.x() + size.width() / 2, place.y() + size.height() / 2, size.width() / 2,
                                  size.height() / 2);
    updateView();
}

void ThumbnailStrip::paintFrames(const QColor& colour)
{
    for (Card& c : m_pool)
        if (c.index >= 0)
            c.card->setColor(colour);
    m_cardsColour = colour;
    m_colouredCard = -1;
}

void ThumbnailStrip::setFrameThickness(int thickness)
{
    m_thickness = thickness;
    for (Card& c : m_pool) {
        if (c.index < 0)
            continue;
        c.frame->setBorderWidth(thickness);
        layoutFrame(c);
    }
}

void ThumbnailStrip::select(int index)
{
    // Every card takes the frame colour; only the cards with widgets need painting.
    paintFrames(frameColour());
    m_list.setMarkedIndex(index);
    const int marked = m_list.markedIndex();
    if (marked < 0)
        return;
    const QString path = m_list.path(marked);
    // Decoded off this thread, only as large as the preview shows it, every scan read so a damaged file fails.
    m_controls.img->load(path);
    if (isBuilt(marked)) {
        m_colouredCard = marked;
        if (QWidget* w = card(marked))
            static_cast<BevelPanel*>(w)->setColor(markColour());
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

bool ThumbnailStrip::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::Resize && m_controls.sb1 && watched == m_controls.sb1->viewport()) {
        runGuarded([this] { updateView(); });
        return false;
    }
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
