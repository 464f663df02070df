#pragma once

// Pictures for the tests, the fuzz seeds and the decode benchmark, made on the spot: JPEGs through
// libjpeg's compressor (baseline or progressive, chosen subsampling, grey or CMYK), GIFs by a small
// encoder since Qt writes none, everything else through QImage::save. Header only: the benchmark
// and the seed maker use it without the test support library. Link with JPEG::JPEG.

#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QList>
#include <QPainter>

#include <cstdio>
#include <jpeglib.h>
#include <vector>

namespace TestPictures {

// Left half red, right half blue: enough to see that a picture came out whole and the right way round,
// or where on a screen it was drawn.
inline QImage halves(int width, int height, QColor left = Qt::red, QColor right = Qt::blue)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(right);
    QPainter(&image).fillRect(0, 0, width / 2, height, left);
    return image;
}

// ManyScans: a legal progressive file of 384 scans (every coefficient of every component sent
// in two successive-approximation passes), more than any encoder writes.
enum class JpegKind
{
    Baseline420,
    Baseline444,
    Progressive420,
    Grey,
    AdobeCmyk,
    ManyScans
};

inline QByteArray jpeg(const QImage& source, JpegKind kind, int quality = 90)
{
    const QImage rgb = source.convertToFormat(QImage::Format_RGB888);
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr jerr{};
    cinfo.err = jpeg_std_error(&jerr); // test data is well-formed: libjpeg may exit on misuse
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    jpeg_mem_dest(&cinfo, &out, &outSize);
    cinfo.image_width = JDIMENSION(rgb.width());
    cinfo.image_height = JDIMENSION(rgb.height());
    const bool grey = kind == JpegKind::Grey;
    const bool cmyk = kind == JpegKind::AdobeCmyk;
    cinfo.input_components = grey ? 1 : cmyk ? 4 : 3;
    cinfo.in_color_space = grey ? JCS_GRAYSCALE : cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    if (cmyk)
        jpeg_set_colorspace(&cinfo, JCS_CMYK); // writes the Adobe marker
    if (kind == JpegKind::Baseline444) {
        cinfo.comp_info[0].h_samp_factor = 1;
        cinfo.comp_info[0].v_samp_factor = 1;
    }
    if (kind == JpegKind::Progressive420)
        jpeg_simple_progression(&cinfo);
    std::vector<jpeg_scan_info> scans;
    if (kind == JpegKind::ManyScans) {
        for (int c = 0; c < 3; ++c) {
            for (int pass = 0; pass < 2; ++pass) {
                for (int k = 0; k < 64; ++k)
                    scans.push_back({1, {c, 0, 0, 0}, k, k, pass, 1 - pass});
            }
        }
        cinfo.scan_info = scans.data();
        cinfo.num_scans = int(scans.size());
    }
    jpeg_start_compress(&cinfo, TRUE);
    QByteArray line(rgb.width() * 4, '\0');
    while (cinfo.next_scanline < cinfo.image_height) {
        const uchar* src = rgb.constScanLine(int(cinfo.next_scanline));
        auto* dst = reinterpret_cast<uchar*>(line.data());
        for (int x = 0; x < rgb.width(); ++x) {
            const int r = src[3 * x], g = src[3 * x + 1], b = src[3 * x + 2];
            if (grey) {
                dst[x] = uchar(qGray(r, g, b));
            } else if (cmyk) {
                // Adobe's inverted CMYK, as Photoshop writes it.
                const int k = 255 - std::max({r, g, b});
                const int div = 255 - k;
                const auto ink = [&](int c) { return div == 0 ? 0 : (255 * (div - c) / div); };
                dst[4 * x] = uchar(255 - ink(r));
                dst[4 * x + 1] = uchar(255 - ink(g));
                dst[4 * x + 2] = uchar(255 - ink(b));
                dst[4 * x + 3] = uchar(255 - k);
            } else {
                dst[3 * x] = uchar(r);
                dst[3 * x + 1] = uchar(g);
                dst[3 * x + 2] = uchar(b);
            }
        }
        JSAMPROW row = dst;
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    QByteArray bytes(reinterpret_cast<const char*>(out), qsizetype(outSize));
    std::free(out);
    return bytes;
}

inline QByteArray encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// A GIF whose frames are each one colour of the palette given. The LZW stream sends every
// pixel as a literal and a clear code before the code table would need 10-bit codes.
inline QByteArray gif(int width, int height, const QList<QRgb>& frameColours)
{
    QByteArray out("GIF89a");
    const auto word = [&](int v) {
        out.append(char(v & 0xFF));
        out.append(char((v >> 8) & 0xFF));
    };
    word(width);
    word(height);
    out.append(char(0xF7)); // global colour table of 256 entries
    out.append('\0');
    out.append('\0');
    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < frameColours.size() ? frameColours[i] : qRgb(0, 0, 0);
        out.append(char(qRed(c)));
        out.append(char(qGreen(c)));
        out.append(char(qBlue(c)));
    }
    for (int frame = 0; frame < frameColours.size(); ++frame) {
        out.append(QByteArray::fromHex("21f904000a000000")); // graphic control: 0.1 s delay
        out.append(',');
        word(0);
        word(0);
        word(width);
        word(height);
        out.append('\0');
        out.append(char(8)); // minimum code size
        QByteArray lzw;
        quint32 bits = 0;
        int nbits = 0;
        const auto code = [&](int c) {
            bits |= quint32(c) << nbits;
            nbits += 9;
            while (nbits >= 8) {
                lzw.append(char(bits & 0xFF));
                bits >>= 8;
                nbits -= 8;
            }
        };
        code(256);
        for (int i = 0; i < width * height; ++i) {
            if (i > 0 && i % 250 == 0)
                code(256);
            code(frame);
        }
        code(257);
        if (nbits > 0)
            lzw.append(char(bits & 0xFF));
        for (qsizetype pos = 0; pos < lzw.size(); pos += 255) {
            const QByteArray block = lzw.mid(pos, 255);
            out.append(char(block.size()));
            out.append(block);
        }
        out.append('\0');
    }
    out.append(';');
    return out;
}

inline bool write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Writes bytes to path, making its folder; a file that cannot be written ends the run. Returns path.
inline QString put(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    if (!write(path, bytes))
        qFatal("cannot write the test file %s", qPrintable(path));
    return path;
}

// A picture file of one colour and the given size at path, of the kind its extension names
// (.jpg and .jpeg through libjpeg, .gif as one frame, anything else through Qt); returns path.
// A picture that cannot be written ends the run.
inline QString writePicture(const QString& path, QSize size = QSize(160, 120), QColor colour = QColor(40, 120, 200))
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"))
        return put(path, jpeg(image, JpegKind::Baseline420));
    if (suffix == QLatin1String("gif"))
        return put(path, gif(size.width(), size.height(), {colour.rgb()}));
    QDir().mkpath(QFileInfo(path).path());
    if (!image.save(path))
        qFatal("cannot write the test picture %s", qPrintable(path));
    return path;
}

// Colours of decoded pictures are compared loosely: JPEG is lossy.
inline bool near(QRgb a, QRgb b, int tolerance = 24)
{
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

} // namespace TestPictures
