#include "output/printlayout.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QVector>
#include <memory>

#include "canvas/qtplayer.h"
#include "canvas/textmetrics.h"
#include "document/generalvariables.h"
#include "render/rounding.h"

namespace korvimo {

namespace {

bool styleFlag(const QString& style, int index)
{
    return index < style.size() && style.at(index) == QLatin1Char('Y');
}

// The sixteen colours of a 4-bit bitmap: the classic system palette.
QVector<QRgb> sixteenColourTable()
{
    return {qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
            qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
            qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
            qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
}

} // namespace

PrintFields printFieldsOf(const GeneralVariables& g)
{
    PrintFields f;
    f.diagramLeft = g.printdiagramleft;
    f.diagramTop = g.printdiagramtop;
    f.diagramSize = g.printdiagramsize;
    f.headerLeft = g.printheader1left;
    f.headerTop = g.printheader1top;
    f.header = g.printheader1;
    f.fontName = g.printfontname;
    f.fontSize = g.printfontsize;
    f.bold = styleFlag(g.printfontstyle, 0);
    f.italic = styleFlag(g.printfontstyle, 1);
    f.underline = styleFlag(g.printfontstyle, 2);
    f.strikeout = false;
    return f;
}

QString printFontStyleText(bool bold, bool italic, bool underline)
{
    auto yn = [](bool on) { return on ? QLatin1Char('Y') : QLatin1Char('N'); };
    return QString() + yn(bold) + yn(italic) + yn(underline);
}

void storePrintFields(const PrintFields& f, GeneralVariables& g)
{
    g.printdiagramleft = f.diagramLeft;
    g.printdiagramtop = f.diagramTop;
    g.printdiagramsize = f.diagramSize;
    g.printheader1left = f.headerLeft;
    g.printheader1top = f.headerTop;
    g.printheader1 = f.header;
    g.printfontname = f.fontName;
    g.printfontsize = f.fontSize;
    g.printfontstyle = printFontStyleText(f.bold, f.italic, f.underline);
}

double printFitFactor(int mw, int mh, int pageWidth, int pageHeight)
{
    if (mw <= 0 || mh <= 0)
        return 0;
    if (qint64(mh) - pageHeight > qint64(mw) - pageWidth)
        return static_cast<double>(pageHeight) / mh;
    return static_cast<double>(pageWidth) / mw;
}

MetaBox printDiagramBox(const PrintPage& page, int mw, int mh, const PrintFields& fields)
{
    const long double px = page.dpiX / 25.4L;
    const long double py = page.dpiY / 25.4L;
    const long double s = fields.diagramSize * static_cast<long double>(printFitFactor(mw, mh, page.width, page.height)) / 100;
    const long double left = fields.diagramLeft * px;
    const long double top = fields.diagramTop * py;
    return MetaBox{roundToEven(left), roundToEven(top), roundToEven(left + mw * s), roundToEven(top + mh * s)};
}

QRect printDiagramRect(const PrintPage& page, int mw, int mh, const PrintFields& fields)
{
    const MetaBox b = printDiagramBox(page, mw, mh, fields);
    return QRect(QPoint(b.left, b.top), QPoint(b.right - 1, b.bottom - 1));
}

QPoint printHeaderPosition(const PrintPage& page, const PrintFields& fields)
{
    return QPoint(roundToEven(fields.headerLeft * (page.dpiX / 25.4L)),
                  roundToEven(fields.headerTop * (page.dpiY / 25.4L)));
}

int printHeaderPoints(int fontSize, int dpiY, double printFontFactor)
{
    return roundToEven(static_cast<long double>(fontSize) * dpiY / 100 * printFontFactor);
}

Metafile buildPrintPage(const Metafile& drawing, const PrintPage& page, const PrintFields& fields,
                        double printFontFactor, MetafileKind kind)
{
    Metafile out(page.width, page.height, kind);
    out.setComment(drawing.creator(), drawing.description());
    if (drawing.width() > 0 && drawing.height() > 0) {
        MetaRecord stretch;
        stretch.type = MetaRecordType::StretchMetafile;
        stretch.box = printDiagramBox(page, drawing.width(), drawing.height(), fields);
        stretch.setPicture(std::make_shared<const Metafile>(drawing));
        out.append(std::move(stretch));
    }
    if (fields.header.isEmpty())
        return out;

    MetaRecord brush;
    brush.type = MetaRecordType::Brush;
    brush.brush.clear = true;
    out.append(brush);
    MetaRecord font;
    font.type = MetaRecordType::Font;
    font.fontRef().name = fields.fontName;
    // The page picture measures its fonts on the 96-DPI reference device,
    // as the screen-referenced drawing surface does.
    font.fontRef().height = TextMetrics::heightForPoints(printHeaderPoints(fields.fontSize, page.dpiY, printFontFactor));
    font.fontRef().bold = fields.bold;
    font.fontRef().italic = fields.italic;
    font.fontRef().underline = fields.underline;
    font.fontRef().color = 0;
    out.append(font);
    const QPoint at = printHeaderPosition(page, fields);
    MetaRecord text;
    text.type = MetaRecordType::TextOut;
    text.points = {at};
    text.setText(fields.header);
    out.append(text);

    if (fields.strikeout) {
        // Our fonts carry no strikeout: the line is drawn where the font
        // puts it.
        const TextMetrics metrics;
        const QFontMetricsF fm(metrics.qtFont(font.font()));
        const int width = metrics.textWidth(font.font(), fields.header);
        const int y = at.y() + roundToEven(metrics.ascent(font.font()) - fm.strikeOutPos());
        MetaRecord pen;
        pen.type = MetaRecordType::Pen;
        pen.pen.width = std::max(1, roundToEven(fm.lineWidth()));
        out.append(pen);
        MetaRecord move;
        move.type = MetaRecordType::MoveTo;
        move.points = {QPoint(at.x(), y)};
        out.append(move);
        MetaRecord line;
        line.type = MetaRecordType::LineTo;
        line.points = {QPoint(at.x() + width, y)};
        out.append(line);
    }
    return out;
}

QSize printBitmapSize(int pageWidth, int pageHeight, int bmpSize)
{
    if (pageWidth <= 0 || pageHeight <= 0)
        return {};
    if (pageWidth < pageHeight)
        return QSize(roundToEven(static_cast<long double>(pageWidth) * bmpSize / pageHeight), bmpSize);
    return QSize(bmpSize, roundToEven(static_cast<long double>(pageHeight) * bmpSize / pageWidth));
}

QImage printBitmap(const Metafile& pagePicture, int bmpSize, bool sixteenColours)
{
    const QSize size = printBitmapSize(pagePicture.width(), pagePicture.height(), bmpSize);
    if (size.width() < 1 || size.height() < 1)
        return {};
    QImage image = renderToImage(pagePicture, size);
    if (image.isNull() || !sixteenColours)
        return image;
    return image.convertToFormat(QImage::Format_Indexed8, sixteenColourTable(), Qt::ThresholdDither);
}

QRect previewPaperRect(int pageWidth, int pageHeight, int frame, int unit)
{
    if (pageWidth <= 0 || pageHeight <= 0)
        return {};
    const int longSide = frame - 3 * unit;
    QSize paper;
    if (pageWidth < pageHeight)
        paper = QSize(roundToEven(static_cast<long double>(pageWidth) / pageHeight * longSide), longSide);
    else
        paper = QSize(longSide, roundToEven(static_cast<long double>(pageHeight) / pageWidth * longSide));
    const int top = roundToEven((frame - paper.height() - unit) / 2.0L);
    const int left = roundToEven((frame - paper.width() - unit) / 2.0L);
    return QRect(QPoint(left, top), paper);
}

} // namespace korvimo
