#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "i18n/languagefile.h"
#include "support/testsupport.h"

using namespace korvimo;

TEST(I18n_LanguageFileTests, QuoteStrippingEdgeCases)
{
    // The first and last characters go whatever they are.
    EXPECT_EQ(stripQuotes(QStringLiteral("\"&Save\"")), QStringLiteral("&Save"));
    EXPECT_EQ(stripQuotes(QStringLiteral("Opslaan")), QStringLiteral("pslaa"));
    EXPECT_EQ(stripQuotes(QStringLiteral("\"\"")), QString());
    EXPECT_EQ(stripQuotes(QStringLiteral("\"")), QString());
    EXPECT_EQ(stripQuotes(QString()), QString());
    EXPECT_EQ(stripQuotes(QStringLiteral("\"a\"b\"")), QStringLiteral("a\"b"));
    EXPECT_EQ(stripQuotes(QStringLiteral("\" spaced \"")), QStringLiteral(" spaced "));
}

TEST(I18n_LanguageFileTests, ParsesSectionsAndKeysLikeAnIniReader)
{
    // Sections and keys ignore letter case, blanks around keys and values go,
    // comments and lines before any section are skipped, the first of two
    // equal keys counts, and a repeated section continues the first.
    const LanguageFile f = LanguageFile::fromText(QStringLiteral(
        "Orphan=\"x\"\n; comment=\"no\"\n[Dynamic]\n  ZB00020 =  \"&OK\"  \r\nZB00020=\"later\"\rnoequals\n"
        "=\"nokey\"\n[ Other ]\nA.B=\"1=2\"\n[dynamic]\nZB00021=\"&Yes\"\n[broken\nZB00022=\"&No\""));
    EXPECT_EQ(f.value(QStringLiteral("DYNAMIC"), QStringLiteral("zb00020")), QStringLiteral("\"&OK\""));
    EXPECT_EQ(f.value(QStringLiteral("Dynamic"), QStringLiteral("ZB00021")), QStringLiteral("\"&Yes\""));
    // "[broken" is not a section line: its key stays in the section before.
    EXPECT_EQ(f.value(QStringLiteral("Dynamic"), QStringLiteral("ZB00022")), QStringLiteral("\"&No\""));
    EXPECT_EQ(f.value(QStringLiteral("other"), QStringLiteral("a.b")), QStringLiteral("\"1=2\""));
    EXPECT_FALSE(f.value(QStringLiteral("Dynamic"), QStringLiteral("Orphan")).has_value());
    EXPECT_FALSE(f.value(QStringLiteral("Dynamic"), QStringLiteral("; comment")).has_value());
    EXPECT_FALSE(f.value(QStringLiteral("Missing"), QStringLiteral("ZB00020")).has_value());
    EXPECT_EQ(f.keys(QStringLiteral("Dynamic")), (QStringList{"ZB00020", "ZB00021", "ZB00022"}));
    EXPECT_TRUE(f.hasSection(QStringLiteral("OTHER")));
}

TEST(I18n_LanguageFileTests, EncodingsAndMissingFiles)
{
    // Windows-1252 bytes, UTF-8 and UTF-16 with a byte-order mark all read
    // to the same text; a missing file or a folder gives nothing.
    const auto ansi = LanguageFile::load(test::dataPath(QStringLiteral("i18n/English.lng")));
    ASSERT_TRUE(ansi.has_value());
    EXPECT_EQ(ansi->value(QStringLiteral("HoofdForm"), QStringLiteral("HoofdForm.Caption")),
              QString::fromUtf8("\"Main window é€\""));

    QTemporaryDir dir;
    const QString text = QString::fromUtf8("[HoofdForm]\r\nHoofdForm.Caption=\"Ελληνικά\"\r\n");
    const QString u8 = dir.filePath(QStringLiteral("u8.lng"));
    test::writeAll(u8, QByteArray("\xEF\xBB\xBF") + text.toUtf8());
    const QString u16 = dir.filePath(QStringLiteral("u16.lng"));
    QByteArray le("\xFF\xFE");
    le.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    test::writeAll(u16, le);
    for (const QString& path : {u8, u16}) {
        const auto f = LanguageFile::load(path);
        ASSERT_TRUE(f.has_value());
        EXPECT_EQ(stripQuotes(*f->value(QStringLiteral("HoofdForm"), QStringLiteral("HoofdForm.Caption"))),
                  QString::fromUtf8("Ελληνικά"));
    }
    EXPECT_FALSE(LanguageFile::load(dir.filePath(QStringLiteral("none.lng"))).has_value());
    EXPECT_FALSE(LanguageFile::load(dir.path()).has_value());
    EXPECT_EQ(languageFilePath(QStringLiteral("/p/Lng"), QStringLiteral("English")), QStringLiteral("/p/Lng/English.lng"));
}
