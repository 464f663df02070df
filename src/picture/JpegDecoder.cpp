#include "JpegDecoder.h"

#include "DecodeBudget.h"
#include "FitRule.h"
#include "JpegStructure.h"
#include "platform/AppError.h"

#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE and size_t declared first
#include <jerror.h>
#include <jpeglib.h>

namespace {

// libjpeg reports errors through a callback that must not return. We leave it with longjmp
// back into decodeInto(), which holds nothing that needs destroying; everything with a
// destructor lives in the caller's Job.
struct ErrorManager
{
    jpeg_error_mgr pub; // first, so libjpeg's pointer converts to ours
    std::jmp_buf jump;
};

[[noreturn]] void errorExit(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

// Warnings that mean the pixels are not the file's: data that ends early or cannot be decoded
// is shown grey or as noise, and a hostile file that holds nothing costs a whole walk per scan.
bool damagesPixels(int code)
{
    switch (code) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_MUST_RESYNC:
    case JWRN_NOT_SEQUENTIAL:
    case JWRN_BOGUS_PROGRESSION:
        return true;
    default:
        return false; // stray bytes between markers, an unknown JFIF version: the picture is whole
    }
}

void emitMessage(j_common_ptr cinfo, int level)
{
    if (level < 0 && damagesPixels(cinfo->err->msg_code))
        errorExit(cinfo);
}

void outputNothing(j_common_ptr) {}

// Little-endian machines store Format_RGB32 pixels as B, G, R, A bytes.
constexpr J_COLOR_SPACE rgb32Space = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRA : JCS_EXT_ARGB;
// Room for libjpeg's own row buffers and tables beside the coefficients it is allowed.
constexpr qint64 libjpegSlackBytes = 16LL * 1024 * 1024;

struct Job
{
    const QByteArray* data = nullptr;
    QSize box; // empty: whole picture
    JpegDecoder::Scans scans = JpegDecoder::Scans::All;
    const JpegDecoder::Context* context = nullptr;
    DecodeBudget::Share ownShare;
    qint64 refusedBytes = 0; // set when the decode would need more memory than a picture may have
    QSize pictureSize;
    QImage image;
    jpeg_decompress_struct cinfo{};
    ErrorManager errors{};
};

void failWith(j_decompress_ptr cinfo, int code)
{
    cinfo->err->msg_code = code;
    errorExit(reinterpret_cast<j_common_ptr>(cinfo));
}

// What the decode will hold, from the header alone: the picture, the whole-image coefficient
// buffers of a progressive or multi-scan file (one 128-byte block per 8 x 8 of each component,
// rounded up to whole MCUs) and libjpeg's row buffers.
qint64 decodeBytes(j_decompress_ptr cinfo)
{
    qint64 bytes = qint64(cinfo->output_width) * cinfo->output_height * 4;
    if (cinfo->buffered_image) {
        for (int c = 0; c < cinfo->num_components; ++c) {
            const jpeg_component_info& comp = cinfo->comp_info[c];
            const qint64 wide = (qint64(comp.width_in_blocks) + comp.h_samp_factor - 1) / comp.h_samp_factor;
            const qint64 high = (qint64(comp.height_in_blocks) + comp.v_samp_factor - 1) / comp.v_samp_factor;
            bytes += wide * comp.h_samp_factor * high * comp.v_samp_factor * qint64(sizeof(JBLOCK));
        }
    }
    return bytes + qint64(cinfo->image_width) * cinfo->num_components * 32;
}

// Inverted (Adobe) or plain CMYK scan lines, 4 bytes a pixel, converted in place to RGB32.
void cmykToRgb32(uchar* line, int width, bool inverted)
{
    auto* out = reinterpret_cast<QRgb*>(line);
    for (int x = 0; x < width; ++x) {
        int c = line[4 * x], m = line[4 * x + 1], y = line[4 * x + 2], k = line[4 * x + 3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        out[x] = qRgb(c * k / 255, m * k / 255, y * k / 255);
    }
}

// Returns false after a libjpeg error; job->cinfo.err->msg_code then holds its code.
// Locals here are trivial and never read after the jump, as setjmp requires.
bool decodeInto(Job* job)
{
    j_decompress_ptr cinfo = &job->cinfo;
    cinfo->err = jpeg_std_error(&job->errors.pub);
    job->errors.pub.error_exit = errorExit;
    job->errors.pub.emit_message = emitMessage;
    job->errors.pub.output_message = outputNothing;
    if (setjmp(job->errors.jump)) {
        jpeg_destroy_decompress(cinfo);
        return false;
    }
    jpeg_create_decompress(cinfo);
    cinfo->mem->max_memory_to_use = libjpegSlackBytes;
    // Each scan walks the whole picture: more of them than any encoder writes is a hostile file,
    // refused before anything is decoded.
    if (JpegStructure::scanCount(*job->data, JpegDecoder::maxScans) > JpegDecoder::maxScans)
        failWith(cinfo, JERR_BAD_PROGRESSION);
    jpeg_mem_src(cinfo, reinterpret_cast<const unsigned char*>(job->data->constData()),
                 static_cast<unsigned long>(job->data->size()));
    jpeg_read_header(cinfo, TRUE);

    if (cinfo->image_width == 0 || cinfo->image_height == 0 ||
        qint64(cinfo->image_width) * cinfo->image_height > JpegDecoder::maxPixels)
        failWith(cinfo, JERR_IMAGE_TOO_BIG);
    job->pictureSize = QSize(int(cinfo->image_width), int(cinfo->image_height));

    const bool cmyk = cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK;
    cinfo->out_color_space = cmyk ? JCS_CMYK : rgb32Space;
    if (job->box.isValid()) {
        cinfo->scale_num = static_cast<unsigned>(JpegDecoder::scaleNumerator(job->pictureSize, job->box));
        cinfo->scale_denom = 8;
    }
    cinfo->buffered_image = jpeg_has_multiple_scans(cinfo);
    // At 1/8 each block is its DC coefficient alone: smoothing guesses AC coefficients it never uses.
    if (job->scans == JpegDecoder::Scans::Enough && cinfo->progressive_mode && cinfo->scale_num == 1)
        cinfo->do_block_smoothing = FALSE;

    // The memory is weighed before any of it is allocated; the share waits for other decodes.
    jpeg_calc_output_dimensions(cinfo);
    const qint64 needed = decodeBytes(cinfo);
    DecodeBudget::Share* share = job->context->share;
    const qint64 held = share ? share->bytes() : 0;
    if (held + needed > DecodeBudget::DefaultBytes) {
        job->refusedBytes = held + needed;
        failWith(cinfo, JERR_OUT_OF_MEMORY);
    }
    if (share)
        share->grow(needed);
    else
        job->ownShare = DecodeBudget::shared().take(needed);
    cinfo->mem->max_memory_to_use =
        long(needed - qint64(cinfo->output_width) * cinfo->output_height * 4 + libjpegSlackBytes);
    jpeg_start_decompress(cinfo);

    if (cinfo->buffered_image) {
        // Take in the scans first and build the picture once from the final state, instead of
        // painting each intermediate pass.
        for (;;) {
            const int status = jpeg_consume_input(cinfo);
            if (status == JPEG_REACHED_EOI)
                break;
            if (status == JPEG_SUSPENDED)
                failWith(cinfo, JWRN_JPEG_EOF);
            if (cinfo->input_scan_number > JpegDecoder::maxScans)
                failWith(cinfo, JERR_BAD_PROGRESSION);
        }
        jpeg_start_output(cinfo, cinfo->input_scan_number);
    }

    job->image = QImage(int(cinfo->output_width), int(cinfo->output_height), QImage::Format_RGB32);
    if (job->image.isNull())
        failWith(cinfo, JERR_OUT_OF_MEMORY);
    const bool inverted = cinfo->saw_Adobe_marker;
    const int width = int(cinfo->output_width);
    while (cinfo->output_scanline < cinfo->output_height) {
        JSAMPROW rows[8];
        const JDIMENSION first = cinfo->output_scanline;
        const JDIMENSION count = std::min<JDIMENSION>(8, cinfo->output_height - first);
        for (JDIMENSION i = 0; i < count; ++i)
            rows[i] = job->image.scanLine(int(first + i));
        const JDIMENSION read = jpeg_read_scanlines(cinfo, rows, count);
        if (cmyk) {
            for (JDIMENSION i = 0; i < read; ++i)
                cmykToRgb32(rows[i], width, inverted);
        }
    }

    if (cinfo->buffered_image)
        jpeg_finish_output(cinfo);
    jpeg_finish_decompress(cinfo);
    jpeg_destroy_decompress(cinfo);
    return true;
}

QImage run(Job& job)
{
    if (!decodeInto(&job)) {
        if (job.refusedBytes > 0)
            throw AppError(JpegDecoder::tooLargeText(job.context->fileName, job.refusedBytes));
        throw AppError(JpegDecoder::errorText(job.errors.pub.msg_code));
    }
    return std::move(job.image);
}

} // namespace

QString JpegDecoder::errorText(int libjpegCode)
{
    return QStringLiteral("JPEG error #%1").arg(libjpegCode);
}

QString JpegDecoder::tooLargeText(const QString& fileName, qint64 bytes)
{
    constexpr qint64 mb = 1024 * 1024;
    return QStringLiteral("Bilden är för stor: \"%1\" skulle behöva %2 MB minne för att visas, men en bild får "
                          "högst %3 MB.")
        .arg(fileName)
        .arg((bytes + mb - 1) / mb)
        .arg(DecodeBudget::DefaultBytes / mb);
}

QImage JpegDecoder::decode(const QByteArray& data, const Context& context)
{
    Job job;
    job.data = &data;
    job.context = &context;
    return run(job);
}

int JpegDecoder::scaleNumerator(const QSize& picture, const QSize& box)
{
    const QSize needed = fitRect(picture, box).size();
    for (int num = 1; num < 8; ++num) {
        // libjpeg rounds scaled sizes up.
        const qint64 w = (qint64(picture.width()) * num + 7) / 8;
        const qint64 h = (qint64(picture.height()) * num + 7) / 8;
        if (w >= needed.width() && h >= needed.height())
            return num;
    }
    return 8;
}

QImage JpegDecoder::decodeForBox(const QByteArray& data, const QSize& box, QSize* pictureSize, Scans scans,
                                 const Context& context)
{
    Job job;
    job.data = &data;
    job.box = box.expandedTo(QSize(0, 0));
    job.scans = scans;
    job.context = &context;
    QImage image = run(job);
    if (pictureSize)
        *pictureSize = job.pictureSize;
    return image;
}
