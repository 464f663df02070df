#pragma once

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QObject>
#include <functional>

class QComboBox;
class QLabel;
class QTimer;
class Rotation;

// The bottom field shows the rotation's countdown (units and seconds to the next change, mirrored
// in the tray hint) and the clock and date.
class Countdown : public QObject
{
    Q_OBJECT

public:
    struct Controls
    {
        QComboBox* cmbTidTyp; // its items name the units
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

    Countdown(Controls controls, Rotation& rotation, QObject* parent = nullptr);

    // Connects the three timers and the rotation's countdown, and fills the clock labels; the
    // clock timer runs from now on.
    void bind();

    // The unit tick (TimeLeft).
    void TimeLeftTimer();
    // The seconds tick (TimerMinSek); also renews the tray hint.
    void TimerMinSekTimer();
    // The labels show the rotation's countdown.
    void showCountdown();
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
    Controls m_controls;
    Rotation& m_rotation;
    std::function<QDateTime()> m_now;
    QLocale m_locale;
    QDate m_shownDate;
    QString m_dateText;
};
