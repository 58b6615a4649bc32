#include "output/pixelencoders.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

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

// libjpeg's destination: a buffer that is handed to the sink when full.
struct JpegDestination {
    jpeg_destination_mgr mgr;
    ByteSink* sink;
    JpegError* err;
    bool sinkFailed;
    JOCTET buffer[1 << 16];
};

void jpegInitDestination(j_compress_ptr c)
{
    auto* d = reinterpret_cast<JpegDestination*>(c->dest);
    d->mgr.next_output_byte = d->buffer;
    d->mgr.free_in_buffer = sizeof d->buffer;
}

// The sink says why itself; nothing with a destructor may be alive here.
[[noreturn]] void jpegSinkFailed(JpegDestination* d)
{
    d->sinkFailed = true;
    std::longjmp(d->err->jump, 1);
}

boolean jpegEmptyBuffer(j_compress_ptr c)
{
    auto* d = reinterpret_cast<JpegDestination*>(c->dest);
    if (!d->sink->write(reinterpret_cast<const char*>(d->buffer), sizeof d->buffer))
        jpegSinkFailed(d);
    d->mgr.next_output_byte = d->buffer;
    d->mgr.free_in_buffer = sizeof d->buffer;
    return TRUE;
}

void jpegTermDestination(j_compress_ptr c)
{
    auto* d = reinterpret_cast<JpegDestination*>(c->dest);
    const auto used = static_cast<qsizetype>(sizeof d->buffer - d->mgr.free_in_buffer);
    if (used > 0 && !d->sink->write(reinterpret_cast<const char*>(d->buffer), used))
        jpegSinkFailed(d);
}

// libjpeg reports through longjmp, so everything that needs a destructor
// lives outside the function that calls setjmp.
bool jpegCompress(PictureRows& rows, JpegDestination& dest, JpegError& err, bool& rowFailed)
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
    dest.mgr.init_destination = jpegInitDestination;
    dest.mgr.empty_output_buffer = jpegEmptyBuffer;
    dest.mgr.term_destination = jpegTermDestination;
    c.dest = &dest.mgr;
    c.image_width = static_cast<JDIMENSION>(rows.size().width());
    c.image_height = static_cast<JDIMENSION>(rows.size().height());
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
        const uchar* line = rows.row(static_cast<int>(c.next_scanline));
        if (!line) {
            rowFailed = true;
            jpeg_destroy_compress(&c);
            return false;
        }
        JSAMPROW row = const_cast<JSAMPROW>(line);
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    return true;
}

// ---- PNG -----------------------------------------------------------------

struct PngState {
    ByteSink* out;
    char message[256];
    bool sinkFailed;
};

void pngWrite(png_structp png, png_bytep data, png_size_t length)
{
    auto* state = static_cast<PngState*>(png_get_io_ptr(png));
    if (!state->out->write(reinterpret_cast<const char*>(data), static_cast<qsizetype>(length))) {
        state->sinkFailed = true; // the sink says why
        png_error(png, "write failed");
    }
}

void pngFlush(png_structp) {}

[[noreturn]] void pngError(png_structp png, png_const_charp message)
{
    auto* state = static_cast<PngState*>(png_get_error_ptr(png));
    std::snprintf(state->message, sizeof state->message, "%s", message);
    png_longjmp(png, 1);
}

void pngWarning(png_structp, png_const_charp) {}

