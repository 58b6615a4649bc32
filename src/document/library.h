#pragma once
// The template library: ready-made diagrams stored under six-character codes
// in one file (program folder + "Lib/Korvimo.lib"), with their names and
// thirteen template texts in a names file per language (program folder +
// "Lng/Lib_" + language, falling back to "Lng/Lib_English").
//
// Library file: blocks, each opened by a header "[###" + code + "###]" and
// running to the next line that begins with "[###". A block is a complete
// current diagram file preceded by "bmpname=" + the preview picture's name.
// Names file: "[**DiagramNames**]" with code=name lines and
// "[**DiagramTexts**]" with LIB00042= ... LIB00054= lines; every value loses
// its first and last character (the quotes it is written with).
//
// Files are read whole for every question; nothing here keeps a file open.
// A missing library or names file is not an error except where noted.
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

#include "document/templatelibrary.h"

namespace korvimo {

struct ProgramContext;
class DiagramFile;

inline constexpr int kFirstTemplateText = 42; // LIB00042
inline constexpr int kTemplateTextCount = 13; // LIB00042 ... LIB00054

class DiagramLibrary final : public TemplateLibrary {
public:
    explicit DiagramLibrary(ProgramContext& ctx);

    // The traffic side that OpenBestandUitLib applies. The new-diagram dialog
    // sets it from its radio buttons; until then right-hand traffic applies.
    void setLeftHandTraffic(bool on) { m_leftHand = on; }
    bool leftHandTraffic() const { return m_leftHand; }

    // LibListBoxVullen: one entry per template that has a name, in library
    // order (code + three blanks + name), and the template texts read anew.
    // A library that cannot be opened gives the error AA00005 with its path
    // and no entries.
    QStringList LibListBoxVullen();

    // NaamDiagramOphalen: code + "   " + name, or empty when the names file
    // has no name for the code (or no names file can be opened).
    QString NaamDiagramOphalen(const QString& code) const;

    // TekstenDiagramOphalenUitBestand: reads the thirteen texts. Texts the
    // file does not hold keep their values; none at all are set when no
    // names file can be opened.
    void TekstenDiagramOphalenUitBestand();

    // The text LIB000nn, when one was read.
    std::optional<QString> templateText(int number) const;

    // TekstenDiagramVertalen: every title and the print header that equals a
    // placeholder exactly takes the placeholder's text (when it was read).
    void TekstenDiagramVertalen(GeneralVariables& general) const;

    // DiagramFromLibToStringList: the lines of the first template whose
    // header text starts with code's first six characters, without the
    // header; empty when there is none, the code is empty or the library
    // cannot be read.
    QStringList DiagramFromLibToStringList(const QString& code) const;

    // The preview picture's path for a code: the line after its header, less
    // a leading "bmpname=" (any case), in the library's folder; empty when
    // the template or the picture is missing.
    QString previewPicturePath(const QString& code) const;

    // OpenBestandUitLib: writes the template to a fresh "$1_" file in the
    // temporary folder, opens it with the open procedure, removes it again
    // (also when the reading throws), gives the document the untitled name
    // and, for left-hand traffic, negates arrowsize. A temporary file that
    // cannot be made gives AA00025 and false; the document is then untouched.
    // An unknown code opens an empty template: the document stays empty.
    bool OpenBestandUitLib(const QString& code, DiagramFile& files, bool leftHandTraffic);

    // TemplateLibrary
    bool openTemplate(const QString& code, DiagramFile& files) override
    {
        return OpenBestandUitLib(code, files, m_leftHand);
    }
    void translateTitles(GeneralVariables& general) override { TekstenDiagramVertalen(general); }
    bool hasTemplate(const QString& code) const override { return !DiagramFromLibToStringList(code).isEmpty(); }

    QString libraryPath() const;
    // The names file that is read: the language's, or the English one when
    // that does not exist.
    QString namesFilePath() const;

private:
    ProgramContext& m_ctx;
    bool m_leftHand = false;
    std::array<std::optional<QString>, kTemplateTextCount> m_texts;
};

// CoordsArmOphalenZonderHoek: an arm definition p1;p2;angle without its
// angle - everything up to and including the second ";" (the whole text
// when it has fewer).
QString CoordsArmOphalenZonderHoek(const QString& arm);

// SchaalEtcGoedZetten: the scale from the highest volume, the overview
// rebuilt and shown, and the arms wizard's load and apply run on the stored
// arm definitions. Throws ConversionError for a malformed volume or centre.
void SchaalEtcGoedZetten(DiagramFile& files);

// The intensity name for the volume from arm a to arm b (both 1 ... k):
// (a - 1)(k - 1) + ((a - b) mod k) with four digits; empty for a pair outside
// 1 ... k or a == b.
QString odIntensityName(int a, int b, int k);

} // namespace korvimo
