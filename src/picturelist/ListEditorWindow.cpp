#include "ListEditorWindow.h"

#include "ListEditorMemo.h"
#include "ListEditorText.h"
#include "ListFile.h"
#include "PictureList.h"
#include "ThumbnailStrip.h"
#include "platform/AppError.h"
#include "platform/Dialogs.h"
#include "platform/Guard.h"
#include "platform/Pause.h"
#include "platform/WholeFile.h"
#include "toolkit/CaptionButton.h"
#include "toolkit/DragShape.h"
#include "toolkit/ScreenFit.h"
#include "toolkit/SkinRegion.h"
#include "toolkit/SpeedButton.h"
#include "toolkit/TransparentImage.h"
#include "toolkit/UiFont.h"

#include <QEvent>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressBar>
#include <QScreen>
#include <QStandardPaths>
#include <QTextBlock>
#include <QToolButton>
#include <QVBoxLayout>

const QString ListEditorWindow::LoadingText = QStringLiteral("Läser in bilder...");
const QString ListEditorWindow::DiscardQuestion =
    QStringLiteral("Ändringarna i listan har inte sparats. Vill du kasta dem?");

namespace {

const QColor GaugeColour(0x00, 0x80, 0xC0); // 0xC08000 as 0x00BBGGRR

template <typename W> W* place(QWidget* parent, const char* name, int x, int y, int w, int h)
{
    auto* widget = new W(parent);
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(x, y, w, h);
    return widget;
}

QLabel* label(QWidget* parent, const char* name, int x, int y, const QString& text)
{
    auto* lb = new QLabel(text, parent);
    lb->setObjectName(QLatin1String(name));
    lb->move(x, y);
    lb->adjustSize();
    lb->setAttribute(Qt::WA_TranslucentBackground);
    return lb;
}

void writeText(const QString& fileName, const QString& text)
{
    // A failed save keeps the old list.
    WholeFile::write(fileName, ListEditorText::toFile(text));
}

} // namespace

ListEditorWindow::ListEditorWindow(const PictureList& list, const ThumbnailStrip& strip, Calls calls,
                                   QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), m_list(list),
      m_strip(strip), m_mainWindow(mainWindow), m_calls(std::move(calls))
{
    setObjectName(QStringLiteral("FmEdtLst"));
    setWindowTitle(QStringLiteral("Rdigera filnamn och/eller sökväg"));
    setFont(uiFont(QStringLiteral("Tahoma"), 16));
    setAutoFillBackground(true);
    resize(988, 608);

    m_imgBg = place<QLabel>(this, "ImgBg", 0, 0, 988, 608);
    m_imgBg->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Only shows the drag cursor: the editor stays where it opens.
    place<DragShape>(this, "Shape1", 24, 4, 765, 65);

    m_label1 = label(this, "Label1", 16, 68, QStringLiteral("Redigera fillista"));
    m_filEdt = place<ListEditorMemo>(this, "FilEdt", 16, 92, 960, 449);
    m_filEdt->setFont(uiFont(QStringLiteral("Tahoma"), 16));
    m_label3 = label(this, "Label3", 16, 544, QStringLiteral("Leta upp/Redigera markerad fil"));

    m_edt1 = place<QLineEdit>(this, "Edt1", 16, 564, 905, 28);
    m_edt1->setTextMargins(0, 0, 24, 0);
    m_edt1Button = place<QToolButton>(m_edt1, "Edt1Button", 905 - 24 - 2, 2, 24, 24);
    m_edt1Button->setText(QStringLiteral("..."));
    m_edt1Button->setCursor(Qt::ArrowCursor);
    m_edt1Button->setToolTip(QStringLiteral("Leta upp filen"));

    m_btChange = place<SpeedButton>(this, "BtChange", 924, 568, 23, 22);
    m_btChange->setToolTip(QStringLiteral("Ersätt markerad text med sökvägen"));
    m_btSave = place<SpeedButton>(this, "BtSave", 952, 568, 23, 22);
    m_btSave->setToolTip(QStringLiteral("Spara fillistan"));
    m_btChange->setEnabled(false);
    m_btSave->setEnabled(false);

    m_imgClose = place<TransparentImage>(this, "ImgClose", 820, 34, 18, 18);
    m_lbClose = place<QLabel>(this, "LbClose", 820, 34, 18, 18);
    m_imgOm = place<TransparentImage>(this, "ImgOm", 794, 35, 16, 16);
    m_lbOm = place<QLabel>(this, "LbOm", 794, 35, 16, 16);

    m_loadingTimer.setSingleShot(true);
    connectGuarded(&m_loadingTimer, &QTimer::timeout, this, &ListEditorWindow::loadingStep);

    bind();
    // A missing bitmap is reported; the editor works without its skin.
    runGuarded([this] { FormCreate(); });
}

