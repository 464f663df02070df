#include "SpinEdit.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

namespace {

constexpr int arrowWidth = 15;

} // namespace

SpinEdit::SpinEdit(QWidget* parent)
    : QWidget(parent), m_edit(new QLineEdit(this)), m_up(new QToolButton(this)), m_down(new QToolButton(this))
{
    setFocusProxy(m_edit);
    setFocusPolicy(m_edit->focusPolicy());
    m_edit->installEventFilter(this);
    for (QToolButton* arrow : {m_up, m_down}) {
        arrow->setFocusPolicy(Qt::NoFocus);
        arrow->setAutoRepeat(true);
        arrow->setAutoRaise(false);
        arrow->setIconSize(QSize(7, 4));
    }
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    m_up->setObjectName(QStringLiteral("up"));
    m_down->setObjectName(QStringLiteral("down"));
    setText(QStringLiteral("0"));

    connect(m_edit, &QLineEdit::textChanged, this, &SpinEdit::changed);
    connect(m_up, &QToolButton::clicked, this, [this] {
        if (m_rebound)
            emit upClicked();
        else
            stepUp();
    });
    connect(m_down, &QToolButton::clicked, this, [this] {
        if (m_rebound)
            emit downClicked();
        else
            stepDown();
    });
}

int SpinEdit::value() const
{
    bool ok = false;
    const int number = m_edit->text().trimmed().toInt(&ok);
    return ok ? number : 0;
}

void SpinEdit::setValue(int value)
{
    setText(QString::number(value));
}

QString SpinEdit::text() const
{
    return m_edit->text();
}

void SpinEdit::setText(const QString& text)
{
    m_edit->setText(text);
}

void SpinEdit::setArrowsRebound(bool rebound)
{
    m_rebound = rebound;
}

void SpinEdit::stepUp()
{
    // No bounds: the step wraps only where a 32-bit number would.
    setValue(int(unsigned(value()) + 1u));
}

void SpinEdit::stepDown()
{
    setValue(int(unsigned(value()) - 1u));
}

QSize SpinEdit::sizeHint() const
{
    const QSize edit = m_edit->sizeHint();
    return {edit.width() + arrowWidth, edit.height()};
}

void SpinEdit::resizeEvent(QResizeEvent*)
{
    const int arrowsLeft = width() - arrowWidth;
    m_edit->setGeometry(0, 0, qMax(0, arrowsLeft), height());
    const int upHeight = height() / 2;
    m_up->setGeometry(arrowsLeft, 0, arrowWidth, upHeight);
    m_down->setGeometry(arrowsLeft, upHeight, arrowWidth, height() - upHeight);
}

bool SpinEdit::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_edit || event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    // The keys keep the edit's own stepping (plus or minus 1) even when the arrows are rebound.
    if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
        if (key->key() == Qt::Key_Up)
            stepUp();
        else
            stepDown();
        return true;
    }
    // Typing admits digits and signs only; pasted text is taken as it is and reads as 0
    // when it is not a number.
    const QString typed = key->text();
    if (!typed.isEmpty() && typed.at(0).isPrint() && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        for (QChar c : typed) {
            if (!c.isDigit() && c != u'-' && c != u'+')
                return true;
        }
    }
    return false;
}
