#include <gtest/gtest.h>

#include <QFile>

#include "elements_harness.h"
#include "support/testsupport.h"

using namespace korvimo;

namespace {

// A diagram kept as three sections of lines: [coordinates], [values], [script].
void loadSections(const QString& path, DiagramDocument& doc)
{
    const QStringList lines = QString::fromUtf8(test::readAll(path)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QStringList* into = nullptr;
    for (const QString& l : lines) {
        if (l == QLatin1String("[coordinates]"))
            into = &doc.coordinates;
        else if (l == QLatin1String("[values]"))
            into = &doc.intensities;
        else if (l == QLatin1String("[script]"))
            into = &doc.script;
        else if (into)
            into->append(l);
    }
}

} // namespace

TEST(Render_ElementGoldenTests, TurnsCirclesAndFurnitureMatchTheReferenceDump)
{
    // Turns of 30, 90 and 150 degrees both ways and a U-turn in the three curve forms, plus the furniture:
    // the recorded drawing equals the reference dump record for record.
    test::ElementDrawing d;
    // The reference is the drawing as the script says it, labels at 225 degrees included.
    d.ctx.settings.keepTextsUpright = false;
    d.doc.general.diagramwidth = 2450;
    d.doc.general.diagramheight = 1500;
    d.doc.general.color[2] = 0x4080FF;
    loadSections(test::dataPath("render/elements/turns.txt"), d.doc);
    ASSERT_EQ(d.doc.script.size(), 27);
    d.render();
    ASSERT_TRUE(d.outcome.completed);
    EXPECT_TRUE(d.messenger.entries.isEmpty());

    // The creator text (program version, web address) is not what this test is about.
    QStringList actual;
    for (const QString& l : d.target.dumpLines())
        if (!l.startsWith(QLatin1String("Comment ")) && !l.startsWith(QLatin1String("TextOut 10,10 ")))
            actual.append(l);
    const QString refPath = test::dataPath("render/elements/turns-ref.txt");
    if (qEnvironmentVariableIsSet("KORVIMO_WRITE_REFS"))
        test::writeAll(refPath, actual.join(QLatin1Char('\n')).toUtf8() + '\n');
    const QStringList expected
        = QString::fromUtf8(test::readAll(refPath)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_FALSE(expected.isEmpty()) << "no reference dump at " << refPath.toStdString();
    for (qsizetype i = 0; i < std::min(actual.size(), expected.size()); ++i)
        ASSERT_EQ(actual[i].toStdString(), expected[i].toStdString()) << "first difference at record " << i;
    EXPECT_EQ(actual.size(), expected.size());
}