void ListEditorWindow::bind()
{
    connectGuarded(m_filEdt, &QPlainTextEdit::textChanged, this, &ListEditorWindow::FilEdtModified);
    connectGuarded(m_edt1, &QLineEdit::textChanged, this, &ListEditorWindow::Edt1Modified);
    connectGuarded(m_edt1Button, &QToolButton::clicked, this, &ListEditorWindow::Edt1CustomButtons0Click);
    connectGuarded(m_btChange, &SpeedButton::clicked, this, &ListEditorWindow::BtChangeClick);
    connectGuarded(m_btSave, &SpeedButton::clicked, this, &ListEditorWindow::BtSaveClick);
    m_filEdt->viewport()->installEventFilter(this);

    auto* close = new CaptionButton(m_imgClose, m_lbClose, CaptionButton::closeImages, this);
    auto* about = new CaptionButton(m_imgOm, m_lbOm, CaptionButton::aboutImages, this);
    connectGuarded(close, &CaptionButton::clicked, this, &ListEditorWindow::LbCloseClick);
    connectGuarded(about, &CaptionButton::clicked, this, &ListEditorWindow::LbOmClick);
}

void ListEditorWindow::FormCreate()
{
    applySkin(this, m_imgBg, QStringLiteral("Skal"));
    m_imgClose->setResource(QStringLiteral("Steng"));
    m_imgOm->setResource(QStringLiteral("Om"));
    m_btChange->setGlyphResource(QStringLiteral("Do"), 2);
    m_btSave->setGlyphResource(QStringLiteral("Spara"));
}

void ListEditorWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    runGuarded([this] { FormShow(); });
}

void ListEditorWindow::FormShow()
{
    if (!m_mainWindow)
        return;
    QPalette pal = palette();
    for (auto role : {QPalette::Window, QPalette::WindowText})
        pal.setColor(role, m_mainWindow->palette().color(role));
    setPalette(pal);
}

bool ListEditorWindow::eventFilter(QObject* watched, QEvent* event)
{
    // The caret has moved to the click when the button comes up.
    if (watched == m_filEdt->viewport() && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        runGuarded([this] { FilEdtClick(); });
    return QWidget::eventFilter(watched, event);
}

void ListEditorWindow::openList(const QString& listFile, const QString& missingPath)
{
    // The one editor serves every opening: edits not yet saved are only dropped when the user says so.
    if (m_btSave->isEnabled()) {
        const Dialogs::Answer answer = Dialogs::instance().messageBox(DiscardQuestion, QStringLiteral("Tavelvaxlaren"),
                                                                      Dialogs::Buttons::YesNo, Dialogs::Icon::Question);
        if (answer != Dialogs::Yes) {
            show();
            raise();
            activateWindow();
            return;
        }
    }
    const QString text = ListEditorText::fromFile(ListFile::readBytes(listFile));
    // The save goes back into this file, whatever list the main window has opened since.
    m_openedFile = listFile;

    m_filEdt->setPlainText(text);
    m_edt1->clear();
    const qsizetype at = missingPath.isEmpty() ? -1 : text.indexOf(missingPath, 0, Qt::CaseInsensitive);
    if (at >= 0) {
        QTextCursor cursor = m_filEdt->textCursor();
        cursor.setPosition(int(at));
        cursor.setPosition(int(at + missingPath.size()), QTextCursor::KeepAnchor);
        m_filEdt->setTextCursor(cursor);
        m_filEdt->centerCursor(); // the lines round the missing path stay in view
        m_edt1->setText(cursor.selectedText());
    }
    // Filling the editor is no modification.
    m_btChange->setEnabled(false);
    m_btSave->setEnabled(false);

    // Each opening is on top until its first save.
    setStaysOnTop(true);
    ScreenFit::keepOnScreen(this);
    show();
    raise();
    activateWindow();
}

void ListEditorWindow::setStaysOnTop(bool onTop)
{
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == onTop)
        return;
    // Changing the flags hides the window; it comes back where it was.
    const bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    if (visible)
        show();
}

