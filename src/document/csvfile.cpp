#include "document/csvfile.h"

#include <QCoreApplication>

#include "core/programcontext.h"
#include "document/diagramfile.h"
#include "document/libraryfiles.h"
#include "document/odfile.h"
#include "document/textfile.h"

namespace korvimo {

namespace {

// Takes fields off the front of a line. When no separator is left the field
// is the whole rest, and the rest loses only (length of the separator - 1)
// characters: with a one-character separator every further field repeats the
// last one. Those repeats land in columns the OD import does not read for
// the number of arms given.
class FieldTaker {
public:
    FieldTaker(const QString& line, const QString& sep) : m_rest(line), m_sep(sep) {}
    QString next()
    {
        const int at = m_rest.indexOf(m_sep);
        if (at >= 0) {
            const QString f = m_rest.left(at);
            m_rest = m_rest.mid(at + m_sep.size());
            return f.trimmed();
        }
        const QString f = m_rest;
        m_rest = m_rest.mid(m_sep.size() - 1);
        return f.trimmed();
    }

private:
    QString m_rest;
    QString m_sep;
};

QString left(const QString& s, int n) { return s.left(n).leftJustified(n, QLatin1Char(' ')); }
QString right(const QString& s, int n) { return s.left(n).rightJustified(n, QLatin1Char(' ')); }

} // namespace

QStringList csvToOdLines(const QStringList& csvLines, const QString& sepSetting)
{
    // An empty separator would split nothing off; the default one applies.
    const QString sep = sepSetting.isEmpty() ? QStringLiteral(";") : sepSetting;
    QStringList od;
    od << FieldTaker(csvLines.value(0), sep).next();
    FieldTaker line2(csvLines.value(1), sep);
    const QString id = line2.next();
    const QString arms = line2.next();
    const QString title = line2.next();
    // A missing number of arms must not let the title slide into its place.
    od << left(id, 5) + (arms.isEmpty() ? QStringLiteral(" ") : arms.left(1)) + title;
    const auto armLine = [&sep](const QString& line) {
        FieldTaker f(line, sep);
        QString arm = left(f.next(), 5);
        arm += left(f.next(), 3);
        arm += left(f.next(), 20);
        for (int v = 0; v < 8; ++v)
            arm += right(f.next(), 7);
        return arm;
    };
    // A class block starts at a line whose first field begins with "*".
    const auto classMark = [&sep](const QString& line) {
        const QString first = FieldTaker(line, sep).next();
        return first.startsWith(QLatin1Char('*')) ? first : QString();
    };
    int i = 2;
    for (; i < csvLines.size() && i < 10 && classMark(csvLines[i]).isEmpty(); ++i)
        od << armLine(csvLines[i]);
    // The class blocks go over as they are in the OD file: the mark line,
    // then each block's arm lines, at most eight.
    while (i < csvLines.size() && classMark(csvLines[i]).isEmpty())
        ++i;
    int inBlock = 8;
    for (; i < csvLines.size(); ++i) {
        const QString mark = classMark(csvLines[i]);
        if (!mark.isEmpty()) {
            od << mark;
            inBlock = 0;
        } else if (inBlock < 8) {
            od << armLine(csvLines[i]);
            ++inBlock;
        }
    }
    return od;
}

void CSVBestandOpenen(const QString& name, DiagramFile& files)
{
    QStringList csv;
    if (!textfile::readLines(name, &csv))
        return;
    ProgramContext& ctx = files.context();
    libfiles::ScratchFile temp(ctx, QString::fromLatin1(kProgramName) + QLatin1Char('_'), QStringLiteral(".in"));
    // Without its temporary file the import has nothing to read: say so,
    // rather than leave an empty diagram that looks like the result.
    if (!temp.create(textfile::encodeLines(csvToOdLines(csv, ctx.settings.csvSep)))) {
        ctx.messages().error(ctx.texts.format(QStringLiteral("AA00025"), {temp.name()}));
        return;
    }
    QCoreApplication::processEvents();
    readOdFile(temp.name(), files, name);
    QCoreApplication::processEvents();
}

} // namespace korvimo
