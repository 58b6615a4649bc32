#include "support/testsupport.h"

#include <QFile>

namespace test {

QString dataPath(const QString& relative)
{
    return QStringLiteral(KORVIMO_TEST_DATA "/") + relative;
}

QString binDir()
{
    return QStringLiteral(KORVIMO_BIN_DIR);
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

bool writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

} // namespace test