void ListEditorWindow::FilEdtClick()
{
    m_edt1->setText(m_filEdt->textCursor().block().text());
}

void ListEditorWindow::Edt1CustomButtons0Click()
{
    const QString start =
        m_edt1->text().isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) : m_edt1->text();
    const QString chosen = Dialogs::instance().browseFolder(QStringLiteral("Hitta vald bild..."), start);
    // The list holds full paths, so the field gets the full path of the chosen item.
    if (!chosen.isEmpty())
        m_edt1->setText(chosen);
}

void ListEditorWindow::Edt1Modified()
{
    m_btChange->setEnabled(true);
}

void ListEditorWindow::FilEdtModified()
{
    m_btSave->setEnabled(true);
}

void ListEditorWindow::BtChangeClick()
{
    // Replaces the selection; with none, inserts at the caret.
    QTextCursor cursor = m_filEdt->textCursor();
    cursor.insertText(m_edt1->text());
    m_filEdt->setTextCursor(cursor);
    m_btChange->setEnabled(false);
}

void ListEditorWindow::BtSaveClick()
{
    if (!m_openedFile.isEmpty())
        writeText(m_openedFile, ListEditorText::fromDocument(*m_filEdt->document()));
    else if (m_calls.saveMainList)
        m_calls.saveMainList();
    m_btSave->setEnabled(false);
    setStaysOnTop(false);
    if (m_calls.reload)
        m_calls.reload([this] { showLoadingWindow(); });
    else
        showLoadingWindow();
}

void ListEditorWindow::showLoadingWindow()
{
    const int count = m_list.count();
    const int cards = m_strip.cardCount();
    // A load that stopped at a missing file has fewer cards than entries; with none there is
    // nothing to count.
    if (count <= 0 || cards <= 0)
        return;

    if (!m_loading) {
        m_loading = new QWidget(this, Qt::Dialog);
        m_loading->setObjectName(QStringLiteral("FmLoading"));
        m_loading->setWindowTitle(QStringLiteral("Tavelvaxlaren"));
        m_loading->setAutoFillBackground(true);
        m_loading->setFixedSize(500, 70);
        QFont font = m_loading->font();
        font.setPointSize(12);
        m_loading->setFont(font);
        auto* layout = new QVBoxLayout(m_loading);
        m_loadingLabel = new QLabel(LoadingText, m_loading);
        m_loadingLabel->setObjectName(QStringLiteral("LbLoading"));
        m_gauge = new QProgressBar(m_loading);
        m_gauge->setObjectName(QStringLiteral("Gauge"));
        m_gauge->setTextVisible(true);
        QPalette gaugePalette = m_gauge->palette();
        gaugePalette.setColor(QPalette::Highlight, GaugeColour);
        m_gauge->setPalette(gaugePalette);
        layout->addWidget(m_loadingLabel);
        layout->addWidget(m_gauge, 1);
    }
    QPalette pal = m_loading->palette();
    const QWidget* colours = m_mainWindow ? m_mainWindow : this;
    for (auto role : {QPalette::Window, QPalette::WindowText})
        pal.setColor(role, colours->palette().color(role));
    m_loading->setPalette(pal);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        m_loading->move(screen->geometry().center() - QPoint(250, 35));

    // One step per card, a long list in bigger steps so that the window ends within
    // MaxLoadingSteps steps; the last step shows the last card counted.
    const int steps = qMin(cards, MaxLoadingSteps);
    m_loadingValues.clear();
    for (int i = 0; i < steps; ++i)
        m_loadingValues.append(steps == 1 ? 0 : int(qint64(i) * (cards - 1) / (steps - 1)));
    // A range of 0..0 would show a busy bar instead of a percentage.
    m_gauge->setRange(0, qMax(count - 1, 1));
    m_loading->show();
    loadingStep();
}

void ListEditorWindow::loadingStep()
{
    if (m_loadingValues.isEmpty()) {
        m_loading->close();
        return;
    }
    m_gauge->setValue(m_loadingValues.takeFirst());
    m_loadingTimer.start(Pause::interval(LoadingPauseMs));
}

void ListEditorWindow::LbCloseClick()
{
    hide();
}

void ListEditorWindow::LbOmClick()
{
    emit aboutRequested();
}
