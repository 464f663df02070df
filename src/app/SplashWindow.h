#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;

// The start-up card: skin, icon, credit text, status label and gauge. Created by the program
// entry, never the main window: closing it only hides it.
class SplashWindow : public QWidget
{
    Q_OBJECT

public:
    explicit SplashWindow(QWidget* parent = nullptr);

    void setTextColour(const QColor& colour);
    void setStatus(const QString& text);
    void setGauge(int maximum, int position);
    void setGaugePosition(int position);
    void setPercentVisible(bool visible);
    // Draws the window now, as start-up steps do after each of their pauses.
    void repaintNow();

    static QString creditText();
    // Whether gauge step position of 0..maximum is shown, with its repaint and pause. Every step is
    // while the steps take at most the longest the splash paces a list; longer lists show every
    // n-th step (and the last) so the pacing still ends in time.
    static bool showsStep(int maximum, int position);
    // Steps shown at most for one list: with the pause and the repaint, about two seconds.
    static constexpr int MaxShownSteps = 1000;

signals:
    // The splash closed: the tray icon shows the welcome text as a balloon.
    void welcomed(const QString& title, const QString& text);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    void FormClose();

    int m_maximum = 100; // the designed range
    QLabel* m_imgBg;
    QLabel* m_label1;
    QLabel* m_image1;
    QLabel* m_lbLadda;
    QProgressBar* m_progress;
};
