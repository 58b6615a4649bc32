// Comparisons through the readers: a request with a second volume section,
// and korvimo-cli compare on two files of any type.
#include <gtest/gtest.h>

#include <QProcess>

#include "library/libfixture.h"

using namespace korvimo;

namespace {

QStringList odRequest(const QStringList& od, const QStringList& extra = {})
{
    QStringList r = {"[**Import variables**]", "VolumesType=OD", "BaseDiagramFromLibrary=011400"};
    r += extra;
    r += QStringList{"[**Arms**]", "ARMNO;ANGLE;NAME", "1;0;a", "2;90;b", "3;180;c", "4;270;d",
                     "[**OD**]", "ARMFROM;ARMTO;VOLUME"};
    r += od;
    return r;
}

// The content block of the line that labels the volume name in the template
// (scripts keep their lines in place: a fixed label stands where its volume
// label stood), or "?" when the template has none.
QString labelOf(const DiagramDocument& doc, const QString& name)
{
    static QStringList templ = [] {
        test::LibEnv env;
        env.files.StromenBestandOpenen(env.write("t.kvoimp", test::crlf(odRequest({}))));
        return env.doc.script;
    }();
    for (int i = 0; i < templ.size() && i < doc.script.size(); ++i) {
        if (templ[i].startsWith("TXT;") && templ[i].endsWith(";I;[" + name + "];"))
            return doc.script[i].section(';', -3, -2);
    }
    return "?";
}

struct Cli {
    QTemporaryDir dir;
    QString err;
    QString path(const QString& name) const { return dir.path() + "/" + name; }
    int run(const QStringList& args)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", dir.path() + "/config");
        p.setProcessEnvironment(env);
        p.start(test::binDir() + "/korvimo-cli", args);
        p.waitForFinished(60000);
        err = QString::fromLocal8Bit(p.readAllStandardError());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }
};

} // namespace

TEST(Analysis_CompareReadersTests, RequestWithScenarioSectionBecomesTheComparison)
{
    // OD 1->2 goes 120 -> 150 (+30) and 1->3 480 -> 400 (-80); arm 1 to 4 only in the scenario (+65).
    test::LibEnv env;
    QStringList r = odRequest({"1;2;120", "1;3;480"}, {"ScenarioVolumesType=OD"});
    r << "[**ScenarioOD**]" << "ARMFROM;ARMTO;VOLUME" << "1;2;150" << "1;3;400" << "1;4;65";
    env.files.StromenBestandOpenen(env.write("plan.kvoimp", test::crlf(r)));
    EXPECT_TRUE(env.messenger.entries.isEmpty()) << env.messenger.texts().join('\n').toStdString();
    EXPECT_EQ(env.volume("0003"), 30);
    EXPECT_EQ(env.volume("0002"), 80);
    EXPECT_EQ(env.volume("0001"), 65);
    EXPECT_EQ(labelOf(env.doc, "0003"), "T;[\"+30\"]");
    EXPECT_EQ(labelOf(env.doc, "0002"), "T;[\"-80\"]");
    EXPECT_EQ(env.doc.general.sfactor, 6200); // from the highest change, 80
    EXPECT_EQ(env.doc.general.intmin, 1);
    EXPECT_TRUE(env.leftovers().isEmpty());

    // ComparePercentages=1 in the request adds the share of the base.
    test::LibEnv pct;
    r.insert(3, "ComparePercentages=1");
    pct.files.StromenBestandOpenen(pct.write("pct.kvoimp", test::crlf(r)));
    EXPECT_EQ(labelOf(pct.doc, "0003"), "T;[\"+30 (+25 %)\"]");

    // FixedScale still has the last word, so a series of comparisons shares one scale.
    test::LibEnv fixed;
    r.insert(3, "FixedScale=2500");
    fixed.files.StromenBestandOpenen(fixed.write("fixed.kvoimp", test::crlf(r)));
    EXPECT_EQ(fixed.doc.general.sfactor, 2500);
}

TEST(Analysis_CompareReadersTests, RequestWithTwoEmptySetsSaysSo)
{
    // A comparison of nothing with nothing is an error; the base diagram stays.
    test::LibEnv env;
    QStringList r = odRequest({"1;2;0"}, {"ScenarioVolumesType=DIR"});
    r << "[**ScenarioDIR**]" << "DIRECTION;VOLUME" << "0003;0";
    env.files.StromenBestandOpenen(env.write("empty.kvoimp", test::crlf(r)));
    ASSERT_EQ(env.messenger.count(RecordingMessenger::Entry::Error), 1);
    EXPECT_TRUE(env.messenger.texts().value(0).contains("empty.kvoimp"));
    EXPECT_EQ(labelOf(env.doc, "0003").left(2), "I;");
}

