#include "Hint.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QPointer>
#include <QStatusTipEvent>
#include <QWidget>

namespace {

class StatusTipRelay : public QObject
{
public:
    StatusTipRelay(QMenu* menu, QWidget* target) : QObject(menu), m_target(target) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::StatusTip)
            return false;
        if (m_target) {
            QStatusTipEvent tip(static_cast<QStatusTipEvent*>(event)->tip());
            QCoreApplication::sendEvent(m_target, &tip);
        }
        return true;
    }

private:
    QPointer<QWidget> m_target;
};

} // namespace

QString shortHint(const QString& hint)
{
    const qsizetype bar = hint.indexOf(u'|');
    return bar < 0 ? hint : hint.left(bar);
}

QString longHint(const QString& hint)
{
    const qsizetype bar = hint.indexOf(u'|');
    return bar < 0 ? hint : hint.mid(bar + 1);
}

void setHint(QWidget* widget, const QString& hint)
{
    widget->setToolTip(shortHint(hint));
    widget->setStatusTip(longHint(hint));
}

void setHint(QAction* action, const QString& hint)
{
    action->setToolTip(shortHint(hint));
    action->setStatusTip(longHint(hint));
}

void relayMenuHints(QMenu* menu, QWidget* target)
{
    menu->setToolTipsVisible(true);
    menu->installEventFilter(new StatusTipRelay(menu, target));
}
