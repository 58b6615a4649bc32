#include "render/maakmeta.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <cfenv>
#include <new>

#include "canvas/metacanvas.h"
#include "canvas/metafile.h"
#include "core/programcontext.h"
#include "document/diagramdocument.h"
#include "render/conversionerror.h"
#include "render/elementpainters.h"
#include "render/overlays.h"
#include "render/renderstate.h"
#include "render/rounding.h"
#include "render/scriptline.h"

namespace korvimo {

namespace {

// The Dutch base texts, for a language table that lacks the keys.
QString messageText(const ProgramContext& ctx, const char* key, const char* base)
{
    const QString k = QString::fromLatin1(key);
    return ctx.texts.contains(k) ? ctx.texts.text(k) : QString::fromUtf8(base);
}

void interpretGroup(RenderState& s, ScriptFieldReader& f)
{
    s.elementCode = QStringLiteral("GRP");
    s.groupVisible = true;
    DrawingGroup g;
    if (drawingGroupFromName(f.nextField(), &g) && !s.general.groupVisible(g))
        s.groupVisible = false;
}

// Validation and interpretation of one script line. Throws ConversionError
// for a malformed version or integer field.
void interpretLine(RenderState& s)
{
    ScriptFieldReader f(s.script[s.lineIndex]);
    const QString code = f.code();
    const int highest = highestElementVersion(code);
    if (highest == 0)
        return;
    const bool group = code == QLatin1String("GRP");
    if (!group && !s.groupVisible)
        return;
    f.nextField(); // the code itself
    if (f.nextInteger() > highest)
        return; // made by a newer program: skipped, groups left as they are
    if (group) {
        interpretGroup(s, f);
        return;
    }
    const ElementInterpreter* e = findInterpreter(code);
    if (!e || !e->interpret)
        return;
    s.elementCode = e->registerCode.toString();
    e->interpret(s, f);
}

void drawLine(RenderState& s)
{
    if (s.elementCode.isEmpty())
        return;
    if (const ElementDrawer* d = findDrawer(s.elementCode); d && d->draw)
        d->draw(s);
}

void writeLines(const QString& path, const QStringList& lines)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return;
    QByteArray bytes;
    for (const QString& l : lines)
        bytes += l.toUtf8() + "\r\n";
    f.write(bytes);
    f.commit();
}

void writeDiagnostics(const RenderState& s, const QString& folder)
{
    const QString dir = folder.isEmpty() ? QDir::tempPath() + QLatin1Char('/') : folder;
    writeLines(dir + QStringLiteral("Coords.zzz"), s.coordinates);
    writeLines(dir + QStringLiteral("Script.zzz"), s.script);
    writeLines(dir + QStringLiteral("Int.zzz"), s.intensities);
    writeLines(dir + QStringLiteral("Check.zzz"), s.checkList);
}

} // namespace

bool diagnosticMarkerPresent(const QString& tempFolder)
{
    const QString dir = tempFolder.isEmpty() ? QDir::tempPath() + QLatin1Char('/') : tempFolder;
    return QFileInfo::exists(dir + QLatin1String(kDiagnosticMarkerName));
}

