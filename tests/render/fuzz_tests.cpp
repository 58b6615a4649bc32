#include <gtest/gtest.h>

#include <QRegularExpression>
#include <random>

#include "render/conversionerror.h"
#include "render/scriptline.h"
#include "render/volumes.h"
#include "rendertestsupport.h"

using namespace korvimo;

namespace {

// Text made of the characters the line formats care about, plus noise.
QString randomText(std::mt19937& rng, int maxLength)
{
    static const QString alphabet = QStringLiteral("0123456789;;;;[]+-\"#*AINVLERCGPTXHMBS =.,x\t\u00e9");
    std::uniform_int_distribution<int> len(0, maxLength);
    std::uniform_int_distribution<int> pick(0, static_cast<int>(alphabet.size()) - 1);
    QString s;
    const int n = len(rng);
    for (int i = 0; i < n; ++i)
        s += alphabet[pick(rng)];
    return s;
}

QString randomName(std::mt19937& rng)
{
    return QStringLiteral("%1").arg(std::uniform_int_distribution<int>(0, 12)(rng), 4, 10, QLatin1Char('0'));
}

// A script line that is mostly well formed, with random damage.
QString randomScriptLine(std::mt19937& rng)
{
    static const char* codes[] = {"LNE", "GRP", "ARC", "AR2", "CIR", "TXT", "NTH", "REC", "IMG", "lne", "#LN", "*"};
    std::uniform_int_distribution<int> coin(0, 9);
    QString line = QString::fromLatin1(codes[std::uniform_int_distribution<int>(0, 11)(rng)]) + ";";
    line += coin(rng) == 0 ? randomText(rng, 3) : QStringLiteral("1");
    line += ";";
    const int fields = std::uniform_int_distribution<int>(0, 12)(rng);
    for (int i = 0; i < fields; ++i) {
        switch (coin(rng)) {
        case 0: line += randomText(rng, 12); break;
        case 1: case 2: line += "[" + randomName(rng) + (coin(rng) < 5 ? "+" : "-") + randomName(rng) + "]"; break;
        case 3: line += "Color00" + QString::number(coin(rng) + 8); break;
        case 4: line += coin(rng) < 5 ? "A" : "N"; break;
        case 5: line += "[\"" + randomText(rng, 8) + "\"]"; break;
        default: line += randomName(rng); break;
        }
        if (coin(rng) != 0)
            line += ";";
    }
    return line;
}

} // namespace

TEST(Render_FuzzTests, FieldReaderNeverOverrunsAndAlwaysAdvances)
{
    // Random lines read to exhaustion with every field kind: no crash, progress every call.
    std::mt19937 rng(20261209);
    for (int round = 0; round < 3000; ++round) {
        const QString line = randomText(rng, 60);
        ScriptFieldReader r(line);
        for (int step = 0; step < 80 && !r.atEnd(); ++step) {
            const qsizetype before = r.rest().size();
            const bool fieldLeft = r.rest().contains(QLatin1Char(';'));
            QString a, b;
            switch (step % 4) {
            case 0: r.nextField(); break;
            case 1: r.nextQuotedText(); break;
            case 2: r.nextPointPair(a, b); break;
            default:
                try {
                    r.nextInteger();
                } catch (const ConversionError&) {
                }
            }
            // Something is consumed while a ";" is left; nothing once none is.
            if (!fieldLeft) {
                EXPECT_EQ(r.rest().size(), before) << line.toStdString();
                break;
            }
            EXPECT_LT(r.rest().size(), before) << line.toStdString();
        }
        r.code();
    }
}

