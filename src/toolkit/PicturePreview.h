#pragma once

#include "picture/AsyncDecode.h"

#include <QWidget>

class PictureView;
class QFileDialog;
class QLabel;

// The preview beside the picture dialog's file list: the highlighted picture fitted into the box,
// its size in pixels under it. A file that cannot be shown leaves the box empty, without a message.
class PicturePreview : public QWidget
{
    Q_OBJECT

public:
    static constexpr int BoxWidth = 160;
    static constexpr int BoxHeight = 120;

    explicit PicturePreview(QWidget* parent = nullptr);

    // Shows path once it is decoded (off this thread): shown() tells when.
    void showFile(const QString& path);

    PictureView* view() const { return m_view; }
    QLabel* sizeLabel() const { return m_size; }

    // Puts a preview beside the dialog's file list that follows the highlighted file.
    static void attach(QFileDialog& dialog);

signals:
    void shown();

private:
    PictureView* m_view;
    QLabel* m_size;
    AsyncDecode::Channel m_decode;
};
