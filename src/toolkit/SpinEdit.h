#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

// An edit box for a whole number with up and down arrows at its right. It has no bounds:
// any text can stand in it, and text that is not a whole number reads as 0.
class SpinEdit : public QWidget
{
    Q_OBJECT

public:
    explicit SpinEdit(QWidget* parent = nullptr);

    int value() const;
    void setValue(int value);
    QString text() const;
    void setText(const QString& text);
    // true: the arrow buttons emit upClicked/downClicked instead of stepping; the Up and Down keys still step.
    void setArrowsRebound(bool rebound);
    bool arrowsRebound() const { return m_rebound; }

    QLineEdit* lineEdit() const { return m_edit; }
    QToolButton* upButton() const { return m_up; }
    QToolButton* downButton() const { return m_down; }

    QSize sizeHint() const override;

signals:
    // On every change of the text, by the user or by code.
    void changed();
    void upClicked();
    void downClicked();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void stepUp();
    void stepDown();

    QLineEdit* m_edit;
    QToolButton* m_up;
    QToolButton* m_down;
    bool m_rebound = false;
};
