#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QTableWidget>
#include <QTemporaryDir>
#include <unistd.h>

#include "settings/configinfo.h"
#include "support/testsupport.h"
#include "ui/dialogs/tconfiggegevensform.h"

using namespace korvimo;

namespace {

QStringList names(const QList<ConfigRow>& rows)
{
    QStringList out;
    for (const ConfigRow& r : rows)
        out << r.name;
    return out;
}

QString value(const QList<ConfigRow>& rows, const QString& name)
{
    for (const ConfigRow& r : rows) {
        if (r.name == name)
            return r.value;
    }
    return QStringLiteral("<missing>");
}

void put(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    ASSERT_TRUE(test::writeAll(path, bytes));
}

class Settings_ConfigInfoTests : public ::testing::Test {
protected:
    void SetUp() override
    {
        proc = dir.path() + QStringLiteral("/proc/");
        dmi = dir.path() + QStringLiteral("/dmi/");
        put(proc + "self/status", "Name:\tkorvimo\nVmRSS:\t  153600 kB\n");
        put(proc + "meminfo", "MemTotal:  8000000 kB\nMemAvailable: 2000000 kB\nSwapTotal: 1024000 kB\nSwapFree: 512000 kB\n");
        put(proc + "uptime", "93784.52 1000.00\n");
        put(proc + "cpuinfo", "vendor_id\t: GenuineIntel\ncpu family\t: 6\nmodel\t\t: 142\nmodel name\t: Test CPU @ 2.0GHz\nstepping\t: 10\n");
        put(dmi + "bios_date", "04/01/2014\n");
        put(dmi + "sys_vendor", "Acme\n");
        put(dmi + "product_name", "Box 1\n");
        input.programName = QStringLiteral("Korvimo");
        input.major = 1;
        input.minor = 2;
        input.release = 3;
        input.build = 4;
        input.productVersion = QStringLiteral("1.2.3.4");
        input.mainFont = QStringLiteral("Sans, 9");
        input.programFolder = dir.path() + QStringLiteral("/prog/");
        input.configFolder = dir.path() + QStringLiteral("/config/");
        QDir().mkpath(input.programFolder);
        QDir().mkpath(input.configFolder);
        input.procFolder = proc;
        input.dmiFolder = dmi;
    }

    QTemporaryDir dir;
    QString proc, dmi;
    ConfigInput input;
};

} // namespace

TEST_F(Settings_ConfigInfoTests, RowsInTheirFixedOrder)
{
    // Every group in its order, from the program to LastLine, with the
    // processor and board rows from /proc and /sys.
    QList<ConfigFailure> failures;
    const QList<ConfigRow> rows = collectConfigurationInfo(input, &failures);
    EXPECT_TRUE(failures.isEmpty());
    const QStringList expected{
        "Appl", "ApplVer", "ApplProductVer", "ApplExe", "ApplExeSize", "ApplCmdLine", "ApplMem", "ApplFont",
        "DirCur", "DirAppl", "DirTemp", "DirWin", "DirWinSys", "DirConfig",
        "DirCWCur", "DirCWAppl", "DirCWTemp", "DirCWWin", "DirCWConfig",
        "DriveSizeAvailCallerCur", "DriveSizeAvailCallerAppl", "DriveSizeAvailCallerTemp", "DriveSizeAvailCallerWin",
        "DriveSizeAvailCallerConfig", "DriveTypeCur", "DriveTypeAppl", "DriveTypeTemp", "DriveTypeWin", "DriveTypeConfig",
        "MemInUse", "MemTotalAvailPhys", "MemTotalAvailPageFile", "MemTotalAvailVirtual",
        "OsId", "OsVer", "OsCsd", "OsNtoskrnlVersion", "OsRegistry", "OsRun", "OsUserName", "OsCompName",
        "OsUserIsAdmin", "OsIsWow64", "OsLang", "OsLocalDecimalSeparator", "OsInTerminalServ", "OsInVirtualBox",
        "OsWineAvail",
        "ProcRegistryId", "ProcRegistryVendor", "ProcRegistryName",
        "ScreenMonCount", "ScreenWxH", "ScreenDesktopLTRB", "ScreenDPICurrent", "ScreenScaleCurrent",
        "ScreenInitScaleMainMonitor", "ScreenMaxCol", "ScreenCol", "ScreenThemes", "ScreenAero",
        "ScreenDarkModeAllowed", "ScreenAppsLightTheme",
        "SysRegistryDate", "SysRegistryManufacturer", "SysRegistryProductName",
        "CurDateTime", "Printer", "PrinterWxHPhys", "PrinterWxHAvail", "PrinterResXxY", "PrinterMaxCol", "LastLine"};
    EXPECT_EQ(names(rows), expected);

    EXPECT_EQ(value(rows, "ApplVer"), QStringLiteral("1.2.3 build 4"));
    EXPECT_EQ(value(rows, "ApplMem"), QStringLiteral("154 mb")); // 157286400 / 1024000 = 153.6
    EXPECT_EQ(value(rows, "DirAppl"), input.programFolder);
    EXPECT_EQ(value(rows, "DirWin"), QStringLiteral("n.a."));
    EXPECT_EQ(value(rows, "DirCWAppl"), QStringLiteral("1"));
    EXPECT_TRUE(value(rows, "DriveSizeAvailCallerAppl").endsWith(QStringLiteral(" b")));
    EXPECT_EQ(value(rows, "MemInUse"), QStringLiteral("75%"));
    EXPECT_EQ(value(rows, "OsRun"), QStringLiteral("1d, 2h, 3m, 4s"));
    EXPECT_EQ(value(rows, "ProcRegistryVendor"), QStringLiteral("GenuineIntel"));
    EXPECT_EQ(value(rows, "ProcRegistryName"), QStringLiteral("Test CPU @ 2.0GHz"));
    EXPECT_EQ(value(rows, "SysRegistryManufacturer"), QStringLiteral("Acme"));
    EXPECT_EQ(value(rows, "Printer"), QStringLiteral("n.a."));
    EXPECT_EQ(value(rows, "LastLine"), QStringLiteral("1"));
    // The write test leaves nothing behind.
    EXPECT_FALSE(QFile::exists(input.programFolder + "$cdtmp.tmp"));
}

