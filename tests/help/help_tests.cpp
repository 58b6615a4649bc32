#include <QDialog>
#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QTextBlock>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QTimer>
#include <QVBoxLayout>

#include "help/helpfixture.h"
#include "ui/help/helpcontext.h"
#include "ui/help/thelpform.h"
#include "ui/views/tzoomfactorform.h"

using namespace korvimo;

namespace {

class Help_WindowTests : public test::HelpFixture {
protected:
    THelpForm* helpWindow() const { return windows->help().window(); }
    QString page() const { return helpWindow() ? helpWindow()->currentPage() : QString(); }
};

// A dialog as the other window families build them: marked with its help
// context, a field to type in and a help button.
struct ContextDialog {
    explicit ContextDialog(QWidget* parent, int context) : dialog(parent)
    {
        dialog.setObjectName(QStringLiteral("ProbeForm"));
        auto* l = new QVBoxLayout(&dialog);
        edit = new QLineEdit(&dialog);
        help = new QPushButton(QStringLiteral("&Help"), &dialog);
        l->addWidget(edit);
        l->addWidget(help);
        setHelpContext(dialog, context);
        QObject::connect(help, &QPushButton::clicked, &dialog, [this, context] { openHelpContext(help, context); });
    }
    QDialog dialog;
    QLineEdit* edit;
    QPushButton* help;
};

} // namespace

TEST_F(Help_WindowTests, ContentsFaqAndPagesInTheChosenHelpSet)
{
    // Contents and FAQ open pages 20 and 40 of the help set that LanguageHelp
    // names, read anew on every call, and every named context has a page in
    // both help sets.
    ctx.settings.languageHelp = QStringLiteral("Korvimo_English");
    act("HelpContentsAction")->trigger();
    ASSERT_NE(helpWindow(), nullptr);
    EXPECT_TRUE(helpWindow()->isVisible());
    EXPECT_TRUE(page().endsWith(QStringLiteral("Hlp/Korvimo_English/20.html"))) << page().toStdString();
    act("HelpFaqAction")->trigger();
    EXPECT_TRUE(page().endsWith(QStringLiteral("Korvimo_English/40.html")));
    ctx.settings.languageHelp = QStringLiteral("Korvimo_Nederlands");
    act("HelpContentsAction")->trigger();
    EXPECT_TRUE(page().endsWith(QStringLiteral("Korvimo_Nederlands/20.html")));
    EXPECT_FALSE(helpWindow()->browser()->toPlainText().trimmed().isEmpty());

    for (const char* set : {"Korvimo_Nederlands", "Korvimo_English"}) {
        for (int context : {20, 40, 80, 100, 120, 140, 180, 200, 220, 260, 320, 400, 420, 440, 660, 680}) {
            const QString path = helpPagePath(ctx.paths.helpFolder + QLatin1String(set), context);
            EXPECT_TRUE(QFileInfo(path).isFile()) << path.toStdString();
        }
    }
}

