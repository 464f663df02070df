#pragma once

#include "toolkit/ClickTracker.h"

#include <QPointer>
#include <QRegion>
#include <QWidget>

class QLabel;

// Form3: a small window in the shape of the SPLASH skin that names the program and its maker.
// Created once and only shown and hidden afterwards; a click anywhere in its shape hides it.
class AboutWindow : public QWidget
{
    Q_OBJECT

public:
    // mainWindow gives the place of the first showing and, at every showing, the colours.
    explicit AboutWindow(QWidget* mainWindow, QWidget* parent = nullptr);

    // What the about caption buttons do: show without waiting, or bring an open window to the front.
    void showAbout();

    void Label2Click();

    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    // Centred over the main window, left and top no less than 0.
    void placeOverMainWindow();

    QPointer<QWidget> m_mainWindow;
    QLabel* m_imgBg;
    QLabel* m_image1;
    QLabel* m_label2;
    QLabel* m_label1;
    QRegion m_region;
    bool m_placed = false;
    ClickTracker m_click;
};
