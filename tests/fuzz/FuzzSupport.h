#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QString>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <optional>

// Helpers shared by the fuzz targets.

// A broken property is a crash, so libFuzzer keeps the input.
#define FUZZ_CHECK(condition, ...)                                                                                     \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            std::fprintf(stderr, "property failed: %s\n", #condition);                                                 \
            std::fprintf(stderr, "" __VA_ARGS__);                                                                      \
            std::abort();                                                                                              \
        }                                                                                                              \
    } while (false)

// The control character a backslash and this letter stand for in the escapes the desktop entry
// strings and GVariant text share (\n \t \r).
inline std::optional<QChar> escapedControl(QChar letter)
{
    switch (letter.unicode()) {
    case 'n':
        return QChar(u'\n');
    case 't':
        return QChar(u'\t');
    case 'r':
        return QChar(u'\r');
    default:
        return std::nullopt;
    }
}

inline QByteArray bytesOf(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// A folder of this process for files the target writes, in memory when possible; removed at exit.
// Made anew under a name of its own: a folder left by a run that crashed, or by another user,
// must not be taken over.
inline const QString& scratchFolder()
{
    static const QTemporaryDir dir(
        (QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath()) +
        QStringLiteral("/tavlix-fuzz-XXXXXX"));
    static const QString folder = [] {
        if (!dir.isValid())
            std::abort();
        return dir.path();
    }();
    return folder;
}

inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        std::abort();
}

inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        std::abort();
    return file.readAll();
}

// Pictures claiming more pixels than this are passed over: decoding them would only make the run
// slow, and the decoders' limits for huge pictures are covered by the unit tests.
constexpr qint64 MaxFuzzPixels = 1 << 16;

// True when some start-of-frame marker in JPEG data claims more than MaxFuzzPixels.
inline bool claimsHugePicture(const uint8_t* data, size_t size)
{
    for (size_t i = 0; i + 9 < size; ++i) {
        const uint8_t m = data[i + 1];
        if (data[i] == 0xFF && m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC) {
            const qint64 height = data[i + 5] << 8 | data[i + 6];
            const qint64 width = data[i + 7] << 8 | data[i + 8];
            if (width * height > MaxFuzzPixels)
                return true;
        }
    }
    return false;
}

// Qt's image plugins and text layout want an application object; no window is ever shown.
inline void startGuiApplication()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(argc, argv);
}
