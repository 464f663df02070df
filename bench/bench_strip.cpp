// The thumbnail strip on the offscreen platform, through the real list load: 12-megapixel JPEGs
// (baseline 4:2:0, baseline 4:4:4, progressive, in turn) against `djpeg -scale 1/8` of the same
// files run one after the other; then a click to the preview, and a list of small entries.
// Run on demand: bench_strip [pictures=500] [small entries=10000]; 0 pictures runs the small entries only.

#include "chrome/MainWindowLayout.h"
#include "picturelist/ListOperations.h"
#include "picturelist/PictureList.h"
#include "picturelist/ThumbnailStrip.h"
#include "toolkit/PictureView.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QScrollArea>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <jpeglib.h>
#include <utility>
#include <vector>

namespace {

enum class Kind
{
    Baseline420,
    Baseline444,
    Progressive
};
const char* const KindNames[] = {"baseline 4:2:0", "baseline 4:4:4", "progressive"};

long procStatusKb(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').first().toLong();
    return -1;
}

// Starts a new high-water mark of the resident set at its current size.
void resetPeak()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

// A photo-like JPEG written row by row, so making it costs no memory peak.
bool writeJpeg(const QString& path, int width, int height, Kind kind, int seed)
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
    if (kind == Kind::Baseline444) {
        cinfo.comp_info[0].h_samp_factor = 1;
        cinfo.comp_info[0].v_samp_factor = 1;
    }
    if (kind == Kind::Progressive)
        jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(size_t(width) * 3);
    unsigned noise = 12345u + unsigned(seed);
    while (cinfo.next_scanline < cinfo.image_height) {
        const int y = int(cinfo.next_scanline);
        for (int x = 0; x < width; ++x) {
            noise = noise * 1103515245u + 12345u;
            const int n = int((noise >> 16) & 31);
            row[x * 3] = JSAMPLE((x * 255 / width + n + seed * 40) & 255);
            row[x * 3 + 1] = JSAMPLE((y * 255 / height + n) & 255);
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

// `djpeg -scale 1/8` of each file, one after the other; ms per file, or -1 without djpeg.
double djpegMs(const QStringList& files)
{
    const QString djpeg = QStandardPaths::findExecutable(QStringLiteral("djpeg"));
    if (djpeg.isEmpty() || files.isEmpty())
        return -1;
    QElapsedTimer timer;
    timer.start();
    for (const QString& file : files) {
        QProcess p;
        p.start(djpeg, {QStringLiteral("-scale"), QStringLiteral("1/8"), QStringLiteral("-outfile"),
                        QStringLiteral("/dev/null"), file});
        p.waitForFinished(-1);
    }
    return double(timer.nsecsElapsed()) / 1e6 / files.size();
}

// Names for count entries, links to the few sources in turn: each name is its own file for the
// strip and for the thumbnail cache, without filling the disk.
QStringList linkNames(const QTemporaryDir& dir, const QString& prefix, const QStringList& sources, int count)
{
    QStringList names;
    for (int k = 0; k < count; ++k) {
        const QString path = dir.filePath(QStringLiteral("%1%2.jpg").arg(prefix).arg(k, 5, 10, QLatin1Char('0')));
        QFile::link(sources[k % sources.size()], path);
        names << path;
    }
    return names;
}

// The main window's controls at their designed places, with the list operations and the strip.
struct Window
{
    QWidget form;
    MainWindowWidgets c;
    std::unique_ptr<PictureList> list;
    std::unique_ptr<ThumbnailStrip> strip;
    std::unique_ptr<ListOperations> ops;

    Window()
    {
        c = MainWindowLayout::build(&form);
        list = std::make_unique<PictureList>(c.lb1);
        strip = std::make_unique<ThumbnailStrip>(ThumbnailStrip::Controls{c.form, c.sb1, c.img, c.lbNamn, c.lbPath,
                                                                          c.lbSel, c.btVerkstall, c.pnlBg, c.pnlMark,
                                                                          c.ram, c.abortBild1, c.redigeravaldbild1},
                                                 *list);
        ops = std::make_unique<ListOperations>(ListOperations::Controls{c.btNy, c.btAdd, c.btSpara, c.btOpen, c.sb1,
                                                                        c.img, c.lbLas, c.lbNum, c.progBar,
                                                                        c.abortBild1, c.redigeravaldbild1},
                                               ListOperations::Calls{}, *list, *strip);
        form.show();
    }

    void setList(const QStringList& paths)
    {
        list->clear();
        for (const QString& p : paths)
            list->append(QFile::encodeName(p));
    }
};

// Runs step and measures it: wall time, and the longest the event loop went without running a
// 1 ms timer.
struct Timed
{
    double ms = 0;
    double longestBlockMs = 0;
};

template <typename Step> Timed timed(Step step)
{
    QElapsedTimer sinceTick;
    double longest = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(1);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longest = qMax(longest, double(sinceTick.nsecsElapsed()) / 1e6);
        sinceTick.restart();
    });
    QElapsedTimer timer;
    timer.start();
    sinceTick.start();
    ticker.start();
    step();
    ticker.stop();
    longest = qMax(longest, double(sinceTick.nsecsElapsed()) / 1e6);
    return {double(timer.nsecsElapsed()) / 1e6, longest};
}

// LoadPictureList, measured.
struct Load
{
    double msPerPicture = 0;
    double longestBlockMs = 0;
};

Load load(Window& w)
{
    const int n = w.list->count();
    // The load runs as steps of the event loop; the benchmark's own loop runs until it has ended.
    const Timed t = timed([&] {
        QEventLoop loop;
        w.ops->LoadPictureList([&](bool) { loop.quit(); });
        if (w.ops->isLoading())
            loop.exec();
    });
    return {t.ms / qMax(1, n), t.longestBlockMs};
}

QString ms(double v)
{
    return QString::number(v, 'f', 2);
}

void say(const QString& line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

// Click on the image of card index, until the preview has painted.
double clickMs(Window& w, int index)
{
    auto* image = w.strip->card(index)->findChild<PictureView*>();
    QElapsedTimer timer;
    timer.start();
    w.strip->SelectThumbnail(image);
    w.c.img->repaint();
    return double(timer.nsecsElapsed()) / 1e6;
}

// The 12-megapixel pictures: mixed load cold and warm, clicks to the preview, each kind alone.
bool largePictures(Window& w, const QTemporaryDir& dir, int count)
{
    // Two sources of each kind, so that neighbours in the list are different pictures.
    QStringList sourcesOf[3];
    for (int kind = 0; kind < 3; ++kind) {
        for (int i = 0; i < 2; ++i) {
            const QString path = dir.filePath(QStringLiteral("kalla%1_%2.jpg").arg(kind).arg(i));
            if (!writeJpeg(path, 4000, 3000, Kind(kind), kind * 2 + i))
                return false;
            sourcesOf[kind] << path;
        }
        say(QStringLiteral("%1: 4000 x 3000, %2 KiB")
                .arg(KindNames[kind])
                .arg(QFileInfo(sourcesOf[kind][0]).size() / 1024));
    }
    QStringList mixedSources;
    for (int i = 0; i < 2; ++i)
        for (int kind = 0; kind < 3; ++kind)
            mixedSources << sourcesOf[kind][i];

    {
        const QStringList names = linkNames(dir, QStringLiteral("bild"), mixedSources, count);
        w.setList(names);
        resetPeak();
        const long rssBefore = procStatusKb("VmRSS:");
        const Load cold = load(w);
        const long peak = procStatusKb("VmHWM:");
        const double reference = djpegMs(names);
        say(QStringLiteral("\n%1 pictures, mixed, cache empty: %2 ms per picture; djpeg -scale 1/8: %3 ms; ratio %4 "
                           "(target <= 0.6)")
                .arg(count)
                .arg(ms(cold.msPerPicture), ms(reference), ms(cold.msPerPicture / reference)));
        say(QStringLiteral("  peak memory (VmHWM) %1 MB, resident before the load %2 MB (target < 300)")
                .arg(peak / 1024)
                .arg(rssBefore / 1024));
        say(QStringLiteral("  longest event-loop block %1 ms (target <= 100)").arg(ms(cold.longestBlockMs)));
        const Load warm = load(w);
        say(QStringLiteral("same list again, cache warm: %1 ms per picture (target <= 3); longest block %2 ms")
                .arg(ms(warm.msPerPicture), ms(warm.longestBlockMs)));

        // Click to preview on a baseline and a progressive picture (entries 0 and 2).
        for (int index : {0, 2}) {
            clickMs(w, index + 3); // warm the code path and the file cache
            double click = 0;
            constexpr int Runs = 5;
            for (int r = 0; r < Runs; ++r)
                click += clickMs(w, index) / Runs;
            const double ref = djpegMs(QStringList(Runs, names[index]));
            say(QStringLiteral("click to preview, %1: %2 ms; djpeg -scale 1/8 %3 ms; ratio %4 (target <= 1.3)")
                    .arg(KindNames[index], ms(click), ms(ref), ms(click / ref)));
        }
    }

    // Each kind alone, cache empty (new names).
    const int perKind = qMax(1, count / 3);
    for (int kind = 0; kind < 3; ++kind) {
        const QStringList names = linkNames(dir, QStringLiteral("sort%1_").arg(kind), sourcesOf[kind], perKind);
        w.setList(names);
        const Load cold = load(w);
        const double reference = djpegMs(names);
        say(QStringLiteral("%1 alone, %2 pictures, cache empty: %3 ms per picture; djpeg %4 ms; ratio %5 (target "
                           "<= %6)")
                .arg(KindNames[kind])
                .arg(perKind)
                .arg(ms(cold.msPerPicture), ms(reference), ms(cold.msPerPicture / reference),
                     kind == int(Kind::Progressive) ? QStringLiteral("0.3") : QStringLiteral("0.6")));
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir dir;
    // A private thumbnail cache: a benchmark never fills the user's.
    qputenv("XDG_CACHE_HOME", QFile::encodeName(dir.filePath(QStringLiteral("cache"))));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath(QStringLiteral("config"))));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? QByteArray(argv[1]).toInt() : 500;
    const int smallCount = argc > 2 ? QByteArray(argv[2]).toInt() : 10000;

    say(QStringLiteral("cores: %1, load average: %2").arg(QThread::idealThreadCount()).arg(QString::fromLatin1([] {
        QFile f(QStringLiteral("/proc/loadavg"));
        return f.open(QIODevice::ReadOnly) ? f.readAll().trimmed() : QByteArray("?");
    }())));

    Window w;
    if (count > 0)
        if (count > 0 && !largePictures(w, dir, count))
            return 1;

    // Many small entries: open (cold and warm cache), scroll, mark, close; half the count too,
    // to see that the cost grows with the count and no faster.
    QStringList smallSources;
    for (int i = 0; i < 4; ++i) {
        smallSources << dir.filePath(QStringLiteral("liten%1.jpg").arg(i));
        writeJpeg(smallSources.last(), 320, 240, Kind::Baseline420, i);
    }
    std::pair<int, long> lastRss{0, 0};
    for (int n : {smallCount / 2, smallCount}) {
        const QStringList names = linkNames(dir, QStringLiteral("liten%1_").arg(n), smallSources, n);
        w.setList(names);
        const long rssBefore = procStatusKb("VmRSS:");
        const Load cold = load(w);
        const long rssAfter = procStatusKb("VmRSS:");
        const Load warm = load(w);
        const Timed scroll = timed([&] {
            QScrollBar* bar = w.c.sb1->verticalScrollBar();
            for (int v = 0; v <= bar->maximum(); v += qMax(1, bar->maximum() / 200)) {
                bar->setValue(v);
                w.c.sb1->repaint();
            }
        });
        const Timed mark = timed([&] {
            for (int index : {0, n / 2, n - 1})
                clickMs(w, index);
        });
        // Closed when every card is deleted, which the strip may do in batches, the first card last.
        QPointer<QWidget> first = w.strip->card(0);
        const Timed close = timed([&] {
            w.list->clear();
            w.strip->freeCards();
            while (first)
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        });
        say(QStringLiteral("\n%1 small entries (320 x 240): open %2 s cache empty (%3 ms each, longest block %4 ms); "
                           "%5 ms each cache warm (longest block %6 ms)")
                .arg(n)
                .arg(cold.msPerPicture * n / 1000, 0, 'f', 2)
                .arg(ms(cold.msPerPicture), ms(cold.longestBlockMs), ms(warm.msPerPicture), ms(warm.longestBlockMs)));
        // The first open also pays for caches that stay; the step between the two sizes is what
        // each further entry costs.
        QString step;
        if (lastRss.second > 0)
            step = QStringLiteral(", %1 KiB per entry from %2 to %3 entries")
                       .arg(double(rssAfter - lastRss.second) / (n - lastRss.first), 0, 'f', 1)
                       .arg(lastRss.first)
                       .arg(n);
        lastRss = {n, rssAfter};
        say(QStringLiteral("  memory: %1 MB resident after the open, %2 MB more than before it%3")
                .arg(rssAfter / 1024)
                .arg((rssAfter - rssBefore) / 1024)
                .arg(step));
        say(QStringLiteral("  scroll top to bottom in 200 steps %1 s; mark %2 ms (longest block %3 ms); close %4 s "
                           "(longest block %5 ms)")
                .arg(scroll.ms / 1000, 0, 'f', 2)
                .arg(ms(mark.ms / 3), ms(mark.longestBlockMs))
                .arg(close.ms / 1000, 0, 'f', 2)
                .arg(ms(close.longestBlockMs)));
    }
    return 0;
}
