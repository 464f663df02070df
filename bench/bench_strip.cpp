// Builds the thumbnail strip for 500 twelve-megapixel JPEG files on the offscreen platform and
// reports the time per picture and the peak memory, beside libjpeg's own 1/8 scaled decode of
// the same file. Run on demand: bench_strip [count]

#include "picturelist/PictureList.h"
#include "picturelist/ThumbnailStrip.h"
#include "toolkit/BevelPanel.h"
#include "toolkit/PictureView.h"
#include "toolkit/SpeedButton.h"
#include "toolkit/SpinEdit.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>
#include <jpeglib.h>
#include <vector>

namespace {

constexpr int Width = 4000;
constexpr int Height = 3000;

long peakKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

// Writes a 12-megapixel photo-like JPEG row by row, so generating it costs no memory peak.
bool writeJpeg(const QString& path, int seed)
{
    FILE* out = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!out)
        return false;
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, out);
    cinfo.image_width = Width;
    cinfo.image_height = Height;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 90, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(Width * 3);
    unsigned noise = 12345u + unsigned(seed);
    while (cinfo.next_scanline < cinfo.image_height) {
        const int y = int(cinfo.next_scanline);
        for (int x = 0; x < Width; ++x) {
            noise = noise * 1103515245u + 12345u;
            const int n = int((noise >> 16) & 31);
            row[x * 3] = JSAMPLE((x * 255 / Width + n + seed * 40) & 255);
            row[x * 3 + 1] = JSAMPLE((y * 255 / Height + n) & 255);
            row[x * 3 + 2] = JSAMPLE(((x ^ y) & 63) + 96 + n);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::fclose(out);
    return true;
}

// libjpeg's own scaled decode of the file, from an in-memory copy, as the reference time.
double referenceDecodeMs(const QString& path, int runs)
{
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < runs; ++i) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return -1;
        const QByteArray bytes = file.readAll();
        jpeg_decompress_struct cinfo;
        jpeg_error_mgr jerr;
        cinfo.err = jpeg_std_error(&jerr);
        jpeg_create_decompress(&cinfo);
        jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.constData()), bytes.size());
        jpeg_read_header(&cinfo, TRUE);
        cinfo.scale_num = 1;
        cinfo.scale_denom = 8;
        cinfo.out_color_space = JCS_RGB;
        jpeg_start_decompress(&cinfo);
        std::vector<JSAMPLE> row(cinfo.output_width * cinfo.output_components);
        while (cinfo.output_scanline < cinfo.output_height) {
            JSAMPROW rows[1] = {row.data()};
            jpeg_read_scanlines(&cinfo, rows, 1);
        }
        jpeg_finish_decompress(&cinfo);
        jpeg_destroy_decompress(&cinfo);
    }
    return double(timer.nsecsElapsed()) / 1e6 / runs;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? QByteArray(argv[1]).toInt() : 500;
    QTextStream out(stdout);

    QTemporaryDir dir;
    constexpr int Distinct = 3;
    QStringList sources;
    for (int i = 0; i < Distinct; ++i) {
        sources << dir.filePath(QStringLiteral("kalla%1.jpg").arg(i));
        if (!writeJpeg(sources.last(), i)) {
            out << "cannot write " << sources.last() << "\n";
            return 1;
        }
    }
    // The 500 names are links to the few files (500 copies would fill gigabytes): the strip
    // still opens and decodes each name as its own file.
    QStringList paths;
    for (int k = 0; k < count; ++k) {
        const QString path = dir.filePath(QStringLiteral("bild%1.jpg").arg(k, 3, 10, QLatin1Char('0')));
        if (!QFile::link(sources[k % Distinct], path)) {
            out << "cannot link " << path << "\n";
            return 1;
        }
        paths << path;
    }
    out << "file size: " << QFileInfo(sources[0]).size() / 1024 << " KiB, " << Width << " x " << Height << "\n";

    const double reference = referenceDecodeMs(sources[0], 20);
    const long peakBefore = peakKb();

    QWidget form;
    ThumbnailStrip::Controls c{};
    c.form = &form;
    auto* lb1 = new QListWidget(&form);
    lb1->hide();
    c.pnlBg = new BevelPanel(&form);
    c.pnlBg->setColor(QColor(0xA6, 0xCA, 0xF0));
    c.pnlMark = new BevelPanel(&form);
    c.pnlMark->setColor(Qt::blue);
    c.ram = new SpinEdit(&form);
    c.ram->setValue(8);
    c.btVerkstall = new SpeedButton(&form);
    c.sb1 = new QScrollArea(&form);
    c.sb1->setGeometry(169, 71, 414, 438);
    c.sb1->setWidget(new QWidget);
    c.img = new PictureView(&form);
    for (QLabel** l : {&c.lbNamn, &c.lbPath, &c.lbSel})
        *l = new QLabel(&form);
    form.resize(988, 608);
    form.show();

    PictureList list(lb1);
    ThumbnailStrip strip(c, list);
    QElapsedTimer timer;
    timer.start();
    for (int k = 0; k < count; ++k) {
        list.append(QFile::encodeName(paths[k]));
        strip.AddThumbnail(k, true);
        QCoreApplication::processEvents();
    }
    const double perPicture = double(timer.nsecsElapsed()) / 1e6 / count;
    const long peakAfter = peakKb();

    out << "pictures: " << count << "\n";
    out << "strip: " << QString::number(perPicture, 'f', 2) << " ms per picture\n";
    out << "libjpeg 1/8 scaled decode of the same file: " << QString::number(reference, 'f', 2) << " ms\n";
    out << "ratio: " << QString::number(perPicture / reference, 'f', 2) << " (target <= 1.3)\n";
    out << "peak memory (VmHWM): " << peakAfter / 1024 << " MB (before the strip " << peakBefore / 1024
        << " MB; target < 300)\n";
    return 0;
}
