#include "render/scriptline.h"

#include "render/conversionerror.h"

namespace korvimo {

namespace {

struct CodeVersion {
    const char16_t* code;
    int version;
};

constexpr CodeVersion kCodes[] = {
    {u"GRP", 1}, {u"IMG", 1}, {u"LNE", 1}, {u"ARC", 1}, {u"AR2", 1},
    {u"CIR", 1}, {u"TXT", 1}, {u"NTH", 1}, {u"REC", 1}, {u"LEG", 1},
};

} // namespace

ScriptLineKind classifyScriptLine(const QString& line)
{
    if (line.startsWith(QLatin1Char('*')))
        return ScriptLineKind::Comment;
    if (line.startsWith(QLatin1Char('#')))
        return ScriptLineKind::Inactive;
    return isElementCode(QStringView(line).left(3)) ? ScriptLineKind::Element : ScriptLineKind::Unknown;
}

bool isElementCode(QStringView code) { return highestElementVersion(code) > 0; }

int highestElementVersion(QStringView code)
{
    for (const CodeVersion& c : kCodes)
        if (code == QStringView(c.code))
            return c.version;
    return 0;
}

QStringList editorElementCodes()
{
    return {QStringLiteral("*Text"), QStringLiteral("GRP"), QStringLiteral("IMG"),
            QStringLiteral("LNE"),   QStringLiteral("ARC"), QStringLiteral("CIR"),
            QStringLiteral("TXT"),   QStringLiteral("NTH"), QStringLiteral("REC"),
            QStringLiteral("LEG")};
}

QString composeScriptLine(const QString& code, const QStringList& fields, bool inactive)
{
    QString line;
    if (inactive)
        line += QLatin1Char('#');
    line += code + QLatin1Char(';') + QString::number(highestElementVersion(code)) + QLatin1Char(';');
    for (const QString& f : fields)
        line += f + QLatin1Char(';');
    return line;
}

QString ScriptFieldReader::nextField()
{
    const qsizetype semi = m_line.indexOf(QLatin1Char(';'), m_pos);
    if (semi < 0)
        return QString(); // an unterminated remainder is no field
    QString field = m_line.mid(m_pos, semi - m_pos);
    m_pos = semi + 1;
    return field;
}

int ScriptFieldReader::nextInteger() { return toInteger(nextField()); }

QString ScriptFieldReader::nextQuotedText()
{
    if (QStringView(m_line).mid(m_pos).startsWith(u"[\"")) {
        const qsizetype close = m_line.indexOf(QStringLiteral("\"];"), m_pos + 2);
        if (close >= 0) {
            QString text = m_line.mid(m_pos + 2, close - m_pos - 2);
            m_pos = close + 3;
            return text;
        }
    }
    return nextField();
}

void ScriptFieldReader::nextPointPair(QString& first, QString& second)
{
    if (m_pos < m_line.size() && m_line[m_pos] == QLatin1Char('[')) {
        const qsizetype close = m_line.indexOf(QStringLiteral("];"), m_pos + 1);
        if (close >= 0) {
            const QString inner = m_line.mid(m_pos + 1, close - m_pos - 1);
            const qsizetype semi = inner.indexOf(QLatin1Char(';'));
            first = semi < 0 ? inner : inner.left(semi);
            second = semi < 0 ? QString() : inner.mid(semi + 1);
            m_pos = close + 2;
            return;
        }
    }
    first = nextField();
    second = nextField();
}

} // namespace korvimo
