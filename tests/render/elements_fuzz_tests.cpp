#include <gtest/gtest.h>

#include <random>

#include "canvas/qtplayer.h"
#include "elements_harness.h"

using namespace korvimo;

namespace {

// Coordinates that break naive geometry: zero, neighbours, the largest a
// coordinate line can hold once scaled, and their negatives.
const int kExtremes[] = {0, 1, -1, 2, 100, 101, 99999, -99999, 214748364, -214748364};
const char* kValues[] = {"0", "1", "-1", "50", "2147483647", "-2147483647", "400"};

QString pick(std::mt19937& rng, int n) { return QString::number(std::uniform_int_distribution<int>(0, n - 1)(rng)); }

struct FuzzCase {
    QStringList coordinates, values, script;
};

FuzzCase makeCase(std::mt19937& rng)
{
    FuzzCase c;
    std::uniform_int_distribution<int> coord(0, static_cast<int>(std::size(kExtremes)) - 1);
    std::uniform_int_distribution<int> any(-3000, 3000);
    std::uniform_int_distribution<int> coin(0, 3);
    // Six points; often some of them coincide.
    for (int i = 1; i <= 6; ++i) {
        const int x = coin(rng) == 0 ? any(rng) : kExtremes[coord(rng)];
        const int y = coin(rng) == 0 ? any(rng) : kExtremes[coord(rng)];
        c.coordinates << QStringLiteral("%1=%2;%3;").arg(i, 4, 10, QLatin1Char('0')).arg(x).arg(y);
    }
    for (int i = 0; i < static_cast<int>(std::size(kValues)); ++i)
        c.values << QStringLiteral("%1=%2;%3;").arg(100 + i, 4, 10, QLatin1Char('0')).arg(kValues[i]).arg(i % 2 ? 'I' : 'V');
    const auto p = [&] { return QStringLiteral("000") + QString::number(1 + std::uniform_int_distribution<int>(0, 5)(rng)); };
    const auto v = [&] { return QStringLiteral("[01%1+01%2]").arg(pick(rng, 7).rightJustified(2, '0'), pick(rng, 7).rightJustified(2, '0')); };
    const char* forms[] = {"A", "B", "C", "X"};
    for (int k = 0; k < 4; ++k) {
        switch (std::uniform_int_distribution<int>(0, 3)(rng)) {
        case 0:
        case 1:
            c.script << QStringLiteral("ARC;1;%1;%2;%3;%4;%5;%6;%7;255;%8;A;A;")
                            .arg(p(), p(), p(), p(), v(), v(), v(), QLatin1String(forms[coin(rng)]));
            break;
        case 2:
            c.script << (coin(rng) ? QStringLiteral("CIR;1;%1;%2;S;%3;%4;%5;%6;%7;%8;%9;%10;")
                                         .arg(p(), v(), p(), p(), v(), v(), p(), p(), v())
                                         .arg(v())
                                   : QStringLiteral("CIR;1;%1;%2;F;").arg(p(), v()));
            break;
        default:
            c.script << QStringLiteral("TXT;1;R;[%1;%2];C;%3;%4;%5;R;YYY;%6;0;I;%7;")
                            .arg(p(), p(), v(), v())
                            .arg(std::uniform_int_distribution<int>(-100000, 100000)(rng))
                            .arg(std::uniform_int_distribution<int>(-5000, 5000)(rng))
                            .arg(v());
        }
    }
    return c;
}

} // namespace

TEST(Render_ElementFuzzTests, ExtremeAndCoincidentPointsNeverBreakTheDrawing)
{
    // 400 random diagrams of arcs, circles and texts on extreme, coincident points and huge values: every
    // drawing finishes, reports only broken geometry, and replays onto an image.
    std::mt19937 rng(20261209);
    for (int i = 0; i < 400; ++i) {
        const FuzzCase c = makeCase(rng);
        test::ElementDrawing d;
        d.doc.coordinates = c.coordinates;
        d.doc.intensities = c.values;
        d.doc.script = c.script;
        d.ctx.view.showIntersections = i % 3 == 0;
        d.ctx.view.testPolyDrawing = i % 5 == 0;
        d.render();
        ASSERT_TRUE(d.outcome.completed) << c.script.join('\n').toStdString() << "\n" << d.outcome.errorText.toStdString();
        // Generated lines are bounded: at most two per arc line, and halves never split again.
        ASSERT_LE(d.target.records().size(), 4000) << c.script.join('\n').toStdString();
        if (i % 20 == 0)
            renderToImage(d.target, QSize(64, 64));
    }
}

TEST(Render_ElementFuzzTests, EveryPointCoincident)
{
    // All four arc points, the circle parts and the text's two points on one spot: no crash, no hang.
    test::ElementDrawing d;
    d.doc.coordinates = {"0001=50;50;"};
    d.doc.intensities = {"0100=100;V;", "0101=0;V;"};
    d.doc.script = {"ARC;1;0001;0001;0001;0001;[0101];[0101];[0100];0;A;A;A;",
                    "ARC;1;0001;0001;0001;0001;[0101];[0101];[0100];0;B;A;A;",
                    "AR2;1;0001;0001;0001;0001;[0100];[0100];[0100];0;C;A;A;",
                    "CIR;1;0001;[0100];S;0001;0001;[0101];[0101];0001;0001;[0101];[0101];",
                    "CIR;1;0001;[0101];S;0001;0001;[0101];[0101];0001;0001;[0101];[0101];",
                    "TXT;1;R;[0001;0001];C;[0100];[0100];0;C;NNN;100;0;T;[\"x\"];"};
    d.render();
    EXPECT_TRUE(d.outcome.completed);
    EXPECT_EQ(d.records(MetaRecordType::TextOut).size(), 1);
}
