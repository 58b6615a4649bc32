#pragma once
// Pieces shared by the EMF and WMF writers and readers. Not for use
// outside canvas/.
#include <QByteArray>
#include <QImage>
#include <QString>

#include <climits>
#include <cstdint>
#include <cstring>
#include <memory>

#include "core/windows1252.h"

namespace korvimo {
class Metafile;
}

namespace korvimo::metafile_detail {

// The bytes of a metafile file of the drawing, pictures inlined. libUEMF
// writes only to named files: `build` writes the flat drawing at a path in
// a private temporary folder, and the bytes are read back. Empty, with the
// reason in *error, when the drawing has no size or any step fails.
using FileBuilder = bool (*)(const Metafile& flat, const QString& path, QString* error);
// libUEMF does not tell when its last write fell short (a full disk): true
// when the file at path holds the size the builder wrote, else false with
// the reason in *error.
bool wholeFileWritten(const QString& path, qint64 size, QString* error);
QByteArray metafileBytes(const Metafile& metafile, FileBuilder build, const char* fileName, QString* error);

// A device-independent bitmap of the image: 24 bits, bottom-up, rows padded
// to four bytes, transparent parts over white. header is a BITMAPINFOHEADER.
struct Dib {
    QByteArray header;
    QByteArray pixels;
    int width = 0;
    int height = 0;
};
Dib imageToDib(const QImage& image);
// A bitmap from a BITMAPINFO (header and colour table) and its pixels, as
// metafile records carry them; a null image when they do not make one.
QImage dibToImage(const char* info, std::size_t infoSize, const char* pixels, std::size_t pixelSize);

// Bounds-checked little-endian reading from a byte buffer. Reading outside
// gives 0 and sets ok() to false for good.
class ByteReader {
public:
    ByteReader(const char* data, std::size_t size) : m_data(data), m_size(size) {}
    bool has(std::size_t offset, std::size_t count) const
    {
        return offset <= m_size && count <= m_size - offset;
    }
    uint32_t u32(std::size_t offset) { return static_cast<uint32_t>(read(offset, 4)); }
    int32_t i32(std::size_t offset) { return static_cast<int32_t>(u32(offset)); }
    uint16_t u16(std::size_t offset) { return static_cast<uint16_t>(read(offset, 2)); }
    int16_t i16(std::size_t offset) { return static_cast<int16_t>(u16(offset)); }
    uint8_t u8(std::size_t offset) { return static_cast<uint8_t>(read(offset, 1)); }
    float f32(std::size_t offset)
    {
        const uint32_t bits = u32(offset);
        float f;
        std::memcpy(&f, &bits, 4);
        return f;
    }
    const char* data() const { return m_data; }
    std::size_t size() const { return m_size; }
    bool ok() const { return m_ok; }

private:
    uint64_t read(std::size_t offset, std::size_t count)
    {
        if (!has(offset, count)) {
            m_ok = false;
            return 0;
        }
        uint64_t v = 0;
        for (std::size_t i = 0; i < count; ++i)
            v |= static_cast<uint64_t>(static_cast<unsigned char>(m_data[offset + i])) << (8 * i);
        return v;
    }

    const char* m_data;
    std::size_t m_size;
    bool m_ok = true;
};

// A box's width or height from its edges, computed wide and kept within
// int: boxes read from files or drawn at extreme points may span more than
// the int range, and a wrapped size would turn the picture over.
inline int boxSpan(int from, int to)
{
    const long long d = static_cast<long long>(to) - from;
    return d > INT_MAX ? INT_MAX : d < INT_MIN ? INT_MIN : static_cast<int>(d);
}

// Windows colour value <-> the bytes of a COLORREF (red, green, blue, 0).
inline int colorFromBytes(uint32_t colorref)
{
    return static_cast<int>(colorref & 0xFFFFFF);
}

} // namespace korvimo::metafile_detail
