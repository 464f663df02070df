// Camera photos with an embedded EXIF preview (160 x 120, written by exiftool): thumbnails for the
// card through the thumbnail loader, cache empty and warm, against `djpeg -scale 1/8` of the same
// files; and photos cropped after their preview was made, which are decoded instead.
// Run on demand: bench_exif [pictures=500]
// bench_exif --photos DIR COUNT [cropped|plain] writes COUNT camera photos of 4000 x 3000 into DIR
// (hard links to a few sources): every tenth cropped after its preview, or none with a preview.

#include "../tests/support/TestPictures.h"
#include "BenchProcess.h"
#include "picture/ThumbnailCache.h"
#include "picture/ThumbnailLoader.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <cmath>
#include <cstdio>
#include <random>
#include <sys/resource.h>
#include <unistd.h>

using namespace TestPictures;

namespace {

// The thumbnail box of a card at the design width (96 x 116, default frame), in logical pixels.
constexpr QSize CardBox(74, 57);
constexpr int Sources = 6;

void say(const QString& line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

QString ms(double v)
{
    return QString::number(v, 'f', 2);
}

double cpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

// Detail like a photograph's, so the entropy decoder has real work.
QImage photoLike(int width, int height, int seed)
{
    QImage image(width, height, QImage::Format_RGB32);
    std::mt19937 random{unsigned(seed)};
    std::uniform_int_distribution<int> noise(-12, 12);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int base = 128 + int(90 * std::sin((x + seed * 300) * 0.013) * std::cos(y * 0.017));
            line[x] = qRgb(qBound(0, base + noise(random), 255), qBound(0, 255 - base + noise(random), 255),
                           qBound(0, x * 255 / width + noise(random), 255));
        }
    }
    return image;
}

// A photo as a camera writes it: the picture and its 160 x 120 preview in the EXIF block. cropped:
// the picture was cropped to 4000 x 2800 afterwards and the preview left as it was.
bool cameraPhoto(const QString& path, int seed, bool cropped, bool plain = false)
{
    const QImage photo = photoLike(4000, 3000, seed);
    const QString preview = path + QStringLiteral(".preview.jpg");
    put(preview,
        jpeg(photo.scaled(160, 120, Qt::IgnoreAspectRatio, Qt::SmoothTransformation), JpegKind::Baseline420, 85));
    put(path, jpeg(cropped ? photo.copy(0, 100, 4000, 2800) : photo, JpegKind::Baseline420, 92));
    if (plain)
        return true;
    const int status =
        QProcess::execute(QStringLiteral("exiftool"),
                          {QStringLiteral("-q"), QStringLiteral("-overwrite_original"), QStringLiteral("-Make=Tavlix"),
                           QStringLiteral("-Model=Bench 12MP"), QStringLiteral("-DateTimeOriginal=2026:06:01 12:00:00"),
                           QStringLiteral("-ThumbnailImage<=") + preview, path});
    QFile::remove(preview);
    return status == 0;
}

// count names in dir, hard links to the sources in turn; each is its own file for the cache.
QStringList linkNames(const QString& dir, const QString& prefix, const QStringList& sources, int count)
{
    QStringList names;
    for (int k = 0; k < count; ++k) {
        const QString path = QStringLiteral("%1/%2%3.jpg").arg(dir, prefix).arg(k, 5, 10, QLatin1Char('0'));
        QFile::remove(path);
        if (::link(QFile::encodeName(sources[k % sources.size()]).constData(), QFile::encodeName(path).constData()))
            return {};
        names << path;
    }
    return names;
}

// Writes the sources (and a cropped one) under dir/.sources; empty when exiftool is missing.
QStringList makeSources(const QString& dir, bool cropped, bool plain = false)
{
    if (QStandardPaths::findExecutable(QStringLiteral("exiftool")).isEmpty()) {
        say(QStringLiteral("exiftool is missing: scripts/install-deps.sh --bench installs it"));
        return {};
    }
    QDir().mkpath(dir + QStringLiteral("/.sources"));
    QStringList sources;
    for (int i = 0; i < Sources + (cropped ? 1 : 0); ++i) {
        sources << QStringLiteral("%1/.sources/kamera%2.jpg").arg(dir).arg(i);
        if (!cameraPhoto(sources.last(), i, i == Sources, plain))
            return {};
    }
    return sources;
}

