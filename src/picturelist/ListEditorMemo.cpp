#include "ListEditorMemo.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>

namespace {
const QColor RuleColour(0xC0, 0xC0, 0xC0);
const QColor MarginColour(0x00, 0x00, 0xFF);
} // namespace

ListEditorMemo::ListEditorMemo(QWidget* parent) : QPlainTextEdit(parent)
{
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    QPalette pal = palette();
    for (auto role : {QPalette::Highlight, QPalette::HighlightedText})
        pal.setColor(QPalette::Inactive, role, pal.color(QPalette::Active, role));
    // The margins round the text and the corner between the scroll bars.
    pal.setColor(QPalette::Window, MarginColour);
    setPalette(pal);
    for (QWidget* bar : {static_cast<QWidget*>(verticalScrollBar()), static_cast<QWidget*>(horizontalScrollBar())}) {
        QPalette barPalette = bar->palette();
        for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button})
            barPalette.setColor(role, MarginColour);
        bar->setPalette(barPalette);
    }
    setBackgroundVisible(false);
    setAutoFillBackground(true);
}

void ListEditorMemo::paintEvent(QPaintEvent* event)
{
    QPlainTextEdit::paintEvent(event);
    QPainter painter(viewport());
    painter.setPen(RuleColour);
    const QRect area = event->rect();
    for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
        const QRectF box = blockBoundingGeometry(block).translated(contentOffset());
        if (box.top() > area.bottom())
            break;
        const int y = qRound(box.bottom()) - 1;
        painter.drawLine(area.left(), y, area.right(), y);
    }
}
