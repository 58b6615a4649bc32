#include <gtest/gtest.h>

#include "render/conversionerror.h"
#include "render/scriptline.h"

using namespace korvimo;

TEST(Render_ScriptLineTests, ClassifiesByFirstCharacters)
{
    // Comments, inactive lines and lower-case codes are never elements.
    EXPECT_EQ(classifyScriptLine("*LNE;1;"), ScriptLineKind::Comment);
    EXPECT_EQ(classifyScriptLine("#LNE;1;0001;0002;[0001];[0002];0;N;A;"), ScriptLineKind::Inactive);
    EXPECT_EQ(classifyScriptLine("lne;1;0001;"), ScriptLineKind::Unknown);
    EXPECT_EQ(classifyScriptLine("LV"), ScriptLineKind::Unknown);
    EXPECT_EQ(classifyScriptLine("LVU;1;"), ScriptLineKind::Unknown);
    EXPECT_EQ(classifyScriptLine(""), ScriptLineKind::Unknown);
    for (const char* c : {"GRP", "IMG", "LNE", "ARC", "AR2", "CIR", "TXT", "NTH", "REC"}) {
        EXPECT_EQ(classifyScriptLine(QString::fromLatin1(c) + ";1;"), ScriptLineKind::Element) << c;
        EXPECT_EQ(highestElementVersion(QString::fromLatin1(c)), 1);
    }
    EXPECT_FALSE(editorElementCodes().contains(QStringLiteral("AR2")));
    EXPECT_EQ(editorElementCodes().first(), QStringLiteral("*Text"));
}

TEST(Render_ScriptLineTests, SplitsFieldsQuotedTextsAndPointPairs)
{
    // A quoted text may hold ";" and "]"; the R position's pair is one bracketed field.
    ScriptFieldReader r(QStringLiteral("TXT;1;R;[0003;0004];C;[0102];[0103];0;C;NNN;100;0;T;[\"a;b\"]c\"];"));
    EXPECT_EQ(r.code(), QStringLiteral("TXT"));
    EXPECT_EQ(r.nextField(), QStringLiteral("TXT"));
    EXPECT_EQ(r.nextInteger(), 1);
    EXPECT_EQ(r.nextField(), QStringLiteral("R"));
    QString a, b;
    r.nextPointPair(a, b);
    EXPECT_EQ(a, QStringLiteral("0003"));
    EXPECT_EQ(b, QStringLiteral("0004"));
    EXPECT_EQ(r.nextField(), QStringLiteral("C"));
    for (int i = 0; i < 8; ++i)
        r.nextField();
    EXPECT_EQ(r.nextQuotedText(), QStringLiteral("a;b\"]c"));
    EXPECT_TRUE(r.atEnd());
    EXPECT_EQ(r.nextField(), QString()); // missing fields read as empty
    EXPECT_THROW(r.nextInteger(), ConversionError);
}

TEST(Render_ScriptLineTests, UnterminatedFieldsReadEmpty)
{
    // A field without its ";" is no field; unclosed quotes fall back to a plain field.
    ScriptFieldReader r(QStringLiteral("IMG;1;BMP;0001;[\"logo.bmp;500"));
    r.nextField();
    r.nextField();
    EXPECT_EQ(r.nextField(), QStringLiteral("BMP"));
    EXPECT_EQ(r.nextField(), QStringLiteral("0001"));
    EXPECT_EQ(r.nextQuotedText(), QStringLiteral("[\"logo.bmp"));
    EXPECT_EQ(r.nextField(), QString());
    EXPECT_EQ(r.nextField(), QString());

    ScriptFieldReader p(QStringLiteral("TXT;1;R;[0003;0004;C;"));
    p.nextField();
    p.nextField();
    p.nextField();
    QString a, b;
    p.nextPointPair(a, b);
    EXPECT_EQ(a, QStringLiteral("[0003"));
    EXPECT_EQ(b, QStringLiteral("0004"));
}

TEST(Render_ScriptLineTests, ComposeWritesCurrentVersion)
{
    // Editors write the highest version and end every field with ";".
    EXPECT_EQ(composeScriptLine("LNE", {"0001", "0002", "[0100]", "[0001+0002]", "Color0003", "N", "A"}),
              QStringLiteral("LNE;1;0001;0002;[0100];[0001+0002];Color0003;N;A;"));
    EXPECT_EQ(composeScriptLine("GRP", {"Logo"}, true), QStringLiteral("#GRP;1;Logo;"));
}
