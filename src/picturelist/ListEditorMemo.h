#pragma once

#include <QPlainTextEdit>

// The list editor's memo: one path a line, no wrapping, each line ruled in grey, and the
// selection kept visible while another control has the focus (the path field, its buttons).
class ListEditorMemo : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit ListEditorMemo(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
