#include "settings/configinfo.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QScreen>
#include <QStorageInfo>
#include <QSysInfo>
#include <cmath>
#include <stdexcept>
#include <typeinfo>
#include <unistd.h>
#include <grp.h>
#include <pwd.h>

namespace korvimo {

namespace {

const QString kNa = QString::fromLatin1(kNotAvailable);

QString readSmallFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.read(1 << 20));
}

// "Key:   value" lines of /proc/meminfo, /proc/self/status and /proc/cpuinfo.
QString procField(const QString& text, const QString& key)
{
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const qsizetype colon = line.indexOf(QLatin1Char(':'));
        if (colon > 0 && line.left(colon).trimmed() == key)
            return line.mid(colon + 1).trimmed();
    }
    return {};
}

// A "1234 kB" field in bytes; -1 when absent.
qint64 kilobytes(const QString& text, const QString& key)
{
    const QString v = procField(text, key);
    if (v.isEmpty())
        return -1;
    bool ok = false;
    const qint64 kb = v.section(QLatin1Char(' '), 0, 0).toLongLong(&ok);
    return ok ? kb * 1024 : -1;
}

QString withSlash(QString folder)
{
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

QString flag(bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); }

QString driveAvailable(const QString& folder)
{
    const QStorageInfo s(folder);
    if (!s.isValid())
        return kNa;
    return QString::number(s.bytesAvailable()) + QStringLiteral(" b");
}

// Windows' drive kinds, told from the file system that holds the folder.
QString driveType(const QString& folder)
{
    const QStorageInfo s(folder);
    if (!s.isValid())
        return kNa;
    const QString fs = QString::fromLatin1(s.fileSystemType());
    QString kind = QStringLiteral("Fixed");
    static const QStringList remote{"nfs", "nfs4", "cifs", "smb3", "smbfs", "fuse.sshfs", "9p", "afs", "ceph"};
    static const QStringList ram{"tmpfs", "ramfs"};
    static const QStringList optical{"iso9660", "udf"};
    if (remote.contains(fs))
        kind = QStringLiteral("Remote");
    else if (ram.contains(fs))
        kind = QStringLiteral("RAMDisk");
    else if (optical.contains(fs))
        kind = QStringLiteral("CDROM");
    else if (s.rootPath().startsWith(QLatin1String("/media/")) || s.rootPath().startsWith(QLatin1String("/run/media/")))
        kind = QStringLiteral("Removable");
    return kind + QStringLiteral(" (") + fs + QLatin1Char(')');
}

QString userName()
{
    if (const passwd* pw = getpwuid(geteuid()))
        return QString::fromLocal8Bit(pw->pw_name);
    return qEnvironmentVariable("USER", kNa);
}

// Root, or a member of the groups that may use sudo.
bool userIsAdmin()
{
    if (geteuid() == 0)
        return true;
    const int n = getgroups(0, nullptr);
    if (n <= 0)
        return false;
    std::vector<gid_t> groups(static_cast<size_t>(n));
    if (getgroups(n, groups.data()) < 0)
        throw std::runtime_error("getgroups failed");
    for (gid_t g : groups) {
        if (const group* gr = getgrgid(g)) {
            const QString name = QString::fromLocal8Bit(gr->gr_name);
            if (name == QLatin1String("sudo") || name == QLatin1String("wheel") || name == QLatin1String("admin"))
                return true;
        }
    }
    return false;
}

bool processRunning(const QString& procFolder, const QString& name)
{
    const QDir proc(procFolder);
    for (const QString& pid : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (!pid.front().isDigit())
            continue;
        if (readSmallFile(procFolder + pid + QStringLiteral("/comm")).trimmed().startsWith(name))
            return true;
    }
    return false;
}

QString memoryPair(qint64 total, qint64 available)
{
    if (total < 0 || available < 0)
        return kNa;
    return formatMegabytes(total) + QStringLiteral(" / ") + formatMegabytes(available);
}

class Rows {
public:
    Rows(QList<ConfigFailure>* failures) : m_failures(failures) {}

    void add(const QString& name, const QString& value) { m_rows.append({name, value}); }

    // Adds the row, or notes the failure under its own fact name and goes on.
    void add(const QString& name, const std::function<QString()>& value, const QString& fact = QString())
    {
        try {
            add(name, value());
        } catch (const std::exception& e) {
            fail(fact.isEmpty() ? name : fact, QString::fromLatin1(typeid(e).name()), QString::fromLocal8Bit(e.what()));
        } catch (...) {
            fail(fact.isEmpty() ? name : fact, QStringLiteral("Unknown"), QStringLiteral("Unknown"));
        }
    }

