#pragma once
// Helpers shared by the test programs: test data, scratch folders, a
// Messenger that records what it was told.
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "core/messenger.h"

namespace test {

// Absolute path of a file below tests/data.
QString dataPath(const QString& relative);

// Folder of the built binaries (korvimo-cli and the copied data folder).
QString binDir();

// Whole file as bytes; empty when it cannot be read.
QByteArray readAll(const QString& path);
bool writeAll(const QString& path, const QByteArray& bytes);

} // namespace test
