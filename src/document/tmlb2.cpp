#include "document/tmlb2.h"

#include <QFile>

#include "document/textfile.h"

namespace korvimo {

int TMlb2::fieldIndex(const QString& name) const
{
    return m_index.value(name.toCaseFolded(), -1);
}

bool TMlb2::AddField(const QString& name)
{
    clearError();
    if (name.trimmed().isEmpty() || fieldIndex(name) >= 0)
        return false;
    m_index.insert(name.toCaseFolded(), int(m_fields.size()));
    m_fields.append(name);
    m_types.append(QStringLiteral("STRING"));
    for (QStringList& row : m_rows)
        row.append(QString());
    return true;
}

void TMlb2::AddRow()
{
    clearError();
    m_rows.append(QStringList(m_fields.size(), QString()));
    m_current = int(m_rows.size()) - 1;
}

bool TMlb2::GoFirst()
{
    clearError();
    if (m_rows.isEmpty()) {
        m_current = -1;
        BeginningOfFile = EndOfFile = true;
        return false;
    }
    m_current = 0;
    BeginningOfFile = EndOfFile = false;
    return true;
}

bool TMlb2::GoNext()
{
    clearError();
    if (m_rows.isEmpty() || m_current >= int(m_rows.size()) - 1) {
        EndOfFile = true;
        BeginningOfFile = m_rows.isEmpty();
        return false;
    }
    ++m_current;
    BeginningOfFile = EndOfFile = false;
    return true;
}

QString TMlb2::GetData(const QString& field) const
{
    const int f = fieldIndex(field);
    if (f < 0 || m_current < 0 || m_current >= m_rows.size())
        return {};
    return m_rows[m_current].value(f);
}

bool TMlb2::SetData(const QString& field, const QString& value)
{
    clearError();
    const int f = fieldIndex(field);
    if (f < 0 || m_current < 0 || m_current >= m_rows.size())
        return false;
    m_rows[m_current][f] = value;
    return true;
}

namespace {

// Reads the file through a small buffer with one byte of look-ahead, so a
// table of any length is read in one pass.
class ByteSource {
public:
    explicit ByteSource(QIODevice* dev) : m_dev(dev) {}

    // -1 at the end.
    int peek()
    {
        if (m_pos >= m_buf.size() && !refill())
            return -1;
        return static_cast<unsigned char>(m_buf[m_pos]);
    }
    int next()
    {
        const int c = peek();
        if (c >= 0)
            ++m_pos;
        return c;
    }

private:
    bool refill()
    {
        if (!m_dev)
            return false;
        m_buf = m_dev->read(1000);
        m_pos = 0;
        return !m_buf.isEmpty();
    }

    QIODevice* m_dev = nullptr;
    QByteArray m_buf;
    qsizetype m_pos = 0;
};

struct Token {
    QString text;
    bool quoted = false;
    enum End { Separator, LineEnd, FileEnd } end = FileEnd;
};

Token readToken(ByteSource& src, int separator, int quote)
{
    Token t;
    QByteArray bytes;
    bool inQuotes = false;
    for (;;) {
        const int c = src.next();
        if (c < 0) {
            t.end = Token::FileEnd;
            break;
        }
        if (inQuotes) {
            if (c == quote) {
                if (src.peek() == quote) {
                    src.next();
                    bytes.append(char(c));
                } else {
                    inQuotes = false;
                }
            } else {
                bytes.append(char(c));
            }
            continue;
        }
        if (c == separator) {
            t.end = Token::Separator;
            break;
        }
        if (c == '\r') {
            t.end = Token::LineEnd;
            break;
        }
        if (c == ' ' || c == '\n')
            continue;
        if (c == quote) {
            inQuotes = true;
            t.quoted = true;
            continue;
        }
        bytes.append(char(c));
    }
    t.text = textfile::fromWindows1252(bytes);
    return t;
}

int firstByte(const QString& s, int fallback)
{
    if (s.isEmpty())
        return fallback;
    const QByteArray b = textfile::toWindows1252(QStringView(s).first(1));
    return static_cast<unsigned char>(b[0]);
}

} // namespace

bool TMlb2::LoadFromFile(const QString& name)
{
    clearError();
    if (name.right(3).toUpper() != QLatin1String("TXT")) {
        MLBError = 1;
        MLBErrorComment = QStringLiteral("unsupported file kind");
        return false;
    }
    QFile f(name);
    if (!f.open(QIODevice::ReadOnly)) {
        MLBError = 1;
        MLBErrorComment = f.errorString();
        return false;
    }
    ByteSource src(&f);
    const int sep = firstByte(CSVSeparator, ';');
    const int quote = firstByte(QuoteSeparator, '"');

    m_fields.clear();
    m_index.clear();
    m_types.clear();
    m_rows.clear();
    m_current = -1;

    // Header.
    for (;;) {
        const Token t = readToken(src, sep, quote);
        if (t.end == Token::FileEnd)
            return true;
        if (!t.text.isEmpty())
            AddField(t.text);
        if (t.end == Token::LineEnd)
            break;
    }
    // Rows.
    for (;;) {
        int column = 0;
        for (;;) {
            const Token t = readToken(src, sep, quote);
            if (t.end == Token::FileEnd)
                return true;
            if (column == 0) {
                AddRow();
                if (!m_types.isEmpty())
                    m_types[0] = (t.quoted || t.text.isEmpty()) ? QStringLiteral("STRING") : QStringLiteral("FLOAT");
            }
            if (!t.text.isEmpty() && column < m_fields.size())
                m_rows.last()[column] = t.text;
            ++column;
            if (t.end == Token::LineEnd)
                break;
        }
    }
}

} // namespace korvimo
