#pragma once
// Qt's own diagnostics ("QPainter::setPen: ...", font fallbacks) are meant
// for developers. On the command line they would sit among the program's
// messages and look like errors of the work. They are dropped unless the
// environment variable KORVIMO_QT_MESSAGES is set to a non-empty value;
// Qt's fatal messages always get through.

namespace korvimo::cli {

// Call before the application object is made.
void filterQtMessages();

} // namespace korvimo::cli