TEST_F(Help_WindowTests, EveryLinkAndPictureOfEveryPageIsFound)
{
    // Each page, as the help window's browser shows it: every link leads to a page of the set, and every picture loads and stands in a paragraph of its own (inline, the browser leaves it unpainted).
    ctx.settings.languageHelp = QStringLiteral("Korvimo_English");
    act("HelpContentsAction")->trigger();
    ASSERT_NE(helpWindow(), nullptr);
    QTextBrowser* browser = helpWindow()->browser();
    int pictures = 0;
    for (const char* set : {"Korvimo_Nederlands", "Korvimo_English"}) {
        const QDir folder(ctx.paths.helpFolder + QLatin1String(set));
        for (const QString& name : folder.entryList({QStringLiteral("*.html")})) {
            const QString where = QLatin1String(set) + QLatin1Char('/') + name;
            browser->setSource(QUrl::fromLocalFile(folder.filePath(name)));
            for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next()) {
                for (auto it = block.begin(); !it.atEnd(); ++it) {
                    const QTextCharFormat f = it.fragment().charFormat();
                    if (f.isAnchor() && !f.anchorHref().startsWith(QLatin1String("http"))) {
                        const QString target = f.anchorHref().section(QLatin1Char('#'), 0, 0);
                        EXPECT_TRUE(target.isEmpty() || folder.exists(target)) << where.toStdString() << " links to "
                                                                               << target.toStdString();
                    }
                    if (!f.isImageFormat())
                        continue;
                    ++pictures;
                    const QString src = f.toImageFormat().name();
                    const QVariant image = browser->document()->resource(QTextDocument::ImageResource, QUrl(src));
                    EXPECT_FALSE(qvariant_cast<QImage>(image).isNull() && qvariant_cast<QPixmap>(image).isNull())
                        << where.toStdString() << ": " << src.toStdString();
                    EXPECT_EQ(block.text().trimmed().size(), 1) << where.toStdString() << ": " << src.toStdString()
                                                                << " shares its paragraph";
                }
            }
        }
    }
    EXPECT_GE(pictures, 8);
}

TEST_F(Help_WindowTests, MissingPageOrHelpSetSaysWhatIsMissing)
{
    // A help set without the page shows the missing path instead of an empty
    // window or a stale page.
    ctx.settings.languageHelp = QStringLiteral("Korvimo_English");
    act("HelpContentsAction")->trigger();
    ctx.settings.languageHelp = QStringLiteral("Korvimo_Klingon");
    openHelpContext(form.get(), 180);
    ASSERT_NE(helpWindow(), nullptr);
    EXPECT_TRUE(page().isEmpty());
    EXPECT_TRUE(helpWindow()->browser()->toPlainText().contains(QStringLiteral("File not found:")));
    EXPECT_TRUE(helpWindow()->browser()->toPlainText().contains(QStringLiteral("Korvimo_Klingon/180.html")));
}

TEST_F(Help_WindowTests, F1AndHelpButtonsOpenTheWindowsOwnPage)
{
    // F1 in a field of a modal dialog opens that dialog's context, the help
    // window sits under the modal dialog so it can be used, and the help
    // button opens the same page; F1 in a window without a context opens
    // the contents.
    ctx.settings.languageHelp = QStringLiteral("Korvimo_English");
    ContextDialog probe(form.get(), 180);
    bool pressed = false;
    QTimer::singleShot(0, [&] {
        probe.edit->setFocus();
        QTest::keyClick(probe.edit, Qt::Key_F1);
        pressed = true;
        EXPECT_TRUE(page().endsWith(QStringLiteral("/180.html"))) << page().toStdString();
        EXPECT_EQ(helpWindow()->parentWidget(), &probe.dialog);
        EXPECT_TRUE(helpWindow()->isVisible());
        openHelpContext(nullptr, 20);
        probe.help->click();
        EXPECT_TRUE(page().endsWith(QStringLiteral("/180.html")));
        probe.dialog.reject();
    });
    probe.dialog.exec();
    ASSERT_TRUE(pressed);

    QDialog plain(form.get());
    auto* edit = new QLineEdit(&plain);
    plain.show();
    QTest::keyClick(edit, Qt::Key_F1);
    EXPECT_TRUE(page().endsWith(QStringLiteral("/20.html")));
}

TEST_F(Help_WindowTests, ExactZoomDialogHelpButtonWorks)
{
    // The exact zoom dialog of the main window gets its help button and
    // context 320.
    ctx.settings.languageHelp = QStringLiteral("Korvimo_Nederlands");
    TZoomFactorForm& zoom = form->zoomForm();
    auto* button = zoom.findChild<QPushButton*>(QStringLiteral("HelpButton"));
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(button->isEnabled());
    zoom.show();
    button->click();
    EXPECT_TRUE(page().endsWith(QStringLiteral("Korvimo_Nederlands/320.html")));
    EXPECT_EQ(HelpSystem::contextFor(&zoom), 320);
    zoom.hide();
}
