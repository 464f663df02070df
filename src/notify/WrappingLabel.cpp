#include "WrappingLabel.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>

WrappingLabel::WrappingLabel(QWidget* parent) : QLabel(parent)
{
    setAlignment(Qt::AlignHCenter | Qt::AlignTop);
}

void WrappingLabel::setMaxLines(int lines)
{
    m_maxLines = qMax(0, lines);
    update();
}

QStringList WrappingLabel::linesFor(int width) const
{
    const QString all = text();
    if (all.isEmpty() || width <= 0)
        return {};
    QTextLayout layout(all, font());
    QTextOption option(Qt::AlignHCenter);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);

    QStringList lines;
    QList<int> starts;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        starts << line.textStart();
        lines << all.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();

    if (m_maxLines > 0 && lines.size() > m_maxLines) {
        const QString rest = all.mid(starts[m_maxLines - 1]).trimmed();
        lines = lines.mid(0, m_maxLines - 1);
        lines << QFontMetrics(font()).elidedText(rest, Qt::ElideRight, width);
    }
    return lines;
}

int WrappingLabel::heightForWidth(int width) const
{
    const QFontMetrics metrics(font());
    // An empty name still keeps one line, as a label sized to its text does.
    return qMax<qsizetype>(1, linesFor(width).size()) * metrics.height();
}

void WrappingLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    const int lineHeight = QFontMetrics(font()).height();
    int y = 0;
    for (const QString& line : linesFor(width())) {
        painter.drawText(QRect(0, y, width(), lineHeight), Qt::AlignHCenter | Qt::AlignTop, line);
        y += lineHeight;
    }
}
