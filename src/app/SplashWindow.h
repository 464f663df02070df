#pragma once

#include <QWidget>
#include <functional>

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
    // Draws the window now, outside the event loop, as start-up steps do between their sleeps.
    void repaintNow();

    // Called with the welcome text when the splash closes; the tray icon shows it as a balloon.
    void setBalloonHandler(std::function<void(const QString& title, const QString& text)> handler);

    static QString creditText();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    void FormClose();

    QLabel* m_imgBg;
    QLabel* m_label1;
    QLabel* m_image1;
    QLabel* m_lbLadda;
    QProgressBar* m_progress;
    std::function<void(const QString&, const QString&)> m_balloon;
};