bool pngCompress(PictureRows& rows, const QByteArray& textChunk, PngState& state, bool& rowFailed)
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
    png_set_IHDR(png, info, static_cast<png_uint_32>(rows.size().width()),
                 static_cast<png_uint_32>(rows.size().height()), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_pHYs(png, info, kPixelsPerMetre, kPixelsPerMetre, PNG_RESOLUTION_METER);
    // Diagrams are large flat areas with thin lines: unfiltered rows at
    // zlib's fastest level come out about as small as libpng's defaults
    // (every filter tried on every row, level 6) at a fraction of the time.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, 1);
    png_write_info(png, info);
    if (!textChunk.isEmpty())
        png_write_chunk(png, reinterpret_cast<png_const_bytep>("tEXt"),
                        reinterpret_cast<png_const_bytep>(textChunk.constData()),
                        static_cast<size_t>(textChunk.size()));
    // The rows are blue, green, red, unused: swap to RGB and drop the filler.
    png_set_bgr(png);
    png_set_filler(png, 0, PNG_FILLER_AFTER);
    const int height = rows.size().height();
    for (int y = 0; y < height; ++y) {
        const uchar* line = rows.row(y);
        if (!line) {
            rowFailed = true;
            png_destroy_write_struct(&png, &info);
            return false;
        }
        png_write_row(png, line);
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

// Encoded bytes into memory.
class ArraySink : public ByteSink {
public:
    explicit ArraySink(QByteArray& out) : m_out(out) {}
    bool write(const char* data, qsizetype size) override
    {
        m_out.append(data, size);
        return true;
    }
    bool writeAt(qint64 offset, const char* data, qsizetype size) override
    {
        if (offset + size > m_out.size()) {
            m_out.resize(static_cast<qsizetype>(offset + size));
            if (m_out.size() != offset + size)
                return false;
        }
        std::memcpy(m_out.data() + offset, data, static_cast<size_t>(size));
        return true;
    }
    QString failure() const override { return QStringLiteral("out of memory"); }

private:
    QByteArray& m_out;
};

QString rowFailure(const PictureRows& rows)
{
    const QString why = rows.failure();
    return why.isEmpty() ? QStringLiteral("the picture could not be drawn") : why;
}

} // namespace

QString PictureRows::failure() const { return QStringLiteral("out of memory"); }

ImageRows::ImageRows(const QImage& image) : m_image(asBgrx(image)) {}

bool encodeBmp(PictureRows& rows, ByteSink& out, QString* error)
{
    const QSize size = rows.size();
    if (size.isEmpty()) {
        setError(error, QStringLiteral("empty picture"));
        return false;
    }
    const qint64 w = size.width();
    const qint64 h = size.height();
    const qint64 rowBytes = (w * 3 + 3) & ~qint64(3);
    const qint64 imageBytes = rowBytes * h;
    constexpr int headerBytes = 14 + 40;
    if (imageBytes + headerBytes > 0xFFFFFFFFLL) {
        setError(error, QStringLiteral("picture too large for a BMP file"));
        return false;
    }
    QByteArray header(headerBytes, '\0');
    header[0] = 'B';
    header[1] = 'M';
    putLe32(header, 2, static_cast<quint32>(headerBytes + imageBytes));
    putLe32(header, 10, headerBytes);
    putLe32(header, 14, 40);
    putLe32(header, 18, static_cast<quint32>(w));
    putLe32(header, 22, static_cast<quint32>(h)); // positive: bottom-up rows
    putLe16(header, 26, 1);
    putLe16(header, 28, 24);
    putLe32(header, 30, 0); // BI_RGB
    putLe32(header, 34, static_cast<quint32>(imageBytes));
    putLe32(header, 38, kPixelsPerMetre);
    putLe32(header, 42, kPixelsPerMetre);
    // The last row first: the file's end is written first, so that a sink
    // in memory takes its whole size at once.
    QByteArray line(static_cast<qsizetype>(rowBytes), '\0');
    auto* dst = reinterpret_cast<uchar*>(line.data());
    for (qint64 y = 0; y < h; ++y) {
        const uchar* src = rows.row(static_cast<int>(y));
        if (!src) {
            setError(error, rowFailure(rows));
            return false;
        }
        for (qint64 x = 0; x < w; ++x) {
            dst[3 * x] = src[4 * x];
            dst[3 * x + 1] = src[4 * x + 1];
            dst[3 * x + 2] = src[4 * x + 2];
        }
        if (!out.writeAt(headerBytes + (h - 1 - y) * rowBytes, line.constData(), line.size())) {
            setError(error, out.failure());
            return false;
        }
    }
    if (!out.writeAt(0, header.constData(), header.size())) {
        setError(error, out.failure());
        return false;
    }
    return true;
}

bool encodeJpeg(PictureRows& rows, ByteSink& out, QString* error)
{
    const QSize size = rows.size();
    if (size.isEmpty()) {
        setError(error, QStringLiteral("empty picture"));
        return false;
    }
    if (size.width() > JPEG_MAX_DIMENSION || size.height() > JPEG_MAX_DIMENSION) {
        setError(error, QStringLiteral("picture too large for a JPEG file (at most %1 pixels a side)")
                            .arg(JPEG_MAX_DIMENSION));
        return false;
    }
    JpegError err;
    err.message[0] = '\0';
    auto dest = std::make_unique<JpegDestination>();
    dest->sink = &out;
    dest->err = &err;
    dest->sinkFailed = false;
    bool rowFailed = false;
    if (jpegCompress(rows, *dest, err, rowFailed))
        return true;
    setError(error, rowFailed          ? rowFailure(rows)
                    : dest->sinkFailed ? out.failure()
                                       : QString::fromLocal8Bit(err.message));
    return false;
}

bool encodePng(PictureRows& rows, const QByteArray& keyword, const QByteArray& text, ByteSink& out,
               QString* error)
{
    if (rows.size().isEmpty()) {
        setError(error, QStringLiteral("empty picture"));
        return false;
    }
    QByteArray chunk;
    if (!keyword.isEmpty()) {
        chunk = keyword;
        chunk.append('\0');
        chunk.append(text);
    }
    PngState state{&out, {0}, false};
    bool rowFailed = false;
    if (pngCompress(rows, chunk, state, rowFailed))
        return true;
    setError(error, rowFailed         ? rowFailure(rows)
                    : state.sinkFailed ? out.failure()
                                       : QString::fromLocal8Bit(state.message));
    return false;
}

namespace {

// An image in memory encoded into memory by one of the row encoders.
template <typename Encode>
QByteArray encodeInMemory(const QImage& image, QString* error, Encode encode)
{
    if (image.isNull()) {
        setError(error, QStringLiteral("empty picture"));
        return {};
    }
    ImageRows rows(image);
    QByteArray out;
    ArraySink sink(out);
    return encode(rows, sink) ? out : QByteArray();
}

} // namespace

QByteArray encodeBmp(const QImage& image, QString* error)
{
    return encodeInMemory(image, error, [&](PictureRows& rows, ByteSink& sink) { return encodeBmp(rows, sink, error); });
}

QByteArray encodeJpeg(const QImage& image, QString* error)
{
    return encodeInMemory(image, error,
                          [&](PictureRows& rows, ByteSink& sink) { return encodeJpeg(rows, sink, error); });
}

QByteArray encodePng(const QImage& image, const QByteArray& keyword, const QByteArray& text,
                     QString* error)
{
    return encodeInMemory(image, error, [&](PictureRows& rows, ByteSink& sink) {
        return encodePng(rows, keyword, text, sink, error);
    });
}

} // namespace korvimo
