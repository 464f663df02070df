// Hostile pictures and the decode budget: the time and peak memory of refusing each file the
// hostile picture test holds, of a 100-megapixel camera file, and of a list of the largest
// progressive files the budget allows decoded by more workers than it lets run. Each case runs in
// a child process of its own, whose peak resident memory wait4 reports. Run in a Release build:
// make bench.

#include "../tests/picture/HostileImages.h"
#include "../tests/picture/TestImages.h"
#include "picture/Picture.h"
#include "platform/AppError.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QTemporaryDir>
#include <QThreadPool>

#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Case
{
    const char* name;
    QString file;
    int copies; // decoded at once by that many workers
    QSize box;
};

// In the child: decodes the file (copies times, in parallel) as the thumbnail path does.
int decodeChild(const QString& file, int copies, const QSize& box)
{
    QThreadPool pool;
    pool.setMaxThreadCount(copies);
    QElapsedTimer timer;
    timer.start();
    std::atomic<int> refused{0};
    for (int i = 0; i < copies; ++i) {
        pool.start([&] {
            try {
                Picture::loadFitted(file, box, Picture::Scans::Enough);
            } catch (const AppError& error) {
                if (++refused == 1)
                    std::fprintf(stderr, "      %s\n", qPrintable(error.message().left(110)));
            }
        });
    }
    pool.waitForDone();
    std::printf("%8.0f ms  refused %d of %d", double(timer.nsecsElapsed()) / 1e6, refused.load(), copies);
    std::fflush(stdout);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 5 && QByteArray(argv[1]) == "--decode")
        return decodeChild(QString::fromLocal8Bit(argv[2]), atoi(argv[3]), QSize(atoi(argv[4]), atoi(argv[4])));

    QTemporaryDir dir;
    dir.setAutoRemove(qEnvironmentVariableIsEmpty("BENCH_KEEP")); // BENCH_KEEP=1 keeps the pictures to try by hand
    const auto put = [&](const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        TestImages::write(path, bytes);
        return path;
    };
    using namespace HostileImages;
    std::printf("making the pictures...\n");
    std::fflush(stdout);
    QImage camera(11648, 8736, QImage::Format_RGB32); // 101.8 megapixels, as a 100 MP camera writes
    camera.fill(qRgb(90, 120, 160));
    const QString cameraFile = put("camera.jpg", TestImages::jpeg(camera, TestImages::JpegKind::Baseline420, 92));
    camera = QImage();
    QImage largest(7500, 7500, QImage::Format_RGB32); // progressive 4:2:0: 161 MB of coefficients
    largest.fill(qRgb(128, 140, 150));
    const QString largestFile = put("largest.jpg", TestImages::jpeg(largest, TestImages::JpegKind::Progressive420));
    largest = QImage();

    const QList<Case> cases = {
        {"176 bytes claiming 11585 x 11585, colour", put("a.jpg", emptyProgressive(11585, 11585, 3, 1)), 1, {128, 128}},
        {"grey 11585 x 11585", put("b.jpg", emptyProgressive(11585, 11585, 1, 1)), 1, {128, 128}},
        {"256 empty scans", put("c.jpg", emptyProgressive(11585, 11585, 1, 256)), 1, {128, 128}},
        {"within the budget, empty scans", put("d.jpg", emptyProgressive(6000, 6000, 1, 3)), 1, {128, 128}},
        {"within the budget, empty scans, x4", put("d4.jpg", emptyProgressive(9000, 9000, 1, 3)), 4, {128, 128}},
        {"35-byte GIF, 11000 x 11000 screen", put("e.gif", bigScreenGif(11000, 11000)), 1, {128, 128}},
        {"100 MP camera file, thumbnail", cameraFile, 1, {128, 128}},
        {"100 MP camera file, preview", cameraFile, 1, {377, 377}},
        {"largest progressive allowed, x4 workers", largestFile, 4, {128, 128}},
    };
    for (const Case& c : cases) {
        std::printf("%-42s", c.name);
        std::fflush(stdout);
        const pid_t child = fork();
        if (child == 0) {
            const QByteArray self = QCoreApplication::applicationFilePath().toLocal8Bit();
            const QByteArray file = c.file.toLocal8Bit();
            const QByteArray copies = QByteArray::number(c.copies);
            const QByteArray side = QByteArray::number(c.box.width());
            execl(self.constData(), self.constData(), "--decode", file.constData(), copies.constData(),
                  side.constData(), static_cast<char*>(nullptr));
            _exit(127);
        }
        int status = 0;
        rusage usage = {};
        wait4(child, &status, 0, &usage);
        std::printf("  peak %6.1f MB\n", double(usage.ru_maxrss) / 1024.0);
    }
    return 0;
}
