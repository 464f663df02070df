#include "LabelAutoSize.h"

#include <QEvent>
#include <QLabel>
#include <QList>
#include <QPointer>
#include <utility>

namespace {

// Qt tells a parent without a layout that a child's size hint changed with a LayoutRequest;
// one watcher per parent resizes the auto-sized labels then, and when the parent is shown
// (requests are only sent to visible parents).
class AutoSizer : public QObject
{
public:
    explicit AutoSizer(QWidget* parent) : QObject(parent) { parent->installEventFilter(this); }

    void add(QLabel* label, bool keepRightEdge)
    {
        // The designed place holds the designed text: its left edge is the anchor at first.
        fit({label, false});
        m_labels.append({label, keepRightEdge});
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::LayoutRequest || event->type() == QEvent::Show) {
            for (const Entry& entry : std::as_const(m_labels))
                fit(entry);
        }
        return false;
    }

private:
    struct Entry
    {
        QPointer<QLabel> label;
        bool keepRightEdge;
    };

    static void fit(const Entry& entry)
    {
        QLabel* label = entry.label;
        if (!label)
            return;
        const QSize size = label->sizeHint().expandedTo(QSize(0, 0));
        if (size == label->size())
            return;
        const int left = entry.keepRightEdge ? label->geometry().right() + 1 - size.width() : label->x();
        label->setGeometry(left, label->y(), size.width(), size.height());
    }

    QList<Entry> m_labels;
};

} // namespace

void setLabelAutoSize(QLabel* label, bool keepRightEdge)
{
    QWidget* parent = label->parentWidget();
    if (!parent)
        return;
    AutoSizer* sizer = nullptr;
    for (QObject* child : parent->children()) {
        if ((sizer = dynamic_cast<AutoSizer*>(child)))
            break;
    }
    if (!sizer)
        sizer = new AutoSizer(parent);
    sizer->add(label, keepRightEdge);
}
