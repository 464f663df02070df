// The thumbnail strip on the offscreen platform, through the real list load: 12-megapixel JPEGs
// (baseline 4:2:0, baseline 4:4:4, progressive, in turn) against `djpeg -scale 1/8` of the same
// files run one after the other; then a click to the preview, and a list of small entries.
// Run on demand: bench_strip [pictures=500] [small entries=100000]; 0 pictures runs the small entries only.

#include "BenchProcess.h"
#include "chrome/MainWindowLayout.h"
#include "picture/Picture.h"
#include "picture/ThumbnailCache.h"
#include "picturelist/ListOperations.h"
#include "picturelist/PictureList.h"
#include "picturelist/ThumbnailStrip.h"
#include "platform/SettingsStore.h"
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

#include <atomic>
#include <cstdio>
#include <jpeglib.h>
#include <thread>
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
                                                                          c.lbSel, c.pnlBg, c.pnlMark, c.ram,
                                                                          c.abortBild1, c.redigeravaldbild1},
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

// allThumbnails: until the strip has made the thumbnails of the cards away from the view too.
Load load(Window& w, bool allThumbnails = false)
{
    const int n = w.list->count();
    // The load runs as steps of the event loop; the benchmark's own loop runs until it has ended.
    const Timed t = timed([&] {
        QEventLoop loop;
        w.ops->LoadPictureList([&](bool) { loop.quit(); });
        if (w.ops->isLoading())
            loop.exec();
        while (allThumbnails && !w.strip->thumbnailsDone())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
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
    while (w.c.img->isLoading()) // decoded on the workers
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
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
        const Load cold = load(w, true);
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
        const Load warm = load(w, true);
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
        const Load cold = load(w, true);
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

// The thumbnail cache filled for every name as the program fills it, without decoding each.
void warmCache(const QStringList& names, const QStringList& sources)
{
    const ThumbnailCache cache;
    std::vector<Picture::Reduced> reduced;
    for (const QString& source : sources) {
        reduced.push_back(Picture::loadReduced(source, QSize(128, 128)));
        reduced.back().image = Picture::fitted(reduced.back(), QSize(128, 128));
    }
    std::atomic<int> next{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < QThread::idealThreadCount(); ++t)
        threads.emplace_back([&] {
            for (int k = next++; k < names.size(); k = next++) {
                const Picture::Reduced& r = reduced[size_t(k % sources.size())];
                cache.store(names[k], ThumbnailCache::modificationTime(names[k]), r.image, r.pictureSize,
                            ThumbnailCache::Flavour::Normal);
            }
        });
    for (std::thread& t : threads)
        t.join();
}

void manyEntries(Window& w, const QTemporaryDir& dir, int n)
{
    QStringList sources;
    for (int i = 0; i < 4; ++i) {
        sources << dir.filePath(QStringLiteral("liten%1.jpg").arg(i));
        writeJpeg(sources.last(), 320, 240, Kind::Baseline420, i);
    }
    const QStringList names = linkNames(dir, QStringLiteral("liten_"), sources, n);
    QElapsedTimer warming;
    warming.start();
    warmCache(names, sources);
    say(QStringLiteral("\n%1 small entries (320 x 240), cache warmed in %2 s").arg(n).arg(warming.elapsed() / 1000.0));

    w.setList({});
    w.strip->freeCards();
    const long rssBefore = procStatusKb("VmRSS:");
    w.setList(names);
    const Load open = load(w);
    QElapsedTimer background;
    background.start();
    const long rssAfter = procStatusKb("VmRSS:");
    say(QStringLiteral("  open %1 s (target <= 3), longest block %2 ms (target <= 50)")
            .arg(open.msPerPicture * n / 1000, 0, 'f', 2)
            .arg(ms(open.longestBlockMs)));
    say(QStringLiteral("  resident after the open %1 MB (target <= 300), %2 MB more than before it, %3 KiB per entry")
            .arg(rssAfter / 1024)
            .arg((rssAfter - rssBefore) / 1024)
            .arg(double(rssAfter - rssBefore) / n, 0, 'f', 2));

    // Each scroll step jumps a whole view or more, the worst case for the cards' reuse; painted each time.
    QScrollBar* bar = w.c.sb1->verticalScrollBar();
    constexpr int Steps = 500;
    const Timed scroll = timed([&] {
        for (int s = 0; s <= Steps; ++s) {
            bar->setValue(int(qint64(bar->maximum()) * s / Steps));
            w.c.sb1->viewport()->repaint();
            QCoreApplication::processEvents();
        }
    });
    // The same, a wheel step at a time, over the first thousand rows.
    const Timed wheel = timed([&] {
        bar->setValue(0);
        for (int v = 0; v < 118 * 1000; v += 40) {
            bar->setValue(v);
            w.c.sb1->viewport()->repaint();
            QCoreApplication::processEvents();
        }
    });
    say(QStringLiteral("  scroll top to bottom in %1 jumps: %2 ms each, longest block %3 ms; 40-pixel steps over "
                       "1000 rows: %4 ms each, longest block %5 ms (target <= 50)")
            .arg(Steps)
            .arg(ms(scroll.ms / (Steps + 1)), ms(scroll.longestBlockMs), ms(wheel.ms / (118 * 1000 / 40)),
                 ms(wheel.longestBlockMs)));

    // Marking: a click on a card in view, and confirming entries far apart (scrolled to, stored).
    double longestMark = 0;
    double markMs = 0;
    for (int index : {0, n / 2, n - 1}) {
        const Timed t = timed([&] {
            w.list->setMarkedIndex(index);
            w.strip->LB1Click();
            w.c.sb1->viewport()->repaint();
        });
        longestMark = qMax(longestMark, t.longestBlockMs);
        markMs += t.ms / 3;
    }
    double longestScroll = 0;
    for (int index : {0, n / 2, n - 1})
        longestScroll = qMax(longestScroll, timed([&] {
                                                w.strip->scrollToCard(index);
                                                w.c.sb1->viewport()->repaint();
                                            }).longestBlockMs);
    // What LB1Click spends in the settings store, which is no part of the strip.
    const Timed store = timed([] { SettingsStore().writeInteger(Setting::Vald, 1); });
    say(QStringLiteral("  of which: scroll to the card, longest block %1 ms; storing \"Vald\" %2 ms")
            .arg(ms(longestScroll), ms(store.ms)));
    const Timed click = timed([&] { clickMs(w, n - 1); });
    say(QStringLiteral("  confirm and scroll to entries 0, n/2, n-1: %1 ms each, longest block %2 ms; click %3 ms "
                       "(target <= 50)")
            .arg(ms(markMs), ms(longestMark), ms(click.longestBlockMs)));

    // Colours and thickness of every card, as the colour options set them.
    const Timed frames = timed([&] {
        w.strip->paintFrames(Qt::green);
        w.strip->setFrameThickness(5);
        w.c.sb1->viewport()->repaint();
    });
    say(QStringLiteral("  recolour and new thickness of every frame %1 ms").arg(ms(frames.ms)));

    const Timed rest = timed([&] {
        while (!w.strip->thumbnailsDone())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    });
    say(QStringLiteral("  every thumbnail away from the view made %1 s after the open (longest block %2 ms); "
                       "resident then %3 MB")
            .arg(background.elapsed() / 1000.0)
            .arg(ms(rest.longestBlockMs))
            .arg(procStatusKb("VmRSS:") / 1024));

    // Replacing the list: a short one, then the long one again.
    const QStringList few = names.mid(0, 100);
    w.setList(few);
    const Load shortOne = load(w);
    say(QStringLiteral("  replaced by a list of 100: %1 ms, longest block %2 ms")
            .arg(ms(shortOne.msPerPicture * 100), ms(shortOne.longestBlockMs)));
    w.setList(names);
    const Load again = load(w);
    const Timed empty = timed([&] {
        w.list->clear();
        w.strip->freeCards();
    });
    say(QStringLiteral("  opened again %1 s, longest block %2 ms; emptied %3 ms")
            .arg(again.msPerPicture * n / 1000, 0, 'f', 2)
            .arg(ms(again.longestBlockMs), ms(empty.ms)));
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
    const int smallCount = argc > 2 ? QByteArray(argv[2]).toInt() : 100000;

    say(QStringLiteral("cores: %1, load average: %2").arg(QThread::idealThreadCount()).arg(QString::fromLatin1([] {
        QFile f(QStringLiteral("/proc/loadavg"));
        return f.open(QIODevice::ReadOnly) ? f.readAll().trimmed() : QByteArray("?");
    }())));

    Window w;
    if (count > 0)
        if (count > 0 && !largePictures(w, dir, count))
            return 1;

    // Many small entries with the thumbnail cache warm: open, scroll, mark, replace the list.
    if (smallCount > 0)
        manyEntries(w, dir, smallCount);
    return 0;
}