RenderOutcome MaakMeta(const DiagramDocument& doc, const ProgramContext& ctx, Metafile& target,
                       const QString& outputType, const QString& destination)
{
    RenderOutcome outcome;
    const GeneralVariables& g = doc.general;

    target.clear();
    target.setSize(roundToEven(static_cast<long double>(g.diagramwidth) * 10),
                   roundToEven(static_cast<long double>(g.diagramheight) * 10));
    target.setKind(outputType == QLatin1String("WMF") ? MetafileKind::Wmf : MetafileKind::Emf);
    const QString creator = ctx.creatorText();
    const QString description = QFileInfo(doc.fileName).fileName();
    target.setComment(creator, description);

    MetaCanvas canvas(target);
    RenderState s(g, ctx, canvas, doc.script, doc.coordinates, doc.intensities);
    s.fileName = doc.fileName;
    s.checkList.append(QStringLiteral("Values * 1000"));
    if (ctx.view.showDirections)
        applyShowDirections(s.intensities);
    s.textSizePercent = 100;
    s.labelSizePercent = 70;

    try {
        // The signature: invisible on screen, readable in exported pictures.
        canvas.setBrushClear(true);
        canvas.setFontName(QStringLiteral("Arial"));
        if (destination == QLatin1String("S"))
            canvas.setFontColor(ctx.view.drawingBackground);
        canvas.setFontSize(roundToEven(10 * 0.5L * ctx.printFontFactor));
        canvas.textOut(10, 10, creator + QLatin1Char(' ') + description);

        canvas.setFontName(g.fontname);
        s.groupVisible = true;
        // A full render target takes no more records: the rest of the
        // script would only be interpreted for nothing.
        for (s.lineIndex = 0; s.lineIndex < s.script.size() && !target.budgetReached(); ++s.lineIndex) {
            s.resetLine();
            canvas.setPenWidth(g.linewidth);
            std::feclearexcept(FE_INVALID);
            interpretLine(s);
            const bool finite = s.reg.allFinite();
            if (!finite || std::fetestexcept(FE_INVALID)) {
                ++outcome.brokenLines;
                ctx.messages().error(messageText(
                    ctx, "AA00011",
                    "Kan diagram niet juist tekenen. Pas de hoeken van de armen aan of verplaats één of "
                    "meerdere coördinaten."));
                // Coordinates computed from a NaN are no picture of anything.
                if (!finite)
                    s.elementCode.clear();
            }
            drawLine(s);
            if (ctx.view.showIntersections && !s.elementCode.isEmpty() && s.elementCode != QLatin1String("GRP")
                && s.elementCode != QLatin1String("TXT"))
                appendCheckBlock(s);
        }
        if (ctx.view.showCoordinates)
            drawCoordinateLabels(s);
        if (target.budgetReached()) {
            outcome.completed = false;
            const QString count = QString::number(target.recordBudget());
            outcome.errorText = ctx.texts.contains(QStringLiteral("AA00290"))
                                    ? ctx.texts.format(QStringLiteral("AA00290"), {count})
                                    : QStringLiteral("De tekening is te groot: na %1 tekenopdrachten is het tekenen "
                                                     "gestopt. Het diagram is niet volledig.")
                                          .arg(count);
            ctx.messages().error(outcome.errorText);
        }
    } catch (const ConversionError& e) {
        outcome.completed = false;
        outcome.errorText = e.text();
        ctx.messages().error(outcome.errorText);
    } catch (const std::bad_alloc&) {
        outcome.completed = false;
        const QString program = QString::fromLatin1(kProgramName);
        outcome.errorText = ctx.texts.contains(QStringLiteral("AA00010"))
                                ? ctx.texts.format(QStringLiteral("AA00010"), {program})
                                : QStringLiteral("Onvoldoende geheugen voor optimale werking. Sluit 1 of meerdere "
                                                 "programma's af en start %1 opnieuw. Of verklein via de "
                                                 "instellingen de maximale diagramgrootte.")
                                      .arg(program);
        ctx.messages().warning(outcome.errorText);
    } catch (const std::exception& e) {
        outcome.completed = false;
        outcome.errorText = QString::fromLocal8Bit(e.what());
        ctx.messages().error(outcome.errorText);
    }
    if (canvas.cutTexts() > 0) {
        const QString limit = QString::number(MetaCanvas::kMaxTextRunChars);
        ctx.messages().warning(ctx.texts.format(QStringLiteral("AA00213"), {limit, limit}));
    }
    outcome.checkList = s.checkList;

    if (ctx.view.diagnosticMode || diagnosticMarkerPresent(ctx.paths.tempFolder))
        writeDiagnostics(s, ctx.paths.tempFolder);
    return outcome;
}

} // namespace korvimo
