// Every template, opened directly and through every importer with every arm
// count it serves, for both traffic sides, must draw without a message. The
// drawing half runs once the renderer is part of the program.
#include <gtest/gtest.h>

#include <QRegularExpression>

#include <QRandomGenerator>

#include "document/libraryfiles.h"
#include "document/textfile.h"
#include "library/libfixture.h"

#if __has_include("render/maakmeta.h")
#include "canvas/metafile.h"
#include "render/maakmeta.h"
#define KORVIMO_HAVE_RENDERER 1
#endif

using namespace korvimo;

namespace {

const char* const kCodes[] = {"011301", "011302", "011303", "011304", "011400", "010500", "010600",
                              "010700", "010800", "020301", "020302", "020303", "020304", "020400", "020500", "020600"};

// Which arms a template carries traffic on, from its arm definitions.
QList<int> presentArms(test::LibEnv& env, const QString& code)
{
    QList<int> arms;
    const QStringList general = libfiles::sectionOf(env.library.DiagramFromLibToStringList(code),
                                                    "[**General variables**]");
    for (const QString& line : general) {
        if (line.startsWith("arm") && !line.startsWith("armc") && !line.startsWith("armd") && line.size() > 6)
            arms << line.mid(3, 2).toInt();
    }
    return arms;
}

// Checks the document as it stands: a drawing with no message at all.
void expectCleanDrawing(test::LibEnv& env, const std::string& what)
{
    EXPECT_TRUE(env.messenger.entries.isEmpty()) << what << ": " << env.messenger.texts().join('\n').toStdString();
    EXPECT_FALSE(env.doc.script.isEmpty()) << what;
    EXPECT_TRUE(env.leftovers().isEmpty()) << what;
#ifdef KORVIMO_HAVE_RENDERER
    Metafile target;
    const RenderOutcome r = MaakMeta(env.doc, env.ctx, target, "EMF", "S");
    EXPECT_TRUE(r.completed) << what << ": " << r.errorText.toStdString();
    EXPECT_EQ(r.brokenLines, 0) << what;
    EXPECT_TRUE(env.messenger.entries.isEmpty()) << what << ": " << env.messenger.texts().join('\n').toStdString();
#endif
}

QList<int> volumeSet(QRandomGenerator& rng, int kind, int n)
{
    QList<int> v;
    for (int i = 0; i < n; ++i) {
        switch (kind) {
        case 0: v << int(rng.bounded(5)); break;                               // small
        case 1: v << 2000 + int(rng.bounded(3000)); break;                     // large
        default: v << (rng.bounded(6) == 0 ? 3000 : int(rng.bounded(20))); break; // very unequal
        }
    }
    return v;
}

} // namespace

TEST(Library_TemplateRenderTests, EveryTemplateOpensDirectlyOnBothSides)
{
    // Each template from the library, right- and left-hand, as the new-diagram dialog opens it.
    for (const char* code : kCodes) {
        for (bool left : {false, true}) {
            test::LibEnv env;
            ASSERT_TRUE(env.library.OpenBestandUitLib(QLatin1String(code), env.files, left));
            EXPECT_EQ(env.doc.general.arrowsize, left ? -40 : 40);
            expectCleanDrawing(env, std::string(code) + (left ? " left" : " right"));
        }
    }
}