double djpegMs(const QStringList& files)
{
    const QString djpeg = QStandardPaths::findExecutable(QStringLiteral("djpeg"));
    if (djpeg.isEmpty() || files.isEmpty())
        return -1;
    QElapsedTimer timer;
    timer.start();
    for (const QString& file : files)
        QProcess::execute(djpeg, {QStringLiteral("-scale"), QStringLiteral("1/8"), QStringLiteral("-outfile"),
                                  QStringLiteral("/dev/null"), file});
    return double(timer.nsecsElapsed()) / 1e6 / files.size();
}

struct Run
{
    double msPerPicture = 0;
    double cpuMsPerPicture = 0;
    long peakMb = 0;
};

// Every thumbnail of names through one loader, as the strip asks for them.
Run thumbnails(const QStringList& names, const ThumbnailCache& cache, qreal ratio)
{
    ThumbnailLoader loader(cache);
    loader.setDeviceRatio(ratio);
    int left = int(names.size());
    QEventLoop loop;
    QObject::connect(&loader, &ThumbnailLoader::ready, [&](int index) {
        loader.take(index);
        if (--left == 0)
            loop.quit();
    });
    resetPeak();
    const double cpu = cpuMs();
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < names.size(); ++i)
        loader.request(i, names[i], CardBox);
    loop.exec();
    const double n = double(names.size());
    return {double(timer.nsecsElapsed()) / 1e6 / n, (cpuMs() - cpu) / n, procStatusKb("VmHWM:") / 1024};
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() >= 4 && args[1] == QStringLiteral("--photos")) {
        const bool cropped = args.size() > 4 && args[4] == QStringLiteral("cropped");
        const QStringList sources = makeSources(args[2], cropped, args.size() > 4 && args[4] == "plain");
        if (sources.isEmpty())
            return 1;
        QStringList names = linkNames(args[2], QStringLiteral("foto"), sources.mid(0, Sources), args[3].toInt());
        for (int k = 9; cropped && k < names.size(); k += 10) {
            QFile::remove(names[k]);
            ::link(QFile::encodeName(sources.last()).constData(), QFile::encodeName(names[k]).constData());
        }
        return names.isEmpty() ? 1 : 0;
    }

    QTemporaryDir dir;
    const int count = args.size() > 1 ? args[1].toInt() : 500;
    say(QStringLiteral("cores: %1").arg(QThread::idealThreadCount()));
    const QStringList sources = makeSources(dir.path(), true);
    if (sources.isEmpty())
        return 1;
    const QStringList names = linkNames(dir.path(), QStringLiteral("foto"), sources.mid(0, Sources), count);
    const QStringList cropped =
        linkNames(dir.path(), QStringLiteral("beskuren"), {sources.last()}, qMax(1, count / 10));
    const double reference = djpegMs(names.mid(0, 40));
    say(QStringLiteral("%1 camera photos 4000 x 3000 with a 160 x 120 preview; djpeg -scale 1/8: %2 ms per picture")
            .arg(count)
            .arg(ms(reference)));

    for (qreal ratio : {1.0, 2.0}) {
        const ThumbnailCache cache(dir.filePath(QStringLiteral("cache%1").arg(ratio)));
        const Run cold = thumbnails(names, cache, ratio);
        const Run warm = thumbnails(names, cache, ratio);
        say(QStringLiteral("device ratio %1, cache empty: %2 ms per picture (%3 ms CPU), ratio to djpeg %4 (target "
                           "<= 0.1), peak %5 MB; cache warm: %6 ms (%7 ms CPU)")
                .arg(ratio)
                .arg(ms(cold.msPerPicture), ms(cold.cpuMsPerPicture), ms(cold.msPerPicture / reference))
                .arg(cold.peakMb)
                .arg(ms(warm.msPerPicture), ms(warm.cpuMsPerPicture)));
    }
    const Run decoded = thumbnails(cropped, ThumbnailCache(dir.filePath(QStringLiteral("cache-cropped"))), 1);
    say(QStringLiteral("%1 photos cropped after their preview, decoded, cache empty: %2 ms per picture (%3 ms CPU), "
                       "ratio to djpeg %4")
            .arg(cropped.size())
            .arg(ms(decoded.msPerPicture), ms(decoded.cpuMsPerPicture), ms(decoded.msPerPicture / reference)));
    return 0;
}
