#pragma once

#include <QImage>
#include <QString>

class QPainter;
class QRect;
class QSize;

// A decoded picture file. The decoder is chosen by the file's extension, never by its content;
// every failure (unknown extension, unreadable file, undecodable data) is an AppError with the
// text the user sees.
class Picture
{
public:
    Picture() = default;
    explicit Picture(QImage image) : m_image(std::move(image)) {}

    // Decodes the whole picture. Throws AppError.
    static Picture load(const QString& path);
    // Decodes only as much as the box needs and returns the small image already fitted into
    // the box (its size is fitRect(picture size, box).size()). Throws AppError.
    static QImage loadThumbnail(const QString& path, const QSize& box);

    bool isNull() const { return m_image.isNull(); }
    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }
    const QImage& image() const { return m_image; }

    // Draws the picture stretched into target.
    void draw(QPainter& p, const QRect& target) const;

private:
    QImage m_image;
};
