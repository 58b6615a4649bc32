#pragma once
// Writing a file so that a failure never leaves a partial file behind: the
// bytes go to a temporary file in the target's folder, which is renamed over
// the target only when everything reached the disk.
#include <QByteArray>
#include <QString>

namespace korvimo {

// True when path now holds exactly bytes. Otherwise the target is as it was
// (absent, or the old file), no temporary file remains, and *error holds the
// failed step's message with the system's reason, for example
//   Cannot create file "/x/plan.png". Not a directory
//   Cannot write file "/x/plan.png". No space left on device
bool writeWholeFile(const QString& path, const QByteArray& bytes, QString* error);

} // namespace korvimo
