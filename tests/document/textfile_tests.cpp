#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "document/textfile.h"
#include "support/testsupport.h"

using namespace korvimo;

TEST(Document_TextFileTests, LineEndsAndFinalLine)
{
    // CR LF, LF and a lone CR all end a line; a final line end adds no line; empty lines count.
    using textfile::decodeLines;
    EXPECT_EQ(decodeLines("a\r\nb\nc\rd"), (QStringList{"a", "b", "c", "d"}));
    EXPECT_EQ(decodeLines("a\r\n"), QStringList{"a"});
    EXPECT_EQ(decodeLines("a\r\n\r\n"), (QStringList{"a", ""}));
    EXPECT_EQ(decodeLines("\n\r"), (QStringList{"", ""}));
    EXPECT_EQ(decodeLines("\r\n"), QStringList{""});
    EXPECT_TRUE(decodeLines({}).isEmpty());
}

TEST(Document_TextFileTests, EncodingsByByteOrderMark)
{
    // No mark means Windows-1252; UTF-8 and UTF-16 marks are honoured and dropped.
    TextEncoding enc;
    EXPECT_EQ(textfile::decodeLines("\x80 caf\xE9", &enc), QStringList{QStringLiteral("€ café")});
    EXPECT_EQ(enc, TextEncoding::Windows1252);
    EXPECT_EQ(textfile::decodeLines("\xEF\xBB\xBF\xC5\x81\r\nx", &enc), (QStringList{QStringLiteral("Ł"), "x"}));
    EXPECT_EQ(enc, TextEncoding::Utf8);
    EXPECT_EQ(textfile::decodeLines(QByteArray("\xFF\xFE" "a\0\r\0\n\0b\0", 10), &enc), (QStringList{"a", "b"}));
    EXPECT_EQ(enc, TextEncoding::Utf16LE);
    EXPECT_EQ(textfile::decodeLines(QByteArray("\xFE\xFF\0a", 4), &enc), QStringList{"a"});
    EXPECT_EQ(enc, TextEncoding::Utf16BE);
}

TEST(Document_TextFileTests, EveryByteSurvivesWindows1252)
{
    // All 256 bytes, the five undefined ones included, decode and encode back unchanged.
    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all += char(i);
    const QString text = textfile::fromWindows1252(all);
    bool ok = false;
    EXPECT_EQ(textfile::toWindows1252(text, &ok), all);
    EXPECT_TRUE(ok);
    EXPECT_FALSE(textfile::fitsWindows1252(QStringLiteral("Łx")));
    EXPECT_EQ(textfile::toWindows1252(QStringLiteral("Łx"), &ok), QByteArray("?x"));
    EXPECT_FALSE(ok);
}

TEST(Document_TextFileTests, WriteChoosesEncodingAndReplacesSafely)
{
    // Writing picks Windows-1252 or UTF-8 with a mark, always with CR LF, and replaces the old
    // file; a folder that does not exist fails with a reason and creates nothing.
    QTemporaryDir dir;
    const QString p = dir.filePath("t.txt");
    TextEncoding used;
    ASSERT_TRUE(textfile::writeLines(p, {"één", ""}, nullptr, &used));
    EXPECT_EQ(used, TextEncoding::Windows1252);
    EXPECT_EQ(test::readAll(p), QByteArray("\xE9\xE9n\r\n\r\n"));
    ASSERT_TRUE(textfile::writeLines(p, {"Ω"}, nullptr, &used));
    EXPECT_EQ(used, TextEncoding::Utf8);
    EXPECT_EQ(test::readAll(p), QByteArray("\xEF\xBB\xBF\xCE\xA9\r\n"));
    QStringList back;
    ASSERT_TRUE(textfile::readLines(p, &back));
    EXPECT_EQ(back, QStringList{"Ω"});

    QString reason;
    EXPECT_FALSE(textfile::writeLines(dir.filePath("no/such/folder/t.txt"), {"x"}, &reason));
    EXPECT_FALSE(reason.isEmpty());
    EXPECT_FALSE(textfile::readLines(dir.filePath("missing.txt"), &back, &reason));
    EXPECT_TRUE(back.isEmpty());
    EXPECT_EQ(textfile::firstLine(p), QStringLiteral("Ω"));
    EXPECT_EQ(textfile::firstLine(dir.filePath("missing.txt")), QString());
}

TEST(Document_TextFileTests, OverlongLinesAreCutAndNamed)
{
    // A line beyond the bound keeps its first kMaxLineChars characters; the lines around it are
    // whole, and the first cut line is named by its number - in every encoding.
    const QString longLine(textfile::kMaxLineChars + 5, QLatin1Char('t'));
    qsizetype cut = -1;
    QStringList lines = textfile::splitLines(QStringLiteral("a\r\n") + longLine + QStringLiteral("\nb\r") + longLine, &cut);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(cut, 2);
    EXPECT_EQ(lines[0], "a");
    EXPECT_EQ(lines[1].size(), textfile::kMaxLineChars);
    EXPECT_EQ(lines[2], "b");
    EXPECT_EQ(lines[3].size(), textfile::kMaxLineChars);
    lines = textfile::splitLines(QString(textfile::kMaxLineChars, QLatin1Char('x')), &cut);
    EXPECT_EQ(cut, 0); // exactly at the bound is whole
    EXPECT_EQ(lines[0].size(), textfile::kMaxLineChars);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("long.kvo"));
    ASSERT_TRUE(test::writeAll(path, "\xEF\xBB\xBF" "first\r\n" + longLine.toUtf8() + "\r\n"));
    EXPECT_EQ(textfile::firstOverlongLine(path), 2);
    ASSERT_TRUE(textfile::readLines(path, &lines));
    EXPECT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[1].size(), textfile::kMaxLineChars);
    ASSERT_TRUE(test::writeAll(path, "short\r\nlines\r\n"));
    EXPECT_EQ(textfile::firstOverlongLine(path), 0);
}
