#pragma once

#include "RotationState.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QObject>
#include <functional>

class QComboBox;
class QLabel;
class QTimer;
class SpinEdit;

// The bottom field's countdown (units and seconds to the next change, mirrored in the tray
// hint) and its clock and date labels.
class Countdown : public QObject
{
    Q_OBJECT

public:
    struct Controls
    {
        SpinEdit* spinEditTimeInterval;
        QComboBox* cmbTidTyp;
        QLabel* lbTimeLeft;
        QLabel* lbMinut;
        QLabel* lbSek;
        QLabel* lbSek1;
        QLabel* lbTid;
        QLabel* lbDate;
        QTimer* timeLeft;
        QTimer* timerMinSek;
        QTimer* timerTid;
    };

    Countdown(Controls controls, RotationState& state, QObject* parent = nullptr);

    // Connects the three timers and fills the clock labels; the clock timer runs from now on.
    void bind();

    // The unit tick (TimeLeft).
    void TimeLeftTimer();
    // The seconds tick (TimerMinSek); also renews the tray hint.
    void TimerMinSekTimer();
    // The clock tick (TimerTid); the first call also sets the date.
    void TimerTidTimer();

    // The tray hint: the credit line, "Tid till nästa byte:" and the four countdown labels.
    QString hintText() const;
    // Announces the tray hint as the labels show it now.
    void renewHint() { emit hintChanged(hintText()); }
    static QString creditText();
    // "dddd den dd MMM yyyy" in the given locale.
    static QString dateText(const QDate& date, const QLocale& locale);
    // The locale's long time format without a time-zone name.
    static QString timeText(const QTime& time, const QLocale& locale);

    // For tests: the clock and the locale the labels are made from.
    void setClock(std::function<QDateTime()> now) { m_now = std::move(now); }
    void setLocale(const QLocale& locale) { m_locale = locale; }

signals:
    void hintChanged(const QString& hint);

private:
    QString selectedUnitText() const;

    Controls m_controls;
    RotationState& m_state;
    std::function<QDateTime()> m_now;
    QLocale m_locale;
    QDate m_shownDate;
    QString m_dateText;
};
