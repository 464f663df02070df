// Decode benchmark: full pictures and thumbnails of 12-megapixel JPEGs, against libjpeg's own
// 1/8 scaled decode (what `djpeg -scale 1/8` costs). Run in a Release build: make bench.

#include "../tests/support/TestPictures.h"
#include "picture/Picture.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QVector>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <jpeglib.h>
#include <malloc.h>
#include <random>

using namespace TestPictures;

namespace {

constexpr int pictureWidth = 4000;
constexpr int pictureHeight = 3000;
constexpr QSize thumbnailBox(96, 77);
constexpr int fullRuns = 5;
constexpr int thumbnailRuns = 40;

// Something with the detail of a photograph, so the entropy decoder has real work.
QImage photoLike()
{
    QImage image(pictureWidth, pictureHeight, QImage::Format_RGB32);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> noise(-12, 12);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const double v = std::sin(x * 0.013) * std::cos(y * 0.017) + std::sin((x + y) * 0.05) * 0.3;
            const int base = int(128 + 90 * v);
            line[x] = qRgb(qBound(0, base + noise(random), 255), qBound(0, 255 - base + noise(random), 255),
                           qBound(0, (x * 255) / pictureWidth + noise(random), 255));
        }
    }
    return image;
}

long procStatusKb(const char* field)
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').first().toLong();
    return -1;
}

// Starts a new high-water mark of the resident set at the current size.
void resetPeak()
{
    QFile refs("/proc/self/clear_refs");
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

double megabytes(long kb)
{
    return kb / 1024.0;
}

// Plain libjpeg, as djpeg -scale 1/8 runs it: stdio source, RGB rows, nothing kept.
void referenceScaledDecode(const QString& path)
{
    FILE* file = std::fopen(QFile::encodeName(path).constData(), "rb");
    if (!file)
        return;
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_decompress(&cinfo);
    jpeg_stdio_src(&cinfo, file);
    jpeg_read_header(&cinfo, TRUE);
    cinfo.scale_num = 1;
    cinfo.scale_denom = 8;
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    QByteArray row(int(cinfo.output_width * cinfo.output_components), '\0');
    JSAMPROW rows[1] = {reinterpret_cast<JSAMPLE*>(row.data())};
    while (cinfo.output_scanline < cinfo.output_height)
        jpeg_read_scanlines(&cinfo, rows, 1);
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    std::fclose(file);
}

double cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

struct Figures
{
    double wallMs = 0; // per picture
    double cpuMs = 0;  // per picture: the machine may be shared, CPU time is the steadier figure
    long peakKb = 0;   // high-water mark of the resident set above where the measurement started
    long grownKb = 0;  // resident set at the end above the start
};

// One measurement in a fresh process, so nothing freed by an earlier one hides in the heap.
Figures measure(const QString& mode, const QString& path, int runs)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {mode, path, QString::number(runs)});
    child.waitForFinished(-1);
    const QList<QByteArray> v = child.readAllStandardOutput().trimmed().split(' ');
    if (v.size() != 4) {
        std::fprintf(stderr, "%s failed: %s\n", qPrintable(mode), child.readAllStandardError().constData());
        return {};
    }
    return {v[0].toDouble(), v[1].toDouble(), v[2].toLong(), v[3].toLong()};
}

// The child's side: runs one kind of load `runs` times and prints its figures.
int runMeasurement(const QString& mode, const QString& path, int runs)
{
    // Warm the file cache and the code paths.
    if (mode == u"reference")
        referenceScaledDecode(path);
    else
        (void)Picture::loadFitted(path, thumbnailBox);
    QVector<QImage> kept; // thumbnails stay, as the strip keeps them
    kept.reserve(runs);
    resetPeak();
    const long base = procStatusKb("VmRSS:");
    QElapsedTimer timer;
    timer.start();
    const double cpuStart = cpuMs();
    for (int i = 0; i < runs; ++i) {
        if (mode == u"full")
            (void)Picture::load(path);
        else if (mode == u"thumbnail")
            kept.append(Picture::loadFitted(path, thumbnailBox));
        else
            referenceScaledDecode(path);
    }
    const double cpu = (cpuMs() - cpuStart) / runs;
    const double wall = double(timer.nsecsElapsed()) / 1e6 / runs;
    const long peak = procStatusKb("VmHWM:") - base;
    malloc_trim(0); // what stays, without the free heap the allocator keeps for the next load
    std::printf("%.3f %.3f %ld %ld\n", wall, cpu, peak, procStatusKb("VmRSS:") - base);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 4)
        return runMeasurement(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]), std::atoi(argv[3]));

    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    std::printf("Generating %d x %d JPEGs...\n", pictureWidth, pictureHeight);
    const QImage source = photoLike();
    const struct
    {
        const char* name;
        JpegKind kind;
    } kinds[] = {{"baseline 4:2:0", JpegKind::Baseline420},
                 {"baseline 4:4:4", JpegKind::Baseline444},
                 {"progressive 4:2:0", JpegKind::Progressive420}};
    QStringList paths;
    for (const auto& kind : kinds) {
        paths << dir.filePath(QString::fromLatin1(kind.name).replace(' ', '_').replace(':', '-') + ".jpg");
        write(paths.last(), jpeg(source, kind.kind, 90));
    }

    std::printf("Per picture: wall ms, CPU ms; peak = resident high-water above the start of the measurement\n");
    for (int k = 0; k < paths.size(); ++k) {
        const QString& path = paths[k];
        const Figures full = measure("full", path, fullRuns);
        const Figures one = measure("thumbnail", path, 1);
        const Figures many = measure("thumbnail", path, thumbnailRuns);
        const Figures ref = measure("reference", path, thumbnailRuns);
        std::printf("\n%s, %.2f MB file\n", kinds[k].name, QFileInfo(path).size() / 1048576.0);
        std::printf("  (a) full decode        %7.1f ms  CPU %7.1f ms  peak %6.1f MB\n", full.wallMs, full.cpuMs,
                    megabytes(full.peakKb));
        std::printf("  (b) thumbnail 96x77    %7.1f ms  CPU %7.1f ms  peak %6.1f MB for 1, %6.1f MB while "
                    "loading %d (kept after: %.2f MB)\n",
                    many.wallMs, many.cpuMs, megabytes(one.peakKb), megabytes(many.peakKb), thumbnailRuns,
                    megabytes(many.grownKb));
        std::printf("  (c) libjpeg 1/8 alone  %7.1f ms  CPU %7.1f ms  peak %6.1f MB\n", ref.wallMs, ref.cpuMs,
                    megabytes(ref.peakKb));
        std::printf("  (b)/(c): %.2fx wall, %.2fx CPU\n", many.wallMs / ref.wallMs, many.cpuMs / ref.cpuMs);
    }
    return 0;
}
