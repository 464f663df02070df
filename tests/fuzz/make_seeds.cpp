// Writes the generated seeds of the fuzz targets into tests/fuzz/seeds (run by hand when they
// change: cmake --build build-fuzz --target fuzz_make_seeds && build-fuzz/fuzz/fuzz_make_seeds tests/fuzz/seeds).
#include "../support/TestPictures.h"

#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <sqlite3.h>

using namespace TestPictures;

namespace {

QString root;

void put(const QString& target, const QString& name, const QByteArray& bytes)
{
    QDir().mkpath(root + u'/' + target);
    write(root + u'/' + target + u'/' + name, bytes);
}

QImage pattern(int width, int height, QImage::Format format = QImage::Format_RGB32)
{
    QImage image = halves(width, height);
    QPainter(&image).fillRect(width / 4, height / 4, width / 2, height / 2, QColor(0, 200, 40));
    return image.convertToFormat(format);
}

QByteArray store(const char* sql)
{
    const QString file = QDir::temp().filePath(QStringLiteral("tavlix-seed.sqlite3"));
    QFile::remove(file);
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(file).constData(), &db);
    sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    sqlite3_close(db);
    QFile in(file);
    in.open(QIODevice::ReadOnly);
    const QByteArray bytes = in.readAll();
    QFile::remove(file);
    return bytes;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    root = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("tests/fuzz/seeds");

    put("jpeg", "baseline420.jpg", jpeg(pattern(40, 30), JpegKind::Baseline420, 50));
    put("jpeg", "baseline444.jpg", jpeg(pattern(17, 11), JpegKind::Baseline444, 50));
    put("jpeg", "progressive.jpg", jpeg(pattern(40, 30), JpegKind::Progressive420, 50));
    put("jpeg", "grey.jpg", jpeg(pattern(9, 23), JpegKind::Grey, 50));
    put("jpeg", "cmyk.jpg", jpeg(pattern(16, 16), JpegKind::AdobeCmyk, 50));
    put("jpeg", "one-pixel.jpg", jpeg(pattern(1, 1), JpegKind::Baseline420, 50));
    put("jpeg", "cut.jpg", jpeg(pattern(40, 30), JpegKind::Progressive420, 50).chopped(80));

    put("gif", "one-frame.gif", gif(12, 7, {qRgb(255, 0, 0)}));
    put("gif", "two-frames.gif", gif(20, 10, {qRgb(0, 255, 0), qRgb(0, 0, 255)}));
    put("gif", "one-pixel.gif", gif(1, 1, {qRgb(9, 9, 9)}));
    put("gif", "cut.gif", gif(20, 10, {qRgb(0, 255, 0)}).chopped(9));

    put("bmp", "rgb24.bmp", encoded(pattern(13, 7, QImage::Format_RGB888), "bmp"));
    put("bmp", "rgb32.bmp", encoded(pattern(8, 8, QImage::Format_ARGB32), "bmp"));
    put("bmp", "indexed8.bmp", encoded(pattern(9, 5, QImage::Format_Indexed8), "bmp"));
    put("bmp", "mono.bmp", encoded(pattern(17, 3, QImage::Format_Mono), "bmp"));
    put("bmp", "cut.bmp", encoded(pattern(13, 7, QImage::Format_RGB888), "bmp").chopped(20));

    put("png", "rgb.png", encoded(pattern(13, 7), "png"));
    put("png", "alpha.png", encoded(pattern(8, 8, QImage::Format_ARGB32), "png"));
    put("png", "indexed.png", encoded(pattern(9, 5, QImage::Format_Indexed8), "png"));
    put("png", "grey16.png", encoded(pattern(6, 6, QImage::Format_Grayscale16), "png"));
    put("png", "cut.png", encoded(pattern(13, 7), "png").chopped(10));