TEST(Library_TemplateRenderTests, EveryTemplateThroughTheRequestWithAnyVolumes)
{
    // An import request per template with its own arms and small, large and very unequal volumes.
    QRandomGenerator rng(7);
    for (const char* code : kCodes) {
        for (int kind = 0; kind < 3; ++kind) {
            for (bool left : {false, true}) {
                test::LibEnv env;
                env.library.setLeftHandTraffic(left);
                const QList<int> arms = presentArms(env, QLatin1String(code));
                ASSERT_FALSE(arms.isEmpty()) << code;
                QStringList r = {"[**Import variables**]", "VolumesType=OD", QStringLiteral("BaseDiagramFromLibrary=%1").arg(code),
                                 "[**Arms**]", "ARMNO;ANGLE;NAME"};
                const int n = arms.size() <= 4 ? 4 : arms.size();
                for (int a : arms)
                    r << QStringLiteral("%1;%2;\"Arm %1\"").arg(a).arg((a - 1) * 360 / n + int(rng.bounded(7)) - 3);
                r << "[**OD**]" << "ARMFROM;ARMTO;VOLUME";
                const QList<int> v = volumeSet(rng, kind, arms.size() * arms.size());
                int i = 0;
                // A volume the template has no intensity line for (from an arm back into itself,
                // or to an arm that is drawn without movements, as the roundabouts with an arm
                // missing have it) would be reported as left out; those rows stay, with 0.
                const QStringList lines = libfiles::sectionOf(env.library.DiagramFromLibToStringList(QLatin1String(code)),
                                                              "[**Intensities**]");
                auto placed = [&](int a, int b) {
                    const QString name = odIntensityName(a, b, n);
                    return !name.isEmpty() && !lines.filter(QRegularExpression("^" + name + "=")).isEmpty();
                };
                for (int a : arms)
                    for (int b : arms) {
                        r << QStringLiteral("%1;%2;%3").arg(a).arg(b).arg(placed(a, b) ? v[i] : 0);
                        ++i;
                    }
                env.files.StromenBestandOpenen(env.write("t.kvoimp", test::crlf(r)));
                expectCleanDrawing(env, std::string(code) + " request " + std::to_string(kind) + (left ? " left" : ""));
            }
        }
    }
}

TEST(Library_TemplateRenderTests, OdAndCsvFilesForEveryArmCount)
{
    // OD and CSV files of two to eight arms with generated volumes open and draw.
    QRandomGenerator rng(11);
    for (int n = 2; n <= 8; ++n) {
        for (int kind = 0; kind < 3; ++kind) {
            const int m = n <= 3 ? 3 : n;
            QStringList od = {"Periode", QStringLiteral("K%1   ").arg(n).left(5) + QString::number(n) + "Titel"};
            QStringList csv = {"Periode", QStringLiteral("K%1;%1;Titel").arg(n)};
            const QList<int> v = volumeSet(rng, kind, 64);
            for (int i = 1; i <= (n == 2 ? 2 : m); ++i) {
                // File arm i is diagram arm m + 2 - i; diagram arms go round counter-clockwise.
                const int d = i == 1 ? 1 : m + 2 - i;
                const int angle = (d - 1) * 360 / (m <= 4 ? 4 : m);
                QString line = QStringLiteral("A%1").arg(i).leftJustified(5) + QString::number(angle).leftJustified(3)
                               + QStringLiteral("Straat %1").arg(i).leftJustified(20);
                QStringList cells = {QStringLiteral("A%1").arg(i), QString::number(angle), QStringLiteral("Straat %1").arg(i)};
                for (int j = 1; j <= 8; ++j) {
                    line += QString::number(v[(i - 1) * 8 + j - 1]).rightJustified(7);
                    cells << QString::number(v[(i - 1) * 8 + j - 1]);
                }
                od << line;
                csv << cells.join(';');
            }
            for (bool left : {false, true}) {
                test::LibEnv env;
                env.library.setLeftHandTraffic(left);
                env.files.StromenBestandOpenen(env.write("t.in", test::crlf(od)));
                expectCleanDrawing(env, "od " + std::to_string(n) + "/" + std::to_string(kind));
                test::LibEnv env2;
                env2.library.setLeftHandTraffic(left);
                env2.files.StromenBestandOpenen(env2.write("t.csv", test::crlf(csv)));
                expectCleanDrawing(env2, "csv " + std::to_string(n) + "/" + std::to_string(kind));
                EXPECT_EQ(env.doc.intensities, env2.doc.intensities);
            }
        }
    }
}

TEST(Library_TemplateRenderTests, EveryVersion2TypeOpensItsTemplate)
{
    // The ten version-2 diagram types with their twelve volumes, on both traffic sides.
    for (const char* type : {"234-kruispunt", "134-kruispunt", "124-kruispunt", "123-kruispunt", "1234-kruispunt",
                             "234-rotonde", "134-rotonde", "124-rotonde", "123-rotonde", "1234-rotonde"}) {
        for (bool left : {false, true}) {
            test::LibEnv env;
            env.library.setLeftHandTraffic(left);
            QStringList v2 = {"210", QLatin1String(type), "a", "b", "c", "d", "e", "f"};
            for (int i = 0; i < 12; ++i)
                v2 << QString::number(50 + 40 * i);
            env.files.StromenBestandOpenen(env.write("v2.kvo", test::crlf(v2)));
            expectCleanDrawing(env, std::string(type) + (left ? " left" : ""));
        }
    }
}
