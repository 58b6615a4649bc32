#include "document/libraryfiles.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include "core/programcontext.h"
#include "document/textfile.h"

namespace korvimo::libfiles {

namespace {

bool isTemplateHeader(const QString& line) { return line.startsWith(QStringLiteral("[###")); }

QString headerText(const QString& line)
{
    const int end = line.indexOf(QStringLiteral("###]"), 4);
    return end < 0 ? line.mid(4) : line.mid(4, end - 4);
}

} // namespace

QStringList sectionOf(const QStringList& lines, const QString& header)
{
    QStringList out;
    const int start = lines.indexOf(header);
    if (start < 0)
        return out;
    for (int i = start + 1; i < lines.size() && !lines[i].startsWith(QStringLiteral("[**")); ++i)
        out << lines[i];
    return out;
}

QStringList readSection(const QString& path, const QString& header)
{
    QStringList lines;
    if (!textfile::readLines(path, &lines))
        return {};
    return sectionOf(lines, header);
}

QString unquoted(const QString& value)
{
    if (value.size() < 2)
        return QStringLiteral("");
    return value.mid(1, value.size() - 2);
}

std::optional<QString> diagramName(const QStringList& nameLines, const QString& code)
{
    for (const QString& line : nameLines) {
        const int eq = line.indexOf(QLatin1Char('='));
        const QString key = eq < 0 ? line : line.left(eq);
        if (key.toLower() == code)
            return unquoted(eq < 0 ? QString() : line.mid(eq + 1));
    }
    return std::nullopt;
}

QStringList templateCodes(const QStringList& libraryLines)
{
    QStringList codes;
    for (const QString& line : libraryLines) {
        if (!isTemplateHeader(line))
            continue;
        const QString code = headerText(line);
        if (!code.isEmpty())
            codes << code;
    }
    return codes;
}

QStringList templateBlock(const QStringList& libraryLines, const QString& code)
{
    QStringList out;
    if (code.isEmpty())
        return out;
    int i = 0;
    while (i < libraryLines.size() && !(isTemplateHeader(libraryLines[i]) && headerText(libraryLines[i]).startsWith(code)))
        ++i;
    // Only the first block with the code counts: two blocks run together
    // would make one document of two templates.
    for (++i; i < libraryLines.size() && !isTemplateHeader(libraryLines[i]); ++i)
        out << libraryLines[i];
    return out;
}

QString tempFolder(const ProgramContext& ctx)
{
    QString folder = ctx.paths.tempFolder.isEmpty() ? QDir::tempPath() : ctx.paths.tempFolder;
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

ScratchFile::ScratchFile(const ProgramContext& ctx, const QString& prefix, const QString& extension)
    : m_folder(tempFolder(ctx)), m_prefix(prefix), m_extension(extension)
{
}

ScratchFile::~ScratchFile()
{
    if (m_made)
        QFile::remove(m_name);
}

bool ScratchFile::create(const QByteArray& bytes)
{
    static const char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    // A name that is taken is tried again with other characters; any other
    // failure will not go away by trying.
    for (int attempt = 0; attempt < 16; ++attempt) {
        QString random;
        for (int i = 0; i < 6; ++i)
            random += QLatin1Char(kChars[QRandomGenerator::global()->bounded(int(sizeof kChars - 1))]);
        m_name = m_folder + m_prefix + random + m_extension;
        QFile f(m_name);
        if (!f.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (QFile::exists(m_name))
                continue;
            return false;
        }
        m_made = true;
        if (f.write(bytes) == bytes.size() && f.flush())
            return true;
        f.close();
        QFile::remove(m_name);
        m_made = false;
        return false;
    }
    return false;
}

} // namespace korvimo::libfiles
