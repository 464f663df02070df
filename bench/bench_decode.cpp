// Decode benchmark: full pictures and thumbnails of 12-megapixel JPEGs, against libjpeg's own
// 1/8 scaled decode (what `djpeg -scale 1/8` costs); then the real program on the offscreen
// platform: how long the event loop is held up by a click on a card and by a change tick with
// 24-megapixel progressive pictures, and how soon a click shows a 12-megapixel progressive
// picture in the preview. Run in a Release build: make bench. `bench_decode views` runs only
// the program's part.

#include "../tests/support/TestPictures.h"
#include "BenchProcess.h"
#include "app/MainWindow.h"
#include "app/ProgramEntry.h"
#include "core/Settings.h"
#include "picture/Picture.h"
#include "picturelist/ListFile.h"
#include "platform/SettingsStore.h"
#include "toolkit/BevelPanel.h"
#include "toolkit/PictureView.h"
#include "toolkit/SpeedButton.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QMouseEvent>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QVector>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <jpeglib.h>
#include <malloc.h>
#include <random>
#include <vector>

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

// A JPEG written row by row, so making a 24-megapixel one costs no memory peak.
bool writeProgressive(const QString& path, int width, int height, int seed)
{
    FILE* out = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!out)
        return false;
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, out);
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 90, TRUE);
    jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(size_t(width) * 3);
    std::mt19937 random{unsigned(seed)};
    std::uniform_int_distribution<int> noise(-12, 12);
    while (cinfo.next_scanline < cinfo.image_height) {
        const int y = int(cinfo.next_scanline);
        for (int x = 0; x < width; ++x) {
            const double v = std::sin(x * 0.013 + seed) * std::cos(y * 0.017) + std::sin((x + y) * 0.05) * 0.3;
            const int base = int(128 + 90 * v);
            row[size_t(x) * 3] = JSAMPLE(qBound(0, base + noise(random), 255));
            row[size_t(x) * 3 + 1] = JSAMPLE(qBound(0, 255 - base + noise(random), 255));
            row[size_t(x) * 3 + 2] = JSAMPLE(qBound(0, x * 255 / width + noise(random), 255));
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::fclose(out);
    return true;
}

// `djpeg -scale 1/8` of the file, ms per run, or -1 without djpeg.
double djpegMs(const QString& file, int runs)
{
    const QString djpeg = QStandardPaths::findExecutable(QStringLiteral("djpeg"));
    if (djpeg.isEmpty())
        return -1;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < runs; ++i) {
        QProcess p;
        p.start(djpeg, {QStringLiteral("-scale"), QStringLiteral("1/8"), QStringLiteral("-outfile"),
                        QStringLiteral("/dev/null"), file});
        p.waitForFinished(-1);
    }
    return double(timer.nsecsElapsed()) / 1e6 / runs;
}

// Runs the event loop until done() holds; the longest it went without running a 1 ms timer, and
// the time it took.
struct Waited
{
    double ms = 0;
    double longestBlockMs = 0;
    bool ok = false;
};

Waited runUntil(const std::function<void()>& start, const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer sinceTick, timer;
    double longest = 0;
    QEventLoop loop;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(1);
    Waited result;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longest = qMax(longest, double(sinceTick.nsecsElapsed()) / 1e6);
        sinceTick.restart();
        if (done()) {
            result.ms = double(timer.nsecsElapsed()) / 1e6;
            result.ok = true;
            loop.quit();
        } else if (timer.elapsed() > timeoutMs) {
            loop.quit();
        }
    });
    timer.start();
    sinceTick.start();
    ticker.start();
    // The click or the tick comes from the event loop, as the user's would.
    QTimer::singleShot(0, start);
    loop.exec();
    result.longestBlockMs = longest;
    return result;
}

void click(QWidget* target)
{
    const QPointF at(target->width() / 2.0, target->height() / 2.0);
    const QPointF global = target->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
}

QWidget* cardImage(QWidget* window, int index)
{
    auto* frame = window->findChild<BevelPanel*>(QStringLiteral("PnlRam%1").arg(index));
    return frame ? frame->findChild<PictureView*>() : nullptr;
}

QWidget* visiblePopup()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == u"PopupForm" && w->isVisible())
            return w;
    return nullptr;
}