TEST_F(Settings_ConfigInfoTests, MissingFactsGiveNaRowsOrReportedFailures)
{
    // Without processor and board facts each group is one "n.a." row; an
    // unreadable uptime or working set is reported by its fact name and the
    // list goes on.
    QFile::remove(proc + "cpuinfo");
    QDir(dmi).removeRecursively();
    QFile::remove(proc + "uptime");
    QFile::remove(proc + "self/status");
    QList<ConfigFailure> failures;
    const QList<ConfigRow> rows = collectConfigurationInfo(input, &failures);
    ASSERT_EQ(failures.size(), 2);
    EXPECT_EQ(failures[0].fact, QStringLiteral("ProcessMemory"));
    EXPECT_EQ(failures[1].fact, QStringLiteral("UpTime"));
    EXPECT_FALSE(failures[1].message.isEmpty());
    const QStringList n = names(rows);
    EXPECT_FALSE(n.contains("OsRun"));
    EXPECT_FALSE(n.contains("ApplMem"));
    EXPECT_EQ(n.indexOf("OsUserName"), n.indexOf("OsRegistry") + 1);
    EXPECT_EQ(value(rows, "ProcRegistry"), QStringLiteral("n.a."));
    EXPECT_EQ(value(rows, "SysRegistry"), QStringLiteral("n.a."));
    EXPECT_FALSE(n.contains("ProcRegistryId"));
    EXPECT_EQ(n.last(), QStringLiteral("LastLine"));
}

TEST_F(Settings_ConfigInfoTests, FormattingAndWriteTests)
{
    // Halves round to even; uptime splits into days to seconds; a folder
    // that cannot be written, a missing one, or one that already holds
    // someone's test file, answers 0 and that file stays.
    EXPECT_EQ(formatMegabytes(2560000), QStringLiteral("2 mb")); // 2.5
    EXPECT_EQ(formatMegabytes(3584000), QStringLiteral("4 mb")); // 3.5
    EXPECT_EQ(formatMegabytes(0), QStringLiteral("0 mb"));
    EXPECT_EQ(formatUpTime(59.9), QStringLiteral("0d, 0h, 0m, 59s"));
    EXPECT_EQ(formatUpTime(86400 * 3 + 61), QStringLiteral("3d, 0h, 1m, 1s"));
    EXPECT_EQ(canWriteFolder(dir.path() + "/nowhere"), QStringLiteral("0"));
    put(input.configFolder + "$cdtmp.tmp", "mine");
    EXPECT_EQ(canWriteFolder(input.configFolder), QStringLiteral("0"));
    EXPECT_EQ(test::readAll(input.configFolder + "$cdtmp.tmp"), QByteArray("mine"));
    const QString locked = dir.path() + "/locked";
    QDir().mkpath(locked);
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);
    if (::access(locked.toLocal8Bit().constData(), W_OK) == 0)
        GTEST_SKIP() << "running as root: every folder is writable";
    EXPECT_EQ(canWriteFolder(locked), QStringLiteral("0"));
}

TEST_F(Settings_ConfigInfoTests, WindowShowsRowsCopiesThemAndCanBeSwitchedOff)
{
    // The list holds every row; Copy puts *Start, name=value lines and *End on
    // the clipboard; with NoConfigurationInfo.wnd only the notice appears.
    TConfigGegevensForm form;
    QStringList told;
    form.tellInfo = [&](const QString& title, const QString& text) { told << title + "|" + text; };
    form.tellError = [&](const QString& title, const QString&) { told << title; };
    QFile::remove(proc + "uptime");
    form.open(input);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(told, QStringList{"Error-UpTime"});
    ASSERT_EQ(form.list()->rowCount(), form.rows().size());
    EXPECT_EQ(form.list()->item(0, 0)->text(), QStringLiteral("Appl"));
    EXPECT_EQ(form.list()->item(0, 1)->text(), QStringLiteral("Korvimo"));
    form.CopyButtonClick();
    const QString clip = QApplication::clipboard()->text();
    EXPECT_TRUE(clip.startsWith(QStringLiteral("*Start\r\nAppl=Korvimo\r\nApplVer=1.2.3 build 4\r\n")));
    EXPECT_TRUE(clip.endsWith(QStringLiteral("LastLine=1\r\n*End\r\n")));
    EXPECT_EQ(clip.count(QStringLiteral("\r\n")), form.rows().size() + 2);
    form.close();

    told.clear();
    put(input.programFolder + "NoConfigurationInfo.wnd", "");
    TConfigGegevensForm off;
    off.tellInfo = form.tellInfo;
    off.tellError = form.tellError;
    off.open(input);
    EXPECT_FALSE(off.isVisible());
    EXPECT_EQ(told, QStringList{"Configuration info|This function is disabled."});
    EXPECT_EQ(off.list()->rowCount(), 0);
}
