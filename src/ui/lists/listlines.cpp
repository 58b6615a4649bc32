#include "ui/lists/listlines.h"

#include "document/integertext.h"
#include "document/tmlb2.h"

namespace korvimo {

int insertPosition(int selected, int count)
{
    if (selected < 0 || selected >= count)
        return count;
    return selected + 1;
}

bool numberExists(const QStringList& lines, int number)
{
    for (const QString& line : lines) {
        const std::optional<int> n = parseInteger(QStringView(line).left(4));
        // "*" and "#" are not digits, so text and inactive lines never match;
        // neither does a name padded with blanks.
        if (n && *n == number && !line.startsWith(QLatin1Char(' ')))
            return true;
    }
    return false;
}

QString numberedLine(bool inactive, int number, const QStringList& fields)
{
    QString line = inactive ? QStringLiteral("#") : QString();
    line += QStringLiteral("%1=").arg(number, 4, 10, QLatin1Char('0'));
    for (const QString& f : fields)
        line += f + QLatin1Char(';');
    return line;
}

namespace {

// The shared first steps: text line, inactive marker, number, and the text
// after "=" cut at its ";".
NumberedLine readNumbered(const QString& source, QStringList* fields)
{
    NumberedLine out;
    if (source.startsWith(QLatin1Char('*'))) {
        out.isText = true;
        out.text = source.mid(1);
        return out;
    }
    QString line = source;
    out.inactive = line.startsWith(QLatin1Char('#'));
    if (out.inactive)
        line.remove(0, 1);
    out.number = toInteger(QStringView(line).left(4));
    const int eq = line.indexOf(QLatin1Char('='));
    const QString rest = eq < 0 ? QString() : line.mid(eq + 1);
    *fields = rest.split(QLatin1Char(';'));
    return out;
}

} // namespace

NumberedLine readCoordinateLine(const QString& line)
{
    QStringList fields;
    NumberedLine out = readNumbered(line, &fields);
    if (out.isText)
        return out;
    out.first = toInteger(fields.value(0));
    out.second = toInteger(fields.value(1));
    return out;
}

NumberedLine readIntensityLine(const QString& line)
{
    QStringList fields;
    NumberedLine out = readNumbered(line, &fields);
    if (out.isText)
        return out;
    out.first = toInteger(fields.value(0));
    out.volume = fields.value(1).startsWith(QLatin1Char('I'));
    return out;
}

bool isValidFunctionText(const QString& text)
{
    if (text.isEmpty())
        return true;
    if (text.endsWith(QLatin1Char('+')) || text.endsWith(QLatin1Char('-')))
        return false;
    for (qsizetype start = 0; start < text.size(); start += 5) {
        const QStringView block = QStringView(text).mid(start, 4);
        // Only digits: a sign inside a block would make "+1" a name.
        for (QChar c : block) {
            if (!c.isDigit() || c.unicode() > '9')
                return false;
        }
        if (block.isEmpty())
            return false;
        const qsizetype sign = start + 4;
        if (sign < text.size() && text[sign] != QLatin1Char('+') && text[sign] != QLatin1Char('-'))
            return false;
    }
    return true;
}

QString upperAsciiLetters(const QString& text)
{
    QString out = text;
    for (QChar& c : out) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    }
    return out;
}

QString scriptCopyText(const QString& scriptHeader, const QStringList& script, const QString& coordsHeader,
                       const QStringList& coordinates, const QString& intHeader, const QStringList& intensities)
{
    QStringList lines;
    lines << upperAsciiLetters(scriptHeader) << QString();
    lines << script;
    lines << QString() << upperAsciiLetters(coordsHeader) << QString();
    lines << coordinates;
    lines << QString() << upperAsciiLetters(intHeader) << QString();
    lines << intensities;
    return lines.join(QStringLiteral("\r\n"));
}

QString volumeListCopyText(const QList<GridRow>& rows)
{
    QStringList lines;
    for (const GridRow& r : rows)
        lines << QLatin1Char('\'') + r.direction + QLatin1Char('\t') + r.volume;
    return lines.join(QStringLiteral("\r\n"));
}

int pasteVolumeList(const QString& clipboardText, QList<GridRow>& rows)
{
    TMlb2 table;
    table.AddField(QStringLiteral("DIR"));
    table.AddField(QStringLiteral("INT"));
    QString text = clipboardText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    for (QString line : text.split(QLatin1Char('\n'))) {
        const int tab = line.indexOf(QLatin1Char('\t'));
        if (tab < 0)
            continue;
        table.AddRow();
        line.remove(QLatin1Char('\''));
        const int cut = line.indexOf(QLatin1Char('\t'));
        table.SetData(QStringLiteral("DIR"), line.left(cut));
        table.SetData(QStringLiteral("INT"), line.mid(cut + 1).remove(QLatin1Char('\t')));
    }
    if (table.IsEmpty())
        return 0;

    QList<GridRow> pasted = rows;
    int matched = 0;
    for (GridRow& row : pasted) {
        row.volume = QStringLiteral("0");
        bool found = false;
        table.GoFirst();
        while (!table.EndOfFile) {
            if (row.direction.trimmed() == table.GetData(QStringLiteral("DIR")).trimmed()) {
                row.volume = table.GetData(QStringLiteral("INT")).trimmed();
                found = true;
            }
            table.GoNext();
        }
        matched += found ? 1 : 0;
    }
    // Nothing matched: the clipboard held something else, and the grid
    // keeps its volumes instead of being set to 0.
    if (matched > 0)
        rows = pasted;
    return matched;
}

} // namespace korvimo
