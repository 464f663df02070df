#include "SplashWindow.h"

#include "picture/IconFile.h"
#include "platform/Guard.h"
#include "platform/ProgramFolder.h"
#include "resources/Resources.h"
#include "toolkit/ScreenFit.h"
#include "toolkit/SkinRegion.h"
#include "toolkit/UiFont.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QIcon>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>

namespace {
const QColor SkyBlue(0xA6, 0xCA, 0xF0);
const QColor Navy(0x00, 0x00, 0x80);
} // namespace

SplashWindow::SplashWindow(QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool)
{
    setObjectName(QStringLiteral("Splash"));
    setWindowTitle(QStringLiteral("Tavelvaxlaren"));
    resize(312, 124);
    setCursor(Qt::WaitCursor);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, SkyBlue);
    setPalette(pal);
    setFont(uiFont(QStringLiteral("Tahoma"), 16));

    m_imgBg = new QLabel(this);
    m_imgBg->setObjectName(QStringLiteral("ImgBg"));
    m_imgBg->move(0, 0);

    m_label1 = new QLabel(creditText(), this);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->setGeometry(52, 24, 240, 38);
    m_label1->setWordWrap(true);
    m_label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_label1->setAttribute(Qt::WA_TranslucentBackground);

    m_image1 = new QLabel(this);
    m_image1->setObjectName(QStringLiteral("Image1"));
    m_image1->setGeometry(8, 26, 32, 32);

    m_lbLadda = new QLabel(this);
    m_lbLadda->setObjectName(QStringLiteral("LbLadda"));
    m_lbLadda->move(10, 66);
    m_lbLadda->setAttribute(Qt::WA_TranslucentBackground);

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("Progress"));
    m_progress->setGeometry(8, 92, 297, 23);
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setStyleSheet(
        QStringLiteral("QProgressBar { background: %1; border: 1px solid gray; text-align: center; }"
                       "QProgressBar::chunk { background: %2; }")
            .arg(SkyBlue.name(), Navy.name()));

    runGuarded([this] { FormCreate(); });
}

QString SplashWindow::creditText()
{
    // Two lines fit the label: the program and its author, then the start.
    return QStringLiteral("Tavelväxlaren av Tavlix. Startar...");
}

void SplashWindow::FormCreate()
{
    // No task-bar button: the Qt::Tool flag set above does that for every platform.
    const QImage skin = Resources::image(QStringLiteral("Splash"));
    m_imgBg->setPixmap(Resources::bitmap(QStringLiteral("Splash"), devicePixelRatio())); // sharp when scaled
    m_imgBg->resize(skin.size());
    setSkinShape(this, BuildSkinRegion(skin));
}

void SplashWindow::setTextColour(const QColor& colour)
{
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, colour);
    setPalette(pal);
}

void SplashWindow::setStatus(const QString& text)
{
    m_lbLadda->setText(text);
    m_lbLadda->adjustSize();
}

void SplashWindow::setGauge(int maximum, int position)
{
    m_maximum = maximum;
    // Qt draws a range of 0..0 as a busy bar; a single step is shown done instead.
    if (maximum <= 0) {
        m_progress->setRange(0, 1);
        m_progress->setValue(1);
        return;
    }
    m_progress->setRange(0, maximum);
    m_progress->setValue(position);
}

bool SplashWindow::showsStep(int maximum, int position)
{
    const int stride = qMax(1, (maximum + MaxShownSteps) / MaxShownSteps);
    return position % stride == 0 || position >= maximum;
}

void SplashWindow::setGaugePosition(int position)
{
    if (m_maximum > 0)
        m_progress->setValue(position);
}

void SplashWindow::setPercentVisible(bool visible)
{
    m_progress->setTextVisible(visible);
}

void SplashWindow::repaintNow()
{
    // Start-up runs as steps from the event loop, which maps the window between them.
    if (isVisible())
        repaint();
}

void SplashWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    runGuarded([this] { FormShow(); });
}

void SplashWindow::FormShow()
{
    // The lower edge sits on the work area's middle line; the work area's own offset is not added.
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect work = screen->availableGeometry();
        move(work.width() / 2 - width() / 2, work.height() / 2 - height());
        ScreenFit::keepOnScreen(this);
    }
    const QString icon = ProgramFolder::path() + QStringLiteral("MinIkon.ico");
    // A file that cannot be used is reported once, by the main window's creation.
    const QImage image = IconFile::read(icon).image;
    const QIcon source = !image.isNull() ? QIcon(QPixmap::fromImage(image)) : QApplication::windowIcon();
    m_image1->setPixmap(source.pixmap(32, 32));
}

void SplashWindow::closeEvent(QCloseEvent* event)
{
    runGuarded([this] { FormClose(); });
    event->accept(); // only hides: the splash lives until the main window is destroyed
}

void SplashWindow::FormClose()
{
    emit welcomed(QApplication::applicationName(), QStringLiteral("Välkommen till ") + QApplication::applicationName() +
                                                       QStringLiteral("\n\r") + Resources::creditText());
}