    const QByteArray latin1 = QByteArray("/bilder/sj\xf6.jpg");
    for (auto [name, bytes] : std::initializer_list<std::pair<const char*, QByteArray>>{
             {"crlf.lst", "/a/b.jpg\r\n/c/d e.bmp\r\n"},
             {"lf.lst", "/a/b.jpg\n/c/d.gif\n"},
             {"cr.lst", "/a/b.jpg\r/c/d.gif\r"},
             {"lfcr.lst", "/a/b.jpg\n\r/c/d.gif\n\r"},
             {"mixed.lst", "a\r\nb\nc\rd\n\re"},
             {"no-last-break.lst", "/a/b.jpg\r\n/c/d.jpg"},
             {"empty-lines.lst", "\r\n\r\n/a.jpg\r\n\n\r"},
             {"nul.lst", QByteArray("/a.jpg\r\n/b\0.jpg\r\n/c.jpg\r\n", 25)},
             {"latin1.lst", latin1 + "\r\n" + "/bilder/sj\xc3\xb6.jpg\r\n"},
             {"unicode-breaks.lst", "/a/Sommar\xc2\xa0"
                                    "2023.jpg\r\n/b\xe2\x80\xa8"
                                    "c.jpg\r\n/d\xe2\x80\xa9"
                                    "e.jpg\r\n"
                                    "/f\xef\xb7\x90g.jpg\r\n"},
         }) {
        put("listfile", name, bytes);
        put("editortext", name, bytes);
    }

    QByteArray colours;
    for (int i = 0; i < 16; ++i)
        colours += QByteArray("Color") + char('A' + i) + '=' + QByteArray::number(0x102030 * i, 16).toUpper() + "\r\n";
    put("clrfrg", "valid.frg", colours);
    put("clrfrg", "empty-slots.frg", "ColorA=FFFFFFFF\r\nColorB=\r\nColorC=0000FF\r\n");
    put("clrfrg", "bad-line.frg", "ColorA=12345\r\nColorB=nope\r\nColorC=1FFFFFFFF\r\nColorD=-1\r\n");
    put("clrfrg", "other-lines.frg", "[Farger]\ncolora=abc\nX=Y\n=\nColorP=000000");

    for (auto [name, text] : std::initializer_list<std::pair<const char*, QByteArray>>{
             {"plain", "/home/anna/Bilder/sjö.jpg"},
             {"quotes", "it's \"a\" \\ test"},
             {"controls", "a\nb\tc\rd\x01\x7f"},
             {"unicode", "\xe2\x80\xa8\xe2\x80\xa9\xf0\x9f\x98\x80\xc2\xa0"},
             {"uri-marks", "/a b/%20/%0A/#x?y=1/[z]"},
             {"shell", "/opt/my apps/$HOME/`id`/%f/%%/\\n"},
             {"double-slash", "//server/share/bild.jpg"},
         }) {
        for (const char* target : {"gvariant", "plasma", "exec"})
            put(target, name, text);
    }

    put("settings", "empty", QByteArray());
    put("settings", "text", "This is a text file, not a database.\n");
    const QByteArray valid = store(
        "CREATE TABLE keys(root TEXT NOT NULL, path TEXT NOT NULL COLLATE NOCASE, PRIMARY KEY(root, path));"
        "CREATE TABLE reg_values(root TEXT NOT NULL, path TEXT NOT NULL COLLATE NOCASE, name TEXT NOT NULL COLLATE "
        "NOCASE, type INTEGER NOT NULL, data BLOB NOT NULL, PRIMARY KEY(root, path, name));"
        "INSERT INTO keys VALUES('HKEY_CURRENT_USER', 'Software'), ('HKEY_CURRENT_USER', 'Software\\Tavlix'),"
        "('HKEY_CURRENT_USER', 'Software\\Tavlix\\Settings');"
        "INSERT INTO reg_values VALUES('HKEY_CURRENT_USER', 'Software\\Tavlix\\Settings', 'Typ', 4, x'07000000'),"
        "('HKEY_CURRENT_USER', 'Software\\Tavlix\\Settings', 'Startknapp', 1, CAST('&Stoppa' || char(0) AS BLOB)),"
        "('HKEY_CURRENT_USER', 'Software\\Tavlix\\Settings', 'Left', 1, x'31'),"
        "('HKEY_CURRENT_USER', 'Software\\Tavlix\\Settings', 'Mellan', 4, x'0100000000'),"
        "('HKEY_CURRENT_USER', 'Software\\Tavlix\\Settings', 'Vald', 4, x'');");
    put("settings", "valid", valid);
    put("settings", "cut", valid.left(valid.size() - 700));
    QByteArray scribbled = valid;
    for (qsizetype i = 1024; i < scribbled.size(); i += 13)
        scribbled[i] = char(0x5A);
    put("settings", "scribbled", scribbled);
    put("settings", "wrong-tables",
        store("CREATE TABLE keys(a); CREATE TABLE reg_values(b); INSERT INTO keys VALUES(1);"));
    return 0;
}
