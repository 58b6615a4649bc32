#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QStackedWidget>
#include <QTabWidget>

#include "editingfixture.h"
#include "ui/dialogs/taantekeningenform.h"
#include "ui/dialogs/talleintensiteitenwijzigenform.h"
#include "ui/dialogs/tcoordform.h"
#include "ui/dialogs/tintensiteitensomform.h"
#include "ui/dialogs/tintform.h"
#include "ui/dialogs/tkleurform.h"
#include "ui/dialogs/topmaakform.h"
#include "ui/dialogs/tscriptform.h"
#include "ui/dialogs/ttextform.h"

using namespace korvimo;

class Editing_DialogLayoutTests : public test::EditingFixture {
protected:
    // Every visible label and button shows its whole caption, and every
    // visible control lies inside the window. Returns what was clipped.
    static QStringList clipped(QWidget* window)
    {
        QStringList out;
        const QRect inside = window->rect();
        for (QWidget* w : window->findChildren<QWidget*>()) {
            if (!w->isVisibleTo(window) || w->objectName().isEmpty() || w->objectName().startsWith("qt_"))
                continue;
            const QRect r(w->mapTo(window, QPoint(0, 0)), w->size());
            bool scrolled = false;
            for (QWidget* a = w->parentWidget(); a && a != window; a = a->parentWidget())
                scrolled = scrolled || a->inherits("QAbstractScrollArea");
            if (!inside.contains(r) && !scrolled)
                out << w->objectName() + " outside";
            QString caption;
            if (auto* l = qobject_cast<QLabel*>(w))
                caption = l->text();
            else if (auto* b = qobject_cast<QAbstractButton*>(w))
                caption = b->text();
            if (!caption.isEmpty() && w->width() < w->minimumSizeHint().width())
                out << w->objectName() + " narrower than its caption";
        }
        return out;
    }

    // Shows the window, checks it and, when KORVIMO_SCREENSHOT_DIR is set,
    // saves its picture there.
    void look(QWidget* window, const QString& file)
    {
        window->show();
        window->adjustSize();
        QApplication::processEvents();
        EXPECT_EQ(clipped(window), QStringList()) << file.toStdString();
        const QImage shot = window->grab().toImage();
        EXPECT_FALSE(shot.isNull());
        const QString dir = qEnvironmentVariable("KORVIMO_SCREENSHOT_DIR");
        if (!dir.isEmpty()) {
            QDir().mkpath(dir);
            shot.save(dir + "/" + file + ".png");
            // The tab order as a user walks it, for the reviewer to read.
            QFile order(dir + "/" + file + ".taborder.txt");
            if (order.open(QIODevice::WriteOnly | QIODevice::Text)) {
                QWidget* w = window;
                for (int i = 0; i < 200; ++i) {
                    w = w->nextInFocusChain();
                    if (w == window)
                        break;
                    if (w->isVisibleTo(window) && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus))
                        order.write(w->objectName().toUtf8() + "\n");
                }
            }
        }
        window->hide();
    }

    void SetUp() override
    {
        EditingFixture::SetUp();
        for (int i = 1; i <= 12; ++i)
            doc.coordinates << QStringLiteral("%1=%2;%2;").arg(i, 4, 10, QLatin1Char('0')).arg(i * 10);
        doc.intensities = {"0001=100;I;", "0002=50;I;", "0100=30;V;"};
        doc.script = {"TXT;1;P;0001;[0100];[0100];0;L;NNN;100;0;V;Title01;",
                      "TXT;1;P;0001;[0100];[0100];0;L;NNN;100;0;V;Streetname03;"};
    }
};

TEST_F(Editing_DialogLayoutTests, EveryDialogShowsItsFieldsUnclipped)
{
    // Each dialog, every script panel and every format tab shows its captions in full.
    look(&editing->coordForm(), "tcoordform");
    look(&editing->intForm(), "tintform");
    look(&editing->kleurForm(), "tkleurform");
    look(&editing->changeAllForm(), "talleintensiteitenwijzigenform");
    look(&editing->textForm(), "ttextform");
    look(&editing->notesForm(), "taantekeningenform");
    auto* functions = form->findChild<TIntensiteitenSomForm*>("IntensiteitenSomForm");
    editing->scriptForm();
    functions = form->findChild<TIntensiteitenSomForm*>("IntensiteitenSomForm");
    ASSERT_NE(functions, nullptr);
    functions->setFunctionText("0001+0002");
    look(functions, "tintensiteitensomform");

    TOpmaakForm& opmaak = editing->opmaakForm();
    for (int t = 0; t < opmaak.tabs()->count(); ++t) {
        opmaak.tabs()->setCurrentIndex(t);
        look(&opmaak, QStringLiteral("topmaakform-%1").arg(t + 1));
    }

    TScriptForm& script = editing->scriptForm();
    const QStringList lines = {"*a comment",
                               "GRP;1;Frame;",
                               "IMG;1;BMP;0001;[\"logo.bmp\"];500;",
                               "LNE;1;0001;0002;[0100];[0001+0002];Color0003;N;A;",
                               "ARC;1;0001;0002;0003;0004;[0100];[0100];[0002];255;A;N;A;",
                               "CIR;1;0010;[0100];S;0001;0002;[0100];[0001];0003;0004;[0100];[0002];",
                               "TXT;1;R;[0003;0004];C;[0100];[0100];0;C;YNN;100;Color0002;T;[\"North St.\"];",
                               "NTH;1;0012;40;",
                               "REC;1;0001;0009;GV;16777215;12632256;"};
    for (const QString& line : lines) {
        ASSERT_TRUE(script.fillFromLine(line)) << line.toStdString();
        look(&script, "tscriptform-" + script.typeBox()->currentText().remove('*').toLower());
    }
}
