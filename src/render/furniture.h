#pragma once
// The diagram's furniture: circles and circle slices (CIR), the north arrow
// (NTH), rectangles with a vertical colour gradient (REC) and pictures
// (IMG). Each interpret function reads the fields after code and version;
// each draw function paints from what its interpretation left.
#include <QImage>
#include <QString>

#include <memory>

namespace korvimo {

class Metafile;
class RenderState;
class ScriptFieldReader;

// CIR (circleelement.cpp). A slice whose band reaches past the radius gives
// a non-finite angle, which the driver reports and does not draw.
void interpretCir(RenderState& s, ScriptFieldReader& fields);
void drawCir(RenderState& s);

// NTH (northarrow.cpp): a circle with a black pointer towards northnorth.
void interpretNth(RenderState& s, ScriptFieldReader& fields);
void drawNth(RenderState& s);

// REC (rectelement.cpp): one horizontal line per row from colour 1 at the
// top towards colour 2. Rows that lie wholly outside the picture are not
// recorded: they cannot be seen, and a runaway coordinate would otherwise
// record billions of lines.
void interpretRec(RenderState& s, ScriptFieldReader& fields);
void drawRec(RenderState& s);

// IMG (pictureelement.cpp).
void interpretImg(RenderState& s, ScriptFieldReader& fields);
void drawImg(RenderState& s);

// A picture file as IMG draws it: a bitmap, or a metafile read into our own
// records. Exactly one of image and picture is set when loaded is true.
struct LoadedPicture {
    bool loaded = false;
    std::shared_ptr<const QImage> image;
    std::shared_ptr<const Metafile> picture;
    int width = 0;  // pixels (a metafile's reference pixels)
    int height = 0;
};

// Loads a picture of the type "BMP" or "WMF" (a .wmf or .emf file). A file
// that does not exist and any other type give an empty result; a file that
// exists but cannot be read throws PictureError with the reader's message.
LoadedPicture loadPicture(const QString& type, const QString& fileName);

class PictureError : public std::runtime_error {
public:
    explicit PictureError(const QString& text) : std::runtime_error(text.toStdString()) {}
};

} // namespace korvimo