TEST(Render_FuzzTests, NumberFieldsAgreeWithADecimalPattern)
{
    // Exactly the texts "blanks, sign, digits, blanks" within 32 bits are numbers, with their value.
    static const QRegularExpression decimal(QStringLiteral("^\\s*([+-]?\\d+)\\s*$"));
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> coin(0, 3);
    for (int round = 0; round < 20000; ++round) {
        QString text = randomText(rng, 8);
        if (coin(rng) == 0)
            text = QString::number(static_cast<long long>(rng()) - 2147483648LL + (coin(rng) - 1) * 3000000000LL);
        const auto m = decimal.match(text);
        bool fits = false;
        const long long expected = m.hasMatch() ? m.captured(1).toLongLong(&fits) : 0;
        fits = fits && expected >= INT_MIN && expected <= INT_MAX;
        try {
            const int v = toInteger(text);
            EXPECT_TRUE(fits) << "accepted " << text.toStdString();
            EXPECT_EQ(v, expected) << text.toStdString();
        } catch (const ConversionError& e) {
            EXPECT_FALSE(fits) << "refused " << text.toStdString();
            EXPECT_FALSE(e.text().isEmpty());
        }
    }
}

TEST(Render_FuzzTests, ValueExpressionsTerminateOnAnyText)
{
    // Random and damaged expressions end, and only malformed matched lines raise.
    const QStringList lines = {"0001=10;I;", "0002=5;V;", "0003=x;I;", "+000=1;V;", "[000=2;V;", ";;;;", ""};
    VolumeTable t(lines, 1000, 0);
    std::mt19937 rng(99);
    for (int round = 0; round < 20000; ++round) {
        QString expr = randomText(rng, 30);
        if (round % 3 == 0)
            expr = "[" + randomName(rng) + "+" + randomName(rng) + "-" + expr;
        try {
            const long double v = t.evaluate(round % 2 ? ValueMode::Raw : ValueMode::Thickness, expr);
            EXPECT_TRUE(std::isfinite(v));
        } catch (const ConversionError&) {
            EXPECT_TRUE(expr.contains(QStringLiteral("0003")) || expr.contains(QStringLiteral(";;;"))
                        || expr.contains(QStringLiteral(";;;;")))
                << expr.toStdString();
        }
    }
}

TEST(Render_FuzzTests, RandomDiagramsDrawSafelyAndRepeatably)
{
    // Random scripts over damaged lists: no crash, errors are reported, documents stay, renders repeat.
    std::mt19937 rng(424242);
    std::uniform_int_distribution<int> coin(0, 9);
    for (int round = 0; round < 150; ++round) {
        rtest::Rig r;
        for (int i = 0; i < 12; ++i) {
            const QString name = randomName(rng);
            r.doc.coordinates << (coin(rng) == 0 ? randomText(rng, 12)
                                                 : name + "=" + QString::number(int(rng() % 2001) - 1000) + ";"
                                                       + QString::number(int(rng() % 2001) - 1000) + ";");
            r.doc.intensities << (coin(rng) == 0 ? randomText(rng, 10)
                                                 : name + "=" + QString::number(int(rng() % 3000) - 500) + ";"
                                                       + (coin(rng) < 7 ? "I;" : "V;"));
        }
        for (int i = 0; i < 10; ++i)
            r.doc.script << (coin(rng) == 0 ? randomText(rng, 40) : randomScriptLine(rng));
        r.doc.general.arrowsize = static_cast<int>(rng() % 200) - 100;
        r.doc.general.sfill = coin(rng) < 5;
        r.ctx.view.showCoordinates = coin(rng) < 3;
        r.ctx.view.showIntersections = coin(rng) < 3;
        r.ctx.view.showDirections = coin(rng) < 3;

        const QStringList script = r.doc.script, coords = r.doc.coordinates, ints = r.doc.intensities;
        r.render();
        const Metafile first = r.target;
        const RenderOutcome outcome = r.outcome;
        if (!outcome.completed) {
            EXPECT_FALSE(outcome.errorText.isEmpty());
            EXPECT_TRUE(r.messenger.texts().contains(outcome.errorText));
        }
        r.render();
        EXPECT_EQ(first, r.target);
        EXPECT_EQ(outcome.checkList, r.outcome.checkList);
        EXPECT_EQ(r.doc.script, script);
        EXPECT_EQ(r.doc.coordinates, coords);
        EXPECT_EQ(r.doc.intensities, ints);
    }
}
