#pragma once

#include <QLabel>
#include <QStringList>

// A centred label whose text wraps at word boundaries and, for a word wider than the label
// (a long file name has no spaces), anywhere inside the word. Its height follows the lines.
// With a line limit the last shown line ends in an ellipsis when the text needs more lines.
class WrappingLabel : public QLabel
{
    Q_OBJECT

public:
    explicit WrappingLabel(QWidget* parent = nullptr);

    void setMaxLines(int lines);
    int maxLines() const { return m_maxLines; }

    // The lines as they are drawn at the given width.
    QStringList linesFor(int width) const;
    int heightForWidth(int width) const override;
    bool hasHeightForWidth() const override { return true; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_maxLines = 0;
};
