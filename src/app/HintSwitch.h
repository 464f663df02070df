#pragma once

#include <QObject>

// The application's hints: while off, no tool tip and no tip-line text is shown anywhere.
class HintSwitch : public QObject
{
    Q_OBJECT

public:
    explicit HintSwitch(QObject* parent = nullptr);
    ~HintSwitch() override;

    void setEnabled(bool on) { m_on = on; }
    bool isEnabled() const { return m_on; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_on = true;
};
