#include "output/pixelencoders.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>
#include <png.h>

namespace korvimo {

namespace {

// The encoders read 4-byte pixels in the order blue, green, red, unused.
QImage asBgrx(const QImage& image)
{
    switch (image.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        return image;
    default:
        return image.convertToFormat(QImage::Format_RGB32);
    }
}

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

void putLe16(QByteArray& out, int offset, quint16 v)
{
    out[offset] = static_cast<char>(v & 0xFF);
    out[offset + 1] = static_cast<char>(v >> 8);
}

void putLe32(QByteArray& out, int offset, quint32 v)
{
    for (int k = 0; k < 4; ++k)
        out[offset + k] = static_cast<char>((v >> (8 * k)) & 0xFF);
}

// ---- JPEG ----------------------------------------------------------------

struct JpegError {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void jpegErrorExit(j_common_ptr cinfo)
{
    auto* err = reinterpret_cast<JpegError*>(cinfo->err);
    err->mgr.format_message(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

void jpegSilence(j_common_ptr, int) {}

// libjpeg reports through longjmp, so everything that needs a destructor
// lives outside the function that calls setjmp.
bool jpegCompress(const QImage& img, unsigned char** buffer, unsigned long* size,
                  JpegError& err)
{
    jpeg_compress_struct c;
    std::memset(&c, 0, sizeof c);
    c.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = jpegErrorExit;
    err.mgr.emit_message = jpegSilence;
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&c);
        return false;
    }
    jpeg_create_compress(&c);
    jpeg_mem_dest(&c, buffer, size);
    c.image_width = static_cast<JDIMENSION>(img.width());
    c.image_height = static_cast<JDIMENSION>(img.height());
    c.input_components = 4;
    c.in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 100, TRUE); // TRUE: baseline tables (entries ≤ 255)
    for (int k = 0; k < c.num_components; ++k) {
        c.comp_info[k].h_samp_factor = 1;
        c.comp_info[k].v_samp_factor = 1;
    }
    c.density_unit = 1; // dots per inch
    c.X_density = 96;
    c.Y_density = 96;
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(img.constScanLine(static_cast<int>(c.next_scanline)));
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    return true;
}

// ---- PNG -----------------------------------------------------------------

struct PngState {
    QByteArray* out;
    char message[256];
};

void pngWrite(png_structp png, png_bytep data, png_size_t length)
{
    auto* state = static_cast<PngState*>(png_get_io_ptr(png));
    state->out->append(reinterpret_cast<const char*>(data), static_cast<qsizetype>(length));
}

void pngFlush(png_structp) {}

[[noreturn]] void pngError(png_structp png, png_const_charp message)
{
    auto* state = static_cast<PngState*>(png_get_error_ptr(png));
    std::snprintf(state->message, sizeof state->message, "%s", message);
    png_longjmp(png, 1);
}

void pngWarning(png_structp, png_const_charp) {}

bool pngCompress(const QImage& img, const QByteArray& textChunk, PngState& state)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &state, pngError, pngWarning);
    if (!png) {
        std::snprintf(state.message, sizeof state.message, "out of memory");
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        std::snprintf(state.message, sizeof state.message, "out of memory");
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &state, pngWrite, pngFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(img.width()),
                 static_cast<png_uint_32>(img.height()), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_pHYs(png, info, kPixelsPerMetre, kPixelsPerMetre, PNG_RESOLUTION_METER);
    png_write_info(png, info);
    if (!textChunk.isEmpty())
        png_write_chunk(png, reinterpret_cast<png_const_bytep>("tEXt"),
                        reinterpret_cast<png_const_bytep>(textChunk.constData()),
                        static_cast<size_t>(textChunk.size()));
    // The rows are blue, green, red, unused: swap to RGB and drop the filler.
    png_set_bgr(png);
    png_set_filler(png, 0, PNG_FILLER_AFTER);
    for (int y = 0; y < img.height(); ++y)
        png_write_row(png, img.constScanLine(y));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

QByteArray encodeBmp(const QImage& image, QString* error)
{
    if (image.isNull()) {
        setError(error, QStringLiteral("empty picture"));
        return {};
    }
    const QImage img = asBgrx(image);
    const qint64 w = img.width();
    const qint64 h = img.height();
    const qint64 rowBytes = (w * 3 + 3) & ~qint64(3);
    const qint64 imageBytes = rowBytes * h;
    constexpr int headerBytes = 14 + 40;
    if (imageBytes + headerBytes > 0xFFFFFFFFLL) {
        setError(error, QStringLiteral("picture too large for a BMP file"));
        return {};
    }
    QByteArray out(static_cast<qsizetype>(headerBytes + imageBytes), '\0');
    if (out.size() != headerBytes + imageBytes) {
        setError(error, QStringLiteral("out of memory"));
        return {};
    }
    out[0] = 'B';
    out[1] = 'M';
    putLe32(out, 2, static_cast<quint32>(headerBytes + imageBytes));
    putLe32(out, 10, headerBytes);
    putLe32(out, 14, 40);
    putLe32(out, 18, static_cast<quint32>(w));
    putLe32(out, 22, static_cast<quint32>(h)); // positive: bottom-up rows
    putLe16(out, 26, 1);
    putLe16(out, 28, 24);
    putLe32(out, 30, 0); // BI_RGB
    putLe32(out, 34, static_cast<quint32>(imageBytes));
    putLe32(out, 38, kPixelsPerMetre);
    putLe32(out, 42, kPixelsPerMetre);
    auto* base = reinterpret_cast<uchar*>(out.data()) + headerBytes;
    for (qint64 y = 0; y < h; ++y) {
        const uchar* src = img.constScanLine(static_cast<int>(h - 1 - y));
        uchar* dst = base + y * rowBytes;
        for (qint64 x = 0; x < w; ++x) {
            dst[3 * x] = src[4 * x];
            dst[3 * x + 1] = src[4 * x + 1];
            dst[3 * x + 2] = src[4 * x + 2];
        }
    }
    return out;
}

QByteArray encodeJpeg(const QImage& image, QString* error)
{
    if (image.isNull()) {
        setError(error, QStringLiteral("empty picture"));
        return {};
    }
    if (image.width() > JPEG_MAX_DIMENSION || image.height() > JPEG_MAX_DIMENSION) {
        setError(error, QStringLiteral("picture too large for a JPEG file (at most %1 pixels a side)")
                            .arg(JPEG_MAX_DIMENSION));
        return {};
    }
    const QImage img = asBgrx(image);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    JpegError err;
    err.message[0] = '\0';
    const bool ok = jpegCompress(img, &buffer, &size, err);
    QByteArray out;
    if (ok)
        out = QByteArray(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(size));
    else
        setError(error, QString::fromLocal8Bit(err.message));
    std::free(buffer);
    return out;
}

QByteArray encodePng(const QImage& image, const QByteArray& keyword, const QByteArray& text,
                     QString* error)
{
    if (image.isNull()) {
        setError(error, QStringLiteral("empty picture"));
        return {};
    }
    const QImage img = asBgrx(image);
    QByteArray chunk;
    if (!keyword.isEmpty()) {
        chunk = keyword;
        chunk.append('\0');
        chunk.append(text);
    }
    QByteArray out;
    PngState state{&out, {0}};
    if (!pngCompress(img, chunk, state)) {
        setError(error, QString::fromLocal8Bit(state.message));
        return {};
    }
    return out;
}

} // namespace korvimo
