#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "document/tmlb2.h"
#include "support/testsupport.h"

using namespace korvimo;

namespace {
QString table(QTemporaryDir& dir, const QByteArray& bytes, const char* name = "t.txt")
{
    const QString p = dir.filePath(name);
    test::writeAll(p, bytes);
    return p;
}
} // namespace

TEST(Document_TableStoreTests, FieldsRowsAndCursor)
{
    // Field names are unique in any case; cells follow the current row; moving past either end
    // stays and sets the flags; an empty table walks once with empty cells.
    TMlb2 t;
    EXPECT_TRUE(t.AddField("DIR"));
    EXPECT_FALSE(t.AddField("dir"));
    EXPECT_FALSE(t.AddField("  "));
    EXPECT_FALSE(t.GoFirst());
    EXPECT_TRUE(t.EndOfFile);
    EXPECT_TRUE(t.BeginningOfFile);
    EXPECT_EQ(t.GetData("Dir"), QString());
    EXPECT_FALSE(t.SetData("DIR", "x"));
    EXPECT_FALSE(t.GoNext());
    EXPECT_TRUE(t.BeginningOfFile);

    t.AddRow();
    EXPECT_TRUE(t.SetData("Dir", "1"));
    t.AddRow();
    EXPECT_TRUE(t.SetData("DIR", "2"));
    EXPECT_TRUE(t.AddField("INT"));
    EXPECT_EQ(t.GetData("INT"), QString());
    EXPECT_FALSE(t.SetData("NONE", "x"));
    EXPECT_EQ(t.RowCount(), 2);

    QStringList seen;
    t.GoFirst();
    while (!t.EndOfFile) {
        seen << t.GetData("dir");
        t.GoNext();
    }
    EXPECT_EQ(seen, (QStringList{"1", "2"}));
    EXPECT_FALSE(t.BeginningOfFile);
    EXPECT_EQ(t.CurrentRow(), 2);
}

TEST(Document_TableStoreTests, TextTableReader)
{
    // Blanks outside quotes vanish, quoted parts keep everything, a doubled quote is one quote,
    // a repeated header name is skipped, an empty line is a row of empty cells, extra tokens are
    // dropped and a last token without CR is not stored.
    QTemporaryDir dir;
    TMlb2 t;
    ASSERT_TRUE(t.LoadFromFile(table(dir, "ARMNO;ANGLE;NAME\r\n1;90;\"Main Street\"\r\n2; 180 ;Side Road\r\n"
                                          "\r\n\"a\"\"b\";\"x;\r\ny\";3;extra\r\n7;8")));
    EXPECT_EQ(t.Fields(), (QStringList{"ARMNO", "ANGLE", "NAME"}));
    ASSERT_EQ(t.RowCount(), 5);
    t.GoFirst();
    EXPECT_EQ(t.GetData("name"), QStringLiteral("Main Street"));
    t.GoNext();
    EXPECT_EQ(t.GetData("ANGLE"), QStringLiteral("180"));
    EXPECT_EQ(t.GetData("NAME"), QStringLiteral("SideRoad"));
    t.GoNext();
    EXPECT_EQ(t.GetData("ARMNO"), QString());
    t.GoNext();
    EXPECT_EQ(t.GetData("ARMNO"), QStringLiteral("a\"b"));
    EXPECT_EQ(t.GetData("ANGLE"), QStringLiteral("x;\r\ny"));
    EXPECT_EQ(t.GetData("NAME"), QStringLiteral("3"));
    t.GoNext();
    EXPECT_EQ(t.GetData("ARMNO"), QStringLiteral("7")); // "8" was cut off by the end of the file
    EXPECT_EQ(t.GetData("ANGLE"), QString());
    EXPECT_EQ(t.FieldTypes()[0], QStringLiteral("FLOAT"));

    TMlb2 dup;
    ASSERT_TRUE(dup.LoadFromFile(table(dir, "ARMNO;ARMNO;NAME\r\n1;2;3\r\n", "d.txt")));
    EXPECT_EQ(dup.Fields(), (QStringList{"ARMNO", "NAME"}));
    dup.GoFirst();
    EXPECT_EQ(dup.GetData("NAME"), QStringLiteral("2"));

    // The first token of each line sets the type of field 1: the last line decides.
    TMlb2 quoted;
    ASSERT_TRUE(quoted.LoadFromFile(table(dir, "A;B\r\n1;2\r\n\"3\";4\r\n", "q.txt")));
    EXPECT_EQ(quoted.FieldTypes(), (QStringList{"STRING", "STRING"}));
}

TEST(Document_TableStoreTests, LoadFailuresLeaveTheTable)
{
    // A missing file or a kind other than TXT gives false and keeps the content; a long table
    // crosses many read blocks intact.
    QTemporaryDir dir;
    TMlb2 t;
    t.AddField("A");
    t.AddRow();
    t.SetData("A", "keep");
    EXPECT_FALSE(t.LoadFromFile(dir.filePath("missing.txt")));
    EXPECT_FALSE(t.LoadFromFile(table(dir, "A\r\n1\r\n", "t.csv")));
    EXPECT_EQ(t.GetData("A"), QStringLiteral("keep"));

    QByteArray big = "N;Q\r\n";
    for (int i = 0; i < 3000; ++i)
        big += QByteArray::number(i) + ";\"" + QByteArray(i % 7, 'q') + "\"\"\"\r\n";
    ASSERT_TRUE(t.LoadFromFile(table(dir, big, "big.TXT")));
    ASSERT_EQ(t.RowCount(), 3000);
    t.GoFirst();
    for (int i = 0; i < 2999; ++i)
        t.GoNext();
    EXPECT_EQ(t.GetData("N"), QStringLiteral("2999"));
    EXPECT_EQ(t.GetData("Q"), QString(2999 % 7, 'q') + '"');
}
