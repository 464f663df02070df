#include "HintSwitch.h"

#include <QCoreApplication>
#include <QStatusTipEvent>
#include <QWidget>

HintSwitch::HintSwitch(QObject* parent) : QObject(parent)
{
    QCoreApplication::instance()->installEventFilter(this);
}

HintSwitch::~HintSwitch()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

bool HintSwitch::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_on && (event->type() == QEvent::ToolTip || event->type() == QEvent::StatusTip))
        return true;
    // A status tip travels up to its window and no further: there it is handed on.
    if (event->type() == QEvent::StatusTip && watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow())
        emit windowTip(static_cast<QWidget*>(watched), static_cast<QStatusTipEvent*>(event)->tip());
    return QObject::eventFilter(watched, event);
}
