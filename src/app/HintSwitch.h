#pragma once

#include <QObject>

class QWidget;

// The application's hints: while off, no tool tip and no tip-line text is shown anywhere; while
// on, the tip of a control in any of the program's windows is announced for the one tip line.
class HintSwitch : public QObject
{
    Q_OBJECT

public:
    explicit HintSwitch(QObject* parent = nullptr);
    ~HintSwitch() override;

    void setEnabled(bool on) { m_on = on; }
    bool isEnabled() const { return m_on; }

signals:
    // The pointer is over (or has left) a control of window with this long hint.
    void windowTip(QWidget* window, const QString& tip);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_on = true;
};