TEST(Analysis_CompareReadersTests, CliComparesAnyTwoInputsIntoADiagramFile)
{
    // Two requests give a .kvo that opens again with the changes; a picture works too.
    Cli cli;
    test::writeAll(cli.path("base.kvoimp"), test::crlf(odRequest({"1;2;120", "1;3;480"})));
    test::writeAll(cli.path("plan.kvoimp"), test::crlf(odRequest({"1;2;240", "1;3;480"})));
    ASSERT_EQ(cli.run({"compare", cli.path("base.kvoimp"), cli.path("plan.kvoimp"), cli.path("out.kvo"),
                       "--percent"}),
              0)
        << cli.err.toStdString();
    test::LibEnv env;
    env.files.StromenBestandOpenen(cli.path("out.kvo"));
    EXPECT_EQ(env.volume("0003"), 120);
    EXPECT_EQ(env.volume("0002"), 0);
    EXPECT_EQ(labelOf(env.doc, "0003"), "T;[\"+120 (+100 %)\"]");
    EXPECT_EQ(labelOf(env.doc, "0002"), "T;[\"\"]");

    ASSERT_EQ(cli.run({"compare", cli.path("base.kvoimp"), cli.path("plan.kvoimp"), cli.path("out.png"),
                       "--width", "300"}),
              0)
        << cli.err.toStdString();
    EXPECT_TRUE(QFileInfo(cli.path("out.png")).size() > 0);

    // The OD file and its request twin: the same data set twice gives no change at all, and that
    // is still a diagram (every band gone), not an error.
    const QString in = test::binDir() + "/AddOn/Voorbeeld.in";
    ASSERT_EQ(cli.run({"compare", in, in, cli.path("same.kvo"), "--zero"}), 0) << cli.err.toStdString();
    test::LibEnv same;
    same.files.StromenBestandOpenen(cli.path("same.kvo"));
    EXPECT_EQ(same.volume("0002"), 0);
    EXPECT_EQ(labelOf(same.doc, "0002"), "T;[\"0\"]");
}

TEST(Analysis_CompareReadersTests, CliRefusals)
{
    // Both empty: exit 1 and a message, nothing written. Output over an input: exit 1. Bad
    // arguments: exit 2. Different bases: exit 1.
    Cli cli;
    test::writeAll(cli.path("a.kvoimp"), test::crlf(odRequest({"1;2;0"})));
    test::writeAll(cli.path("b.kvoimp"), test::crlf(odRequest({})));
    EXPECT_EQ(cli.run({"compare", cli.path("a.kvoimp"), cli.path("b.kvoimp"), cli.path("o.kvo")}), 1);
    EXPECT_FALSE(cli.err.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(cli.path("o.kvo")));

    test::writeAll(cli.path("c.kvoimp"), test::crlf(odRequest({"1;2;5"})));
    EXPECT_EQ(cli.run({"compare", cli.path("c.kvoimp"), cli.path("c.kvoimp"), cli.path("c.kvoimp")}), 2);
    const QString copy = cli.path("c.kvo");
    QFile::copy(test::binDir() + "/AddOn/Voorbeeld.kvo", copy);
    EXPECT_EQ(cli.run({"compare", copy, cli.path("c.kvoimp"), copy}), 1);

    EXPECT_EQ(cli.run({"compare", cli.path("c.kvoimp"), cli.path("c.kvoimp")}), 2);
    EXPECT_EQ(cli.run({"compare", cli.path("c.kvoimp"), cli.path("c.kvoimp"), cli.path("x.kvo"), "--width"}), 2);
    EXPECT_EQ(cli.run({"compare", cli.path("c.kvoimp"), cli.path("c.kvoimp"), cli.path("x.doc")}), 2);

    QStringList five = odRequest({"1;2;5"});
    five.replace(2, "BaseDiagramFromLibrary=010500");
    test::writeAll(cli.path("five.kvoimp"), test::crlf(five));
    EXPECT_EQ(cli.run({"compare", cli.path("c.kvoimp"), cli.path("five.kvoimp"), cli.path("x.kvo")}), 1);
    EXPECT_FALSE(QFileInfo::exists(cli.path("x.kvo")));
}

TEST(Analysis_CompareReadersTests, RenderAndConvertKeepTheSeriesScale)
{
    // Two requests of one series with other highest volumes: both are drawn and stored with the
    // fixed scale; without it each takes its own.
    Cli cli;
    const auto scaleOf = [&](const QStringList& od, const QStringList& extra) {
        test::writeAll(cli.path("s.kvoimp"), test::crlf(odRequest(od, extra)));
        EXPECT_EQ(cli.run({"render", cli.path("s.kvoimp"), cli.path("s.png"), "--width", "200"}), 0)
            << cli.err.toStdString();
        EXPECT_EQ(cli.run({"convert", cli.path("s.kvoimp"), cli.path("s.kvo")}), 0) << cli.err.toStdString();
        for (const QString& l : QString::fromLatin1(test::readAll(cli.path("s.kvo"))).split("\r\n"))
            if (l.startsWith("sfactor="))
                return l.mid(8).toInt();
        return -1;
    };
    EXPECT_EQ(scaleOf({"1;2;120", "1;3;200"}, {"FixedScale=1500"}), 1500);
    EXPECT_EQ(scaleOf({"1;2;120", "1;3;900"}, {"FixedScale=1500"}), 1500);
    EXPECT_EQ(scaleOf({"1;2;120", "1;3;900"}, {}), 600);
    // A scale that is no scale is an error the command reports: nothing is drawn or stored.
    test::writeAll(cli.path("bad.kvoimp"), test::crlf(odRequest({"1;2;120"}, {"FixedScale=abc"})));
    EXPECT_EQ(cli.run({"render", cli.path("bad.kvoimp"), cli.path("bad.png")}), 1);
    EXPECT_TRUE(cli.err.contains("abc")) << cli.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(cli.path("bad.png")));
}