    QList<ConfigRow> take() { return std::move(m_rows); }

private:
    void fail(const QString& fact, const QString& cls, const QString& msg)
    {
        if (m_failures)
            m_failures->append({fact, cls, msg});
    }
    QList<ConfigRow> m_rows;
    QList<ConfigFailure>* m_failures;
};

} // namespace

QString formatUpTime(double seconds)
{
    qint64 s = qint64(seconds);
    const qint64 d = s / 86400;
    s %= 86400;
    const qint64 h = s / 3600;
    s %= 3600;
    const qint64 m = s / 60;
    s %= 60;
    return QStringLiteral("%1d, %2h, %3m, %4s").arg(d).arg(h).arg(m).arg(s);
}

QString formatMegabytes(qint64 bytes)
{
    return QString::number(qint64(std::nearbyint(double(bytes) / (1024.0 * 1000.0)))) + QStringLiteral(" mb");
}

QString canWriteFolder(const QString& folder)
{
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return flag(false);
    const QString path = withSlash(folder) + QStringLiteral("$cdtmp.tmp");
    if (QFileInfo::exists(path))
        return flag(false); // someone else's file: not ours to delete
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return flag(false);
    f.close();
    return flag(f.remove());
}

bool configurationInfoDisabled(const QString& programFolder)
{
    return QFileInfo::exists(withSlash(programFolder) + QLatin1String(kNoConfigurationInfoFile));
}

QString configurationClipboardText(const QList<ConfigRow>& rows)
{
    const QString crlf = QStringLiteral("\r\n");
    QString out = QStringLiteral("*Start") + crlf;
    for (const ConfigRow& r : rows)
        out += r.name + QLatin1Char('=') + r.value + crlf;
    return out + QStringLiteral("*End") + crlf;
}

