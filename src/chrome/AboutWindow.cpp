#include "AboutWindow.h"

#include "platform/Guard.h"
#include "resources/Resources.h"
#include "toolkit/ScreenFit.h"
#include "toolkit/SkinRegion.h"
#include "toolkit/UiFont.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QStyle>

namespace {

QLabel* transparentLabel(QWidget* parent, const QString& name, const QRect& geometry)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setAttribute(Qt::WA_TranslucentBackground);
    return label;
}

} // namespace

AboutWindow::AboutWindow(QWidget* mainWindow, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool),
      m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Form3"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QApplication::palette().color(QPalette::Button));
    pal.setColor(QPalette::WindowText, QApplication::palette().color(QPalette::WindowText));
    setPalette(pal);
    setFont(uiFont(QStringLiteral("Tahoma"), 16));
    resize(300, 124);

    // Bottom of the stacking order first.
    m_imgBg = transparentLabel(this, QStringLiteral("ImgBg"), QRect(0, 0, 300, 124));
    m_image1 = transparentLabel(this, QStringLiteral("Image1"), QRect(12, 24, 32, 32));
    m_image1->setAlignment(Qt::AlignCenter);
    m_label2 = transparentLabel(this, QStringLiteral("Label2"), QRect(11, 60, 278, 57));
    m_label2->setWordWrap(true);
    m_label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_label2->setText(QStringLiteral("Ett program för att enkelt använda dina egna favoritbilder som skrivbords- "
                                     "bakgrund med eller utan automatik."));
    m_label1 = transparentLabel(this, QStringLiteral("Label1"), QRect(56, 18, 193, 38));
    m_label1->setWordWrap(true);
    m_label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Short enough for one line in every font the window may get (Tahoma, Liberation Sans, DejaVu
    // Sans at 16 pixels), and for two where a font runs wider still.
    m_label1->setText(QStringLiteral("Tavelväxlaren av Tavlix"));

    runGuarded([this] { FormCreate(); });
}

void AboutWindow::FormCreate()
{
    m_region = applySkin(this, m_imgBg, QStringLiteral("Splash"));
}

void AboutWindow::showAbout()
{
    show();
    raise();
    activateWindow();
}

void AboutWindow::setVisible(bool visible)
{
    // Placed before the window is mapped, so it never flashes at another place.
    if (visible && !m_placed && !isVisible()) {
        placeOverMainWindow();
        m_placed = true;
    }
    QWidget::setVisible(visible);
}

void AboutWindow::placeOverMainWindow()
{
    if (!m_mainWindow)
        return;
    const QRect main = m_mainWindow->frameGeometry();
    const int left = main.left() + (main.width() - width()) / 2;
    const int top = main.top() + (main.height() - height()) / 2;
    move(std::max(0, left), std::max(0, top));
    ScreenFit::keepOnScreen(this);
}

void AboutWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    runGuarded([this] { FormShow(); });
}

void AboutWindow::FormShow()
{
    if (m_mainWindow) {
        const QPalette source = m_mainWindow->palette();
        QPalette pal = palette();
        pal.setColor(QPalette::Window, source.color(QPalette::Window));
        pal.setColor(QPalette::WindowText, source.color(QPalette::WindowText));
        setPalette(pal);
    }
    const int size = style()->pixelMetric(QStyle::PM_LargeIconSize, nullptr, this);
    m_image1->setPixmap(Resources::mainIcon().pixmap(size, size));
}

// The labels and images take no mouse events of their own, so a click on any of the four
// controls arrives here; the mask keeps clicks on the cut-out surround away.
void AboutWindow::mousePressEvent(QMouseEvent* event)
{
    m_click.press(event);
    QWidget::mousePressEvent(event);
}

void AboutWindow::mouseReleaseEvent(QMouseEvent* event)
{
    const QRegion shape = m_region.isEmpty() ? QRegion(rect()) : m_region.intersected(rect());
    if (m_click.release(event, shape))
        runGuarded([this] { Label2Click(); });
    else
        QWidget::mouseReleaseEvent(event);
}

void AboutWindow::Label2Click()
{
    hide();
}
