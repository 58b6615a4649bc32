#pragma once
// The page of a print job, made without a printer: where the diagram and
// the header text go on a page of given size and resolution, the page
// picture that the preview shows and the job prints, and the bitmap the
// job prints when PrintType is "BMP".
//
// Units: the page is measured in printer pixels; the diagram's print
// fields are in millimetres and percent; the render target in metafile
// units. "Rounded" is to the nearest integer, halves to the even neighbour.
//
// Contract:
// - The fit factor compares differences, not ratios: the dimension that
//   exceeds the page by more, or falls short by less, decides. The size
//   field scales that factor in percent.
// - buildPrintPage never fails: a drawing without size places nothing but
//   the header; the header is drawn with a clear background in black.
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include "canvas/metafile.h"

namespace korvimo {

struct GeneralVariables;

// What the printer reports: page width and height in printer pixels, and
// the horizontal and vertical resolution in dots per inch.
struct PrintPage {
    int width = 0;
    int height = 0;
    int dpiX = 0;
    int dpiY = 0;
};

// The diagram's print fields as the dialog edits them.
struct PrintFields {
    int diagramLeft = 20; // mm from the printable left edge
    int diagramTop = 30;  // mm from the printable top edge
    int diagramSize = 85; // percent of the page-filling size
    int headerLeft = 20;  // mm
    int headerTop = 10;   // mm
    QString header;
    QString fontName = QStringLiteral("Arial");
    int fontSize = 12; // points
    bool bold = true;
    bool italic = false;
    bool underline = false;
    bool strikeout = false; // shown while the dialog is open, never stored
};

// The fields of a diagram; the style comes from printfontstyle's three
// characters ("Y" bold, italic, underline), strikeout off.
PrintFields printFieldsOf(const GeneralVariables& general);
// Writes the fields back; the style as three "Y"/"N" characters.
void storePrintFields(const PrintFields& fields, GeneralVariables& general);
// "YNN" and the like for bold, italic, underline.
QString printFontStyleText(bool bold, bool italic, bool underline);

// F of the fit rule for a drawing of mw × mh units on the page.
double printFitFactor(int mw, int mh, int pageWidth, int pageHeight);
// The rectangle the drawing is stretched into: round(L × px), round(T × py),
// round(L × px + MW × S), round(T × py + MH × S) with S = size × F / 100.
QRect printDiagramRect(const PrintPage& page, int mw, int mh, const PrintFields& fields);
MetaBox printDiagramBox(const PrintPage& page, int mw, int mh, const PrintFields& fields);
// The header's top-left corner: round(left × px), round(top × py).
QPoint printHeaderPosition(const PrintPage& page, const PrintFields& fields);
// The header's font size on the page: round(size × dpiY / 100 × factor),
// factor being the print font factor.
int printHeaderPoints(int fontSize, int dpiY, double printFontFactor);

// The page picture: page width × page height units, of the given kind,
// with the drawing stretched into its rectangle and the header on top.
Metafile buildPrintPage(const Metafile& drawing, const PrintPage& page, const PrintFields& fields,
                        double printFontFactor, MetafileKind kind);

// The bitmap of a "BMP" job: its longer side follows the page's (portrait:
// height bmpSize, width round(page width × bmpSize / page height);
// otherwise the other way round).
QSize printBitmapSize(int pageWidth, int pageHeight, int bmpSize);
// The page picture stretched over that bitmap; 16 colours when
// sixteenColours, else full colour. Null when the size has no pixels.
QImage printBitmap(const Metafile& pagePicture, int bmpSize, bool sixteenColours);

// The preview's paper inside a square frame of side `frame`, with the
// spacing unit u: a portrait page is frame − 3u high, a landscape or
// square one frame − 3u wide; the paper is centred (the shadow, u further
// right and down, included).
QRect previewPaperRect(int pageWidth, int pageHeight, int frame, int unit);

} // namespace korvimo
