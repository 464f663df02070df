#include "ChangePopup.h"

#include "WrappingLabel.h"
#include "picture/PathText.h"
#include "resources/Resources.h"
#include "toolkit/BevelPanel.h"
#include "toolkit/PictureView.h"
#include "toolkit/TransparentImage.h"
#include "toolkit/UiFont.h"

#include <QFontMetrics>
#include <QMouseEvent>

namespace {

const QColor White(255, 255, 255);

// The area a panel leaves to its children inside its border and bevels.
QRect clientRect(const BevelPanel* panel)
{
    int inset = panel->singleBorder() ? 1 : 0;
    if (panel->bevelOuter() != BevelPanel::Bevel::None)
        inset += panel->bevelWidth();
    inset += qMax(0, panel->borderWidth());
    if (panel->bevelInner() != BevelPanel::Bevel::None)
        inset += panel->bevelWidth();
    // A border wider than the panel leaves an empty area in its middle.
    const QRect all = panel->rect();
    return QRect(qMin(inset, all.width() / 2), qMin(inset, all.height() / 2), qMax(0, all.width() - 2 * inset),
                 qMax(0, all.height() - 2 * inset));
}

void setBackground(QWidget* widget, const QColor& colour)
{
    QPalette pal = widget->palette();
    pal.setColor(QPalette::Window, colour);
    widget->setPalette(pal);
}

QLabel* whiteLabel(QLabel* label, const QString& name)
{
    label->setObjectName(name);
    label->setAutoFillBackground(true);
    QPalette pal = label->palette();
    pal.setColor(QPalette::Window, White);
    pal.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(pal);
    // 10 points on the 96 dpi screens the layout was drawn for: 13 pixels, whatever this screen's dpi.
    label->setFont(uiFont(QStringLiteral("MS Sans Serif"), 13));
    return label;
}

} // namespace

// The window manager must leave the popup alone: a managed window would be kept on screen
// (spoiling the slide), framed, or given the focus.
ChangePopup::ChangePopup()
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::BypassWindowManagerHint |
                           Qt::WindowDoesNotAcceptFocus)
{
    setObjectName(QStringLiteral("PopupForm"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_X11DoNotAcceptFocus);
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(true);
    setFixedSize(Width, Height);

    m_spacer = new QLabel(this);
    m_spacer->setObjectName(QStringLiteral("LbSpacer"));

    m_frame = new BevelPanel(this);
    m_frame->setObjectName(QStringLiteral("PnlPopFrame"));
    m_frame->setBevelOuter(BevelPanel::Bevel::None);
    m_frame->setBevelInner(BevelPanel::Bevel::None);
    m_frame->setBevelWidth(1);
    m_frame->setBorderWidth(FrameBorder);

    m_mark = new BevelPanel(m_frame);
    m_mark->setObjectName(QStringLiteral("PnlPopMark"));
    m_mark->setBevelOuter(BevelPanel::Bevel::Raised);
    m_mark->setBevelInner(BevelPanel::Bevel::None);
    m_mark->setBevelWidth(BevelWidth);

    m_mat = new BevelPanel(m_mark);
    m_mat->setObjectName(QStringLiteral("PnlPopMat"));
    m_mat->setBevelOuter(BevelPanel::Bevel::Lowered);
    m_mat->setBevelInner(BevelPanel::Bevel::None);
    m_mat->setBevelWidth(BevelWidth);
    m_mat->setColor(White);

    m_picture = new PictureView(m_mat);
    m_picture->setObjectName(QStringLiteral("ImgPopPicture"));

    m_heading =
        whiteLabel(new QLabel(QStringLiteral("Aktiverad Bakgrundsbild:"), m_frame), QStringLiteral("LbHeading"));
    m_heading->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    m_name = new WrappingLabel(m_frame);
    whiteLabel(m_name, QStringLiteral("LbPopName"));
    m_name->setMaxLines(NameMaxLines);

    m_close = new TransparentImage(this);
    m_close->setObjectName(QStringLiteral("ImgSteng"));
    m_close->setResource(QStringLiteral("Close"));
    m_close->setCursor(Qt::PointingHandCursor);
    m_close->installEventFilter(this);

    placeChildren();
}

QString ChangePopup::nameOf(const QString& path)
{
    return PathText::fileName(path);
}

void ChangePopup::dress(const Look& look, const QString& path)
{
    setBackground(this, look.window);
    m_frame->setColor(look.frame);
    m_mark->setColor(look.mark);
    m_mark->setBorderWidth(look.frameThickness);
    m_name->setText(nameOf(path));
    placeChildren();

    // A window reused must not show an earlier picture.
    m_picture->clear();
}

void ChangePopup::placeChildren()
{
    m_spacer->setGeometry(0, 0, Width, SpacerHeight);
    m_spacer->lower();
    m_frame->setGeometry(0, SpacerHeight, Width, Height - SpacerHeight);

    const QRect inside = clientRect(m_frame);
    // Where only a wider face than the original is installed, the heading steps down in size
    // rather than losing its first and last letters.
    QFont headingFont = m_heading->font();
    while (headingFont.pixelSize() > 9 &&
           QFontMetrics(headingFont).horizontalAdvance(m_heading->text()) > inside.width())
        headingFont.setPixelSize(headingFont.pixelSize() - 1);
    m_heading->setFont(headingFont);
    const int headingHeight = m_heading->sizeHint().height();
    m_heading->setGeometry(inside.left(), inside.top(), inside.width(), headingHeight);
    const int nameHeight = qMin(m_name->heightForWidth(inside.width()), qMax(0, inside.height() - headingHeight));
    m_name->setGeometry(inside.left(), inside.bottom() + 1 - nameHeight, inside.width(), nameHeight);
    m_mark->setGeometry(inside.left(), inside.top() + headingHeight, inside.width(),
                        qMax(0, inside.height() - headingHeight - nameHeight));
    m_mat->setGeometry(clientRect(m_mark));
    m_picture->setGeometry(clientRect(m_mat));

    m_close->move(Width - m_close->width() - 1, 1);
    m_close->raise();
}

bool ChangePopup::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_close) {
        if (event->type() == QEvent::MouseButtonPress) {
            return m_closeClick.press(static_cast<QMouseEvent*>(event));
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            const bool click = m_closeClick.release(static_cast<QMouseEvent*>(event), m_close->rect());
            if (click)
                emit closeClicked();
            return click;
        }
    }
    return QWidget::eventFilter(watched, event);
}
