// Paints the program's bitmaps and icon into a folder, with a .qrc that lists them; with
// --icons, only the application icon at the icon theme's sizes (<size>x<size>.png).
// Usage: tavlix_artgen [--icons] <output folder>

#include "Artwork.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>

namespace {

// Writes only when the bytes differ, so an unchanged picture does not force a rebuild.
bool writeIfChanged(const QString& path, const QByteArray& bytes)
{
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == bytes)
        return true;
    existing.close();
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QByteArray png(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace

int main(int argc, char** argv)
{
    // Text is laid out with the platform's fonts, which needs a GUI application.
    QGuiApplication app(argc, argv);
    const bool themeIcons = argc == 3 && qstrcmp(argv[1], "--icons") == 0;
    if (argc != 2 && !themeIcons) {
        std::fprintf(stderr, "usage: tavlix_artgen [--icons] <output folder>\n");
        return 2;
    }
    const char* folder = argv[argc - 1];
    const QDir out(QString::fromLocal8Bit(folder));
    if (!out.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "artgen: cannot create %s\n", folder);
        return 1;
    }

    const QList<Artwork> all = themeIcons ? paintThemeIcons() : paintSkins() + paintGlyphs() + paintAppIcon();
    QByteArray qrc = "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<qresource prefix=\"/tavlix/art\">\n";
    for (const Artwork& art : all) {
        const QString file = art.name + QStringLiteral(".png");
        const QByteArray bytes = png(art.image);
        if (bytes.isEmpty() || !writeIfChanged(out.filePath(file), bytes)) {
            std::fprintf(stderr, "artgen: cannot write %s\n", qPrintable(out.filePath(file)));
            return 1;
        }
        qrc += "    <file>" + file.toUtf8() + "</file>\n";
    }
    qrc += "</qresource>\n</RCC>\n";
    if (themeIcons)
        return 0;
    if (!writeIfChanged(out.filePath(QStringLiteral("art.qrc")), qrc)) {
        std::fprintf(stderr, "artgen: cannot write art.qrc\n");
        return 1;
    }
    return 0;
}
