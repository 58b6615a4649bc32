#pragma once
// The facts of the configuration information window, gathered without a
// window: about the program, its folders, the computer, the screen and the
// printer, as rows of name and value in a fixed order, so that a user can
// paste them into a support request. Facts that Linux does not have (the
// Windows folders, the registry's processor and board entries when /proc
// and /sys do not tell) carry "n.a.".
//
// Gathering never stops at a fact that fails: the failure is returned with
// the fact's name and the list goes on without that row.
#include <QList>
#include <QString>
#include <functional>

namespace korvimo {

inline constexpr const char* kNotAvailable = "n.a.";
// In the program folder, this file switches the window off.
inline constexpr const char* kNoConfigurationInfoFile = "NoConfigurationInfo.wnd";

struct ConfigRow {
    QString name;
    QString value;
    bool operator==(const ConfigRow&) const = default;
};

struct ConfigFailure {
    QString fact; // shown as "Error-" + fact
    QString className;
    QString message;
};

// The printer rows: the window fills them from the print system, which the
// form-free layer does not link.
struct PrinterFacts {
    QString name = QString::fromLatin1(kNotAvailable);
    QString sizePhysical = QString::fromLatin1(kNotAvailable);  // "W x H" device pixels
    QString sizeAvailable = QString::fromLatin1(kNotAvailable); // printable area
    QString resolution = QString::fromLatin1(kNotAvailable);    // "X x Y" dpi
    QString maxColors = QString::fromLatin1(kNotAvailable);
};

// What the caller knows and the system does not.
struct ConfigInput {
    QString programName;
    int major = 0, minor = 0, release = 0, build = 0;
    QString productVersion;
    QString mainFont;       // name + ", " + size
    QString programFolder;  // trailing '/'
    QString configFolder;   // trailing '/'
    QString styleName;      // the widget style in use ("ScreenThemes")
    bool darkModeAllowed = true;
    int appsUseLightTheme = 1;
    double initialScale = 1.0;
    PrinterFacts printer;
    // The rest is the real system; tests point it elsewhere.
    QString procFolder = QStringLiteral("/proc/");
    QString dmiFolder = QStringLiteral("/sys/class/dmi/id/");
};

// The row names in their order for this system (the processor and board
// groups collapse to one "n.a." row each when the system does not tell).
QList<ConfigRow> collectConfigurationInfo(const ConfigInput& input, QList<ConfigFailure>* failures = nullptr);

// "*Start", every row as name=value, "*End", lines ending in CR LF.
QString configurationClipboardText(const QList<ConfigRow>& rows);

bool configurationInfoDisabled(const QString& programFolder);

// Helpers with their own rules, open for tests.
QString formatUpTime(double seconds); // "1d, 2h, 3m, 4s"
// Working set in units of 1024 × 1000 bytes, rounded, + " mb".
QString formatMegabytes(qint64 bytes);
// "1" when a test file can be created in folder and deleted again.
QString canWriteFolder(const QString& folder);

} // namespace korvimo