QList<ConfigRow> collectConfigurationInfo(const ConfigInput& in, QList<ConfigFailure>* failures)
{
    Rows rows(failures);
    const QString proc = withSlash(in.procFolder);

    // Program.
    rows.add(QStringLiteral("Appl"), in.programName);
    rows.add(QStringLiteral("ApplVer"),
             QStringLiteral("%1.%2.%3 build %4").arg(in.major).arg(in.minor).arg(in.release).arg(in.build));
    rows.add(QStringLiteral("ApplProductVer"), in.productVersion);
    const QString exe = QCoreApplication::applicationFilePath();
    rows.add(QStringLiteral("ApplExe"), exe);
    rows.add(QStringLiteral("ApplExeSize"), [&] { return QString::number(QFileInfo(exe).size()) + QStringLiteral(" b"); });
    rows.add(QStringLiteral("ApplCmdLine"), [] {
        QStringList args;
        for (const QString& a : QCoreApplication::arguments())
            args << (a.contains(QLatin1Char(' ')) ? QLatin1Char('"') + a + QLatin1Char('"') : a);
        return args.join(QLatin1Char(' '));
    });
    rows.add(QStringLiteral("ApplMem"), [&] {
        const qint64 rss = kilobytes(readSmallFile(proc + QStringLiteral("self/status")), QStringLiteral("VmRSS"));
        if (rss < 0)
            throw std::runtime_error("no VmRSS in /proc/self/status");
        return formatMegabytes(rss);
    }, QStringLiteral("ProcessMemory"));
    rows.add(QStringLiteral("ApplFont"), in.mainFont);

    // Folders. Linux has no Windows folder and no system folder of it.
    const QString cur = withSlash(QDir::currentPath());
    const QString temp = withSlash(QDir::tempPath());
    rows.add(QStringLiteral("DirCur"), cur);
    rows.add(QStringLiteral("DirAppl"), in.programFolder);
    rows.add(QStringLiteral("DirTemp"), temp);
    rows.add(QStringLiteral("DirWin"), kNa);
    rows.add(QStringLiteral("DirWinSys"), kNa);
    rows.add(QStringLiteral("DirConfig"), in.configFolder);

    rows.add(QStringLiteral("DirCWCur"), [&] { return canWriteFolder(cur); });
    rows.add(QStringLiteral("DirCWAppl"), [&] { return canWriteFolder(in.programFolder); });
    rows.add(QStringLiteral("DirCWTemp"), [&] { return canWriteFolder(temp); });
    rows.add(QStringLiteral("DirCWWin"), kNa);
    rows.add(QStringLiteral("DirCWConfig"), [&] { return canWriteFolder(in.configFolder); });

    rows.add(QStringLiteral("DriveSizeAvailCallerCur"), [&] { return driveAvailable(cur); });
    rows.add(QStringLiteral("DriveSizeAvailCallerAppl"), [&] { return driveAvailable(in.programFolder); });
    rows.add(QStringLiteral("DriveSizeAvailCallerTemp"), [&] { return driveAvailable(temp); });
    rows.add(QStringLiteral("DriveSizeAvailCallerWin"), kNa);
    rows.add(QStringLiteral("DriveSizeAvailCallerConfig"), [&] { return driveAvailable(in.configFolder); });
    rows.add(QStringLiteral("DriveTypeCur"), [&] { return driveType(cur); });
    rows.add(QStringLiteral("DriveTypeAppl"), [&] { return driveType(in.programFolder); });
    rows.add(QStringLiteral("DriveTypeTemp"), [&] { return driveType(temp); });
    rows.add(QStringLiteral("DriveTypeWin"), kNa);
    rows.add(QStringLiteral("DriveTypeConfig"), [&] { return driveType(in.configFolder); });

    // Memory.
    const QString meminfo = readSmallFile(proc + QStringLiteral("meminfo"));
    const qint64 memTotal = kilobytes(meminfo, QStringLiteral("MemTotal"));
    const qint64 memAvail = kilobytes(meminfo, QStringLiteral("MemAvailable"));
    rows.add(QStringLiteral("MemInUse"), [&] {
        if (memTotal <= 0 || memAvail < 0)
            return kNa;
        const double load = 100.0 * double(memTotal - memAvail) / double(memTotal);
        return QString::number(qint64(std::nearbyint(load))) + QLatin1Char('%');
    });
    rows.add(QStringLiteral("MemTotalAvailPhys"), memoryPair(memTotal, memAvail));
    rows.add(QStringLiteral("MemTotalAvailPageFile"),
             memoryPair(kilobytes(meminfo, QStringLiteral("SwapTotal")), kilobytes(meminfo, QStringLiteral("SwapFree"))));
    rows.add(QStringLiteral("MemTotalAvailVirtual"), kNa);

    // Operating system.
    rows.add(QStringLiteral("OsId"), QSysInfo::kernelType());
    rows.add(QStringLiteral("OsVer"), QSysInfo::kernelVersion());
    rows.add(QStringLiteral("OsCsd"), kNa);
    rows.add(QStringLiteral("OsNtoskrnlVersion"), kNa);
    rows.add(QStringLiteral("OsRegistry"), QSysInfo::prettyProductName() + QStringLiteral(" (ReleaseId ")
                                               + QSysInfo::productVersion() + QLatin1Char(')'));
    rows.add(QStringLiteral("OsRun"), [&] {
        const QString up = readSmallFile(proc + QStringLiteral("uptime"));
        bool ok = false;
        const double seconds = up.section(QLatin1Char(' '), 0, 0).toDouble(&ok);
        if (!ok)
            throw std::runtime_error("cannot read /proc/uptime");
        return formatUpTime(seconds);
    }, QStringLiteral("UpTime"));
    rows.add(QStringLiteral("OsUserName"), userName());
    rows.add(QStringLiteral("OsCompName"), QSysInfo::machineHostName());
    rows.add(QStringLiteral("OsUserIsAdmin"), [] { return flag(userIsAdmin()); }, QStringLiteral("IsAdmin"));
    rows.add(QStringLiteral("OsIsWow64"), flag(QSysInfo::buildCpuArchitecture() != QSysInfo::currentCpuArchitecture()));
    rows.add(QStringLiteral("OsLang"), QLocale::system().name());
    rows.add(QStringLiteral("OsLocalDecimalSeparator"), QLocale::system().decimalPoint());
    rows.add(QStringLiteral("OsInTerminalServ"),
             flag(qEnvironmentVariableIsSet("SSH_CONNECTION") || qEnvironmentVariableIsSet("XRDP_SESSION")));
    rows.add(QStringLiteral("OsInVirtualBox"), [&] { return flag(processRunning(proc, QStringLiteral("VBoxService"))); },
             QStringLiteral("VirtualBox"));
    // The program runs natively, never under Wine.
    rows.add(QStringLiteral("OsWineAvail"), flag(false));

    // Processor.
    const QString cpu = readSmallFile(proc + QStringLiteral("cpuinfo"));
    const QString vendor = procField(cpu, QStringLiteral("vendor_id"));
    const QString model = procField(cpu, QStringLiteral("model name"));
    if (vendor.isEmpty() && model.isEmpty()) {
        rows.add(QStringLiteral("ProcRegistry"), kNa);
    } else {
        rows.add(QStringLiteral("ProcRegistryId"), QSysInfo::currentCpuArchitecture() + QStringLiteral(" Family ")
                                                       + procField(cpu, QStringLiteral("cpu family")) + QStringLiteral(" Model ")
                                                       + procField(cpu, QStringLiteral("model")) + QStringLiteral(" Stepping ")
                                                       + procField(cpu, QStringLiteral("stepping")));
        rows.add(QStringLiteral("ProcRegistryVendor"), vendor.isEmpty() ? kNa : vendor);
        rows.add(QStringLiteral("ProcRegistryName"), model.isEmpty() ? kNa : model);
    }

    // Screen.
    const QList<QScreen*> screens = QGuiApplication::screens();
    const QScreen* primary = QGuiApplication::primaryScreen();
    rows.add(QStringLiteral("ScreenMonCount"), QString::number(screens.size()));
    if (primary) {
        const QRect g = primary->geometry();
        const QRect v = primary->virtualGeometry();
        rows.add(QStringLiteral("ScreenWxH"), QStringLiteral("%1x%2").arg(g.width()).arg(g.height()));
        rows.add(QStringLiteral("ScreenDesktopLTRB"),
                 QStringLiteral("%1,%2,%3,%4").arg(v.left()).arg(v.top()).arg(v.right() + 1).arg(v.bottom() + 1));
        rows.add(QStringLiteral("ScreenDPICurrent"), QString::number(qRound(96.0 * primary->devicePixelRatio())));
        rows.add(QStringLiteral("ScreenScaleCurrent"), QString::number(primary->devicePixelRatio(), 'f', 2));
    } else {
        for (const char* n : {"ScreenWxH", "ScreenDesktopLTRB", "ScreenDPICurrent", "ScreenScaleCurrent"})
            rows.add(QString::fromLatin1(n), kNa);
    }
    rows.add(QStringLiteral("ScreenInitScaleMainMonitor"), QString::number(in.initialScale, 'f', 2));
    const int depth = primary ? primary->depth() : 0;
    rows.add(QStringLiteral("ScreenMaxCol"), depth <= 0 ? kNa : depth > 8 ? QStringLiteral("256+") : QString::number(1 << depth));
    rows.add(QStringLiteral("ScreenCol"), depth <= 0 ? kNa : QString::number(depth) + QStringLiteral(" bit"));
    rows.add(QStringLiteral("ScreenThemes"), in.styleName.isEmpty() ? kNa : in.styleName);
    rows.add(QStringLiteral("ScreenAero"), kNa);
    rows.add(QStringLiteral("ScreenDarkModeAllowed"), flag(in.darkModeAllowed));
    rows.add(QStringLiteral("ScreenAppsLightTheme"), QString::number(in.appsUseLightTheme));

    // System board.
    const QString dmi = withSlash(in.dmiFolder);
    const QString biosDate = readSmallFile(dmi + QStringLiteral("bios_date")).trimmed();
    const QString maker = readSmallFile(dmi + QStringLiteral("sys_vendor")).trimmed();
    const QString product = readSmallFile(dmi + QStringLiteral("product_name")).trimmed();
    if (biosDate.isEmpty() && maker.isEmpty() && product.isEmpty()) {
        rows.add(QStringLiteral("SysRegistry"), kNa);
    } else {
        rows.add(QStringLiteral("SysRegistryDate"), biosDate.isEmpty() ? kNa : biosDate);
        rows.add(QStringLiteral("SysRegistryManufacturer"), maker.isEmpty() ? kNa : maker);
        rows.add(QStringLiteral("SysRegistryProductName"), product.isEmpty() ? kNa : product);
    }

    rows.add(QStringLiteral("CurDateTime"), QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));

    rows.add(QStringLiteral("Printer"), in.printer.name);
    rows.add(QStringLiteral("PrinterWxHPhys"), in.printer.sizePhysical);
    rows.add(QStringLiteral("PrinterWxHAvail"), in.printer.sizeAvailable);
    rows.add(QStringLiteral("PrinterResXxY"), in.printer.resolution);
    rows.add(QStringLiteral("PrinterMaxCol"), in.printer.maxColors);

    rows.add(QStringLiteral("LastLine"), QStringLiteral("1"));
    return rows.take();
}

} // namespace korvimo