// The program itself: the list [24 MP, 24 MP, 12 MP], all progressive.
int views(const QTemporaryDir& dir)
{
    const QString big1 = dir.filePath(QStringLiteral("stor1.jpg")), big2 = dir.filePath(QStringLiteral("stor2.jpg")),
                  twelve = dir.filePath(QStringLiteral("tolv.jpg"));
    std::printf("Generating 6000 x 4000 and 4000 x 3000 progressive JPEGs...\n");
    if (!writeProgressive(big1, 6000, 4000, 1) || !writeProgressive(big2, 6000, 4000, 2) ||
        !writeProgressive(twelve, 4000, 3000, 3))
        return 1;
    const QString list = dir.filePath(QStringLiteral("bilder.lst"));
    ListFile::write(list, {QFile::encodeName(big1), QFile::encodeName(big2), QFile::encodeName(twelve)});
    {
        SettingsStore store;
        store.writeString(Setting::Senaste, list);
        store.writeInteger(Setting::Vald, 0);
        store.writeInteger(Setting::Mellan, 1);
        store.writeInteger(Setting::Typ, 0); // "Minut": the shortest interval
    }

    ProgramEntry entry;
    bool ended = false;
    QObject::connect(&entry, &ProgramEntry::startupEnded, [&] { ended = true; });
    if (!entry.start() || !runUntil([] {}, [&] { return ended; }, 120000).ok)
        return 1;
    MainWindow* window = entry.mainWindow();
    auto* img = window->findChild<PictureView*>(QStringLiteral("Img"));
    // Every thumbnail is made before anything is measured.
    if (!runUntil([] {}, [&] { return cardImage(window, 2) && !img->isLoading(); }, 120000).ok)
        return 1;

    std::printf("\nThe program, offscreen, %d cores\n", QThread::idealThreadCount());
    double worstClick = 0;
    for (int run = 0; run < 4; ++run) {
        QWidget* card = cardImage(window, run % 2);
        bool shown = false;
        const auto c = QObject::connect(img, &PictureView::loaded, [&] { shown = true; });
        const Waited w = runUntil([card] { click(card); }, [&] { return shown; }, 30000);
        QObject::disconnect(c);
        worstClick = qMax(worstClick, w.longestBlockMs);
        std::printf("  click on a 24 MP card: preview shown after %7.1f ms, longest event-loop block %5.1f ms\n", w.ms,
                    w.longestBlockMs);
    }

    constexpr int Runs = 5;
    double clickToPreview = 0;
    for (int run = 0; run <= Runs; ++run) {
        // The other pictures' previews are decoded between, so each click decodes afresh.
        bool shown = false;
        const auto c = QObject::connect(img, &PictureView::loaded, [&] { shown = true; });
        const Waited w = runUntil([&] { click(cardImage(window, 2)); }, [&] { return shown; }, 30000);
        img->repaint();
        QObject::disconnect(c);
        if (run > 0) // the first warms the file cache
            clickToPreview += w.ms / Runs;
        shown = false;
        const auto d = QObject::connect(img, &PictureView::loaded, [&] { shown = true; });
        runUntil([&] { click(cardImage(window, 0)); }, [&] { return shown; }, 30000);
        QObject::disconnect(d);
    }
    QElapsedTimer workerTimer;
    workerTimer.start();
    for (int run = 0; run < Runs; ++run)
        (void)Picture::loadFitted(twelve, img->size(), Picture::Scans::All, img->devicePixelRatioF());
    const double decodeAlone = double(workerTimer.nsecsElapsed()) / 1e6 / Runs;
    const double reference = djpegMs(twelve, Runs);
    std::printf("  click to preview shown, 12 MP progressive: %.1f ms; the decode alone %.1f ms; djpeg -scale 1/8 "
                "%.1f ms; ratio %.2f (target <= 0.7)\n",
                clickToPreview, decodeAlone, reference, clickToPreview / reference);

    // Start: the marked 24 MP picture is applied at once; a minute later the tick applies the next.
    auto* startStop = window->findChild<SpeedButton*>(QStringLiteral("BtStartStop"));
    const Waited started =
        runUntil([startStop] { startStop->click(); }, [] { return visiblePopup() != nullptr; }, 30000);
    std::printf("  start (applies a 24 MP picture): popup shown after %.1f ms, longest block %.1f ms\n", started.ms,
                started.longestBlockMs);
    // TimerStart's period is the whole change interval here (1 "Minut"): its timeout is the tick.
    // The ticks go to entries 1, 2 and 0: 24, 12 and 24 MP.
    auto* timerStart = window->findChild<QTimer*>(QStringLiteral("TimerStart"));
    bool ticksOk = true;
    for (const char* size : {"24", "12", "24"}) {
        const qint64 before = QApplication::windowIcon().cacheKey();
        const Waited tick = runUntil([timerStart] { QMetaObject::invokeMethod(timerStart, "timeout"); },
                                     [&] { return QApplication::windowIcon().cacheKey() != before; }, 30000);
        ticksOk = ticksOk && tick.ok;
        std::printf("  change tick to a %s MP picture: icon made after %.1f ms%s; longest event-loop block %.1f ms "
                    "(target <= 30)\n",
                    size, tick.ms, tick.ok ? "" : " (NOT MADE)", tick.longestBlockMs);
    }
    std::printf("  longest block of a click on a 24 MP card %.1f ms (target <= 30)\n", worstClick);
    window->close();
    return ticksOk && started.ok ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4) {
        QCoreApplication app(argc, argv);
        return runMeasurement(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]), std::atoi(argv[3]));
    }

    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    // The program's part runs in a home of its own whose desktop only logs each change.
    qputenv("XDG_CACHE_HOME", QFile::encodeName(dir.filePath(QStringLiteral("cache"))));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath(QStringLiteral("config"))));
    qputenv("TAVELVAXLAREN_DESKTOP", "log:" + QFile::encodeName(dir.filePath(QStringLiteral("desktop.log"))));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc == 2 && QByteArray(argv[1]) == "views")
        return views(dir);
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
    return views(dir);
}
