#pragma once
// The script line format: "CODE;version;field;...;", every field ending
// with ";". Comment lines start with "*", inactive lines with "#"; neither
// matches an element code. Quoted texts (["..."]) and the point pair of a
// text's "R" position ([0003;0004]) are the only fields that may hold ";".
#include <QString>
#include <QStringList>

namespace korvimo {

enum class ScriptLineKind { Comment, Inactive, Element, Unknown };

// What a line is, judged by its first characters as the renderer does.
ScriptLineKind classifyScriptLine(const QString& line);

// True for GRP, IMG, LNE, ARC, AR2, CIR, TXT, NTH, REC, LEG (case-sensitive).
bool isElementCode(QStringView code);
// The highest element version the renderer draws; 0 for an unknown code.
int highestElementVersion(QStringView code);
// The type choices of the script line editor, in order ("*Text" first).
QStringList editorElementCodes();

// Builds a line as the editors write it: optional "#", the code, the current
// version, then every field followed by ";".
QString composeScriptLine(const QString& code, const QStringList& fields, bool inactive = false);

// Consumes one line field by field. A field that is missing (no ";" left)
// reads as empty, and so does every field after it.
class ScriptFieldReader {
public:
    explicit ScriptFieldReader(const QString& line) : m_line(line) {}

    // The element code: the line's first three characters.
    QString code() const { return m_line.left(3); }

    // The text up to the next ";"; the ";" is consumed.
    QString nextField();
    // nextField() as an integer; throws ConversionError when it is not one
    // (an empty field included).
    int nextInteger();
    // A quoted text ["..."]: everything up to the first "\"];". A field that
    // does not start with ["  or never closes reads as a plain field.
    QString nextQuotedText();
    // The point pair of a text position "[first;second]". A field without
    // the brackets reads the two names as plain fields.
    void nextPointPair(QString& first, QString& second);

    bool atEnd() const { return m_pos >= m_line.size(); }
    QStringView rest() const { return QStringView(m_line).mid(m_pos); }

private:
    QString m_line;
    qsizetype m_pos = 0;
};

} // namespace korvimo
