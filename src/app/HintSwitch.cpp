#include "HintSwitch.h"

#include <QCoreApplication>
#include <QEvent>

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
    return QObject::eventFilter(watched, event);
}
