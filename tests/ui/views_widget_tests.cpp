#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QResizeEvent>
#include <QWheelEvent>

#include "support/testsupport.h"
#include "ui/views/metarenderer.h"
#include "ui/views/opstellenpanel.h"
#include "ui/views/overzichtpanel.h"
#include "ui/views/pictures.h"
#include "ui/views/tzoomfactorform.h"
#include "ui/views/viewcontroller.h"
#include "ui/views/viewmath.h"
#include "shellfixture.h"

using namespace korvimo;

class Views_OverviewTests : public test::ShellFixture {};
class Views_ComposeTests : public test::ShellFixture {};
class Views_ResizeTests : public test::ShellFixture {};

namespace {

void wheel(QWidget* w, int delta)
{
    const QPointF pos(w->width() / 2.0, w->height() / 2.0);
    QWheelEvent ev(pos, w->mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                   Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &ev);
}

} // namespace

TEST_F(Views_OverviewTests, ZoomAllFitsThePictureAndTheWheelStepsHalf)
{
    // Zoom all follows the picture's size; each wheel notch adds half of ZoomInOutValue.
    ViewController& v = form->views();
    PictureWidget* pic = form->overview().picture();
    act("ShowZoomAllAction")->trigger();
    const int fitted = zoomAllPercent(pic->width(), pic->height(), 500, 500);
    EXPECT_EQ(v.state().overviewZoom, fitted);
    EXPECT_EQ(v.state().lastDrawnWidth, roundEven(500.0 * fitted / 100));

    ctx.settings.zoomInOutValue = 50;
    wheel(pic, 120);
    EXPECT_EQ(v.state().overviewZoom, fitted + 25);
    wheel(pic, -120);
    wheel(pic, -120);
    EXPECT_EQ(v.state().overviewZoom, fitted - 25);
    act("ShowZoomInAction")->trigger();
    EXPECT_EQ(v.state().overviewZoom, fitted + 25);
    ctx.settings.zoomInOutValue = 25;
    wheel(pic, 120);
    EXPECT_EQ(v.state().overviewZoom, fitted + 37);
}

TEST_F(Views_OverviewTests, ZoomKeepsTheCentreAndZeroHidesTheDrawing)
{
    // Growing the drawing moves its corner by half the growth; at 0 % nothing is played.
    ViewController& v = form->views();
    v.state().overviewZoom = 100;
    v.OpnieuwTekenen();
    const QRect before = renderer.lastTarget;
    ctx.settings.zoomInOutValue = 50;
    v.zoomIn();
    EXPECT_EQ(renderer.lastTarget.width(), 750);
    EXPECT_EQ(renderer.lastTarget.center().x(), before.center().x());
    v.state().overviewZoom = 30;
    v.zoomOut();
    EXPECT_EQ(v.state().overviewZoom, 0);
    const int plays = renderer.plays;
    v.OpnieuwTekenen();
    EXPECT_EQ(renderer.plays, plays);
    v.zoomIn();
    EXPECT_GT(renderer.plays, plays);
}

TEST_F(Views_OverviewTests, DraggingMovesTheDrawing)
{
    // A press-move-release over the overview adds the movement to the offsets and returns to idle.
    ViewController& v = form->views();
    PictureWidget* pic = form->overview().picture();
    const int x0 = v.state().offsetX, y0 = v.state().offsetY;
    QTest::mousePress(pic, Qt::LeftButton, {}, QPoint(50, 60));
    EXPECT_EQ(v.state().pan, PanState::Dragging);
    EXPECT_TRUE(act("ShowPanAction")->isChecked());
    QTest::mouseRelease(pic, Qt::LeftButton, {}, QPoint(80, 40));
    EXPECT_EQ(v.state().offsetX, x0 + 30);
    EXPECT_EQ(v.state().offsetY, y0 - 20);
    EXPECT_EQ(v.state().pan, PanState::Idle);
    EXPECT_FALSE(act("ShowPanAction")->isChecked());
    // The command toggles between idle and armed.
    act("ShowPanAction")->trigger();
    EXPECT_EQ(v.state().pan, PanState::Armed);
    act("ShowPanAction")->trigger();
    EXPECT_EQ(v.state().pan, PanState::Idle);
}

TEST_F(Views_OverviewTests, GridEditsAreWrittenBackOnEnter)
{
    // Typing "1 200" and Enter writes 1200 into every line of that name; "abc" writes 0.
    loadVolumes();
    doc.intensities << "0001=5;V;";
    form->views().rebuildVolumeGrid();
    VolumeGrid* grid = form->overview().grid();
    ASSERT_EQ(grid->rowCount(), 12);
    EXPECT_FALSE(doc.isModified());
    grid->setFocus();
    grid->setCurrentCell(0, 1);
    QTest::keyClick(grid, Qt::Key_F2);
    EXPECT_TRUE(doc.isModified()); // opening the editor counts as a change
    auto* editor = grid->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, "1 200");
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(doc.intensities[0], "0001=1200;I;");
    EXPECT_EQ(doc.intensities.last(), "0001=1200;I;");
    EXPECT_EQ(grid->currentRow(), 1); // Enter moved on
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // the old editor

    QTest::keyClick(grid, Qt::Key_F2);
    editor = grid->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, "abc");
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(doc.intensities[1], "0002=0;I;");
    // Values stay out of the grid, and the names cannot be edited there.
    EXPECT_FALSE(grid->item(0, 0)->flags() & Qt::ItemIsEditable);
}

TEST_F(Views_OverviewTests, ScaleFieldSetsSfactor)
{
    // Typing a scale marks the diagram changed; filling the field from the document does not.
    ScaleEdit* edit = form->overview().schaalEdit();
    EXPECT_EQ(edit->value(), 1000);
    EXPECT_FALSE(doc.isModified());
    const int renders = renderer.renders;
    edit->selectAll();
    QTest::keyClicks(edit, "40");
    EXPECT_EQ(doc.general.sfactor, 40);
    EXPECT_TRUE(doc.isModified());
    EXPECT_EQ(edit->singleStep(), 5);
    EXPECT_GT(renderer.renders, renders); // AutoRedrawScale
    doc.setModified(false);
    doc.general.sfactor = 2500;
    form->views().SchaalEditUpdaten();
    EXPECT_EQ(edit->value(), 2500);
    EXPECT_FALSE(doc.isModified());
    // The up-down buttons stop at 32000, typed values may go higher.
    edit->setValue(31990);
    edit->stepBy(1);
    EXPECT_EQ(edit->value(), 32000);
    edit->selectAll();
    QTest::keyClicks(edit, "50000");
    EXPECT_EQ(doc.general.sfactor, 50000);
    edit->stepBy(1);
    EXPECT_EQ(edit->value(), 50000);
}

TEST_F(Views_OverviewTests, ExactZoomDialogStoresItsValues)
{
    // OK takes the typed zoom and offsets; a negative zoom is stored as 0.
    // A Zoom all armed by the start-up must not fire inside the dialog's loop.
    form->resizeTimer().stop();
    TZoomFactorForm& dlg = form->zoomForm();
    QTimer::singleShot(0, [&] {
        dlg.zoomEdit()->setValue(150);
        dlg.xEdit()->setValue(-20);
        dlg.yEdit()->setValue(35);
        dlg.accept();
    });
    act("ShowPanExactlyAction")->trigger();
    EXPECT_EQ(form->views().state().overviewZoom, 150);
    EXPECT_EQ(form->views().state().offsetX, -20);
    EXPECT_EQ(form->views().state().offsetY, 35);
    EXPECT_EQ(renderer.lastTarget.topLeft(), QPoint(-20, 35));
    QTimer::singleShot(0, [&] {
        dlg.zoomEdit()->setValue(-5);
        dlg.reject();
    });
    act("ShowPanExactlyAction")->trigger();
    EXPECT_EQ(form->views().state().overviewZoom, 150);
}

TEST_F(Views_ComposeTests, PointerReadoutAndPick)
{
    // At compose zoom 2 with interval 5, pixel (253, 97) reads 125,50; a click picks a coordinate.
    loadVolumes();
    act("ShowCreateAction")->trigger();
    act("ShowZoomInAction")->trigger();
    PictureWidget* pic = form->compose().picture();
    EXPECT_EQ(pic->size(), QSize(1000, 1000));
    ctx.settings.coordsInterval = 5;
    test::sendMouse(pic, QEvent::MouseMove, Qt::NoButton, QPoint(253, 97));
    EXPECT_EQ(form->compose().coordsLabel()->text(), "125,50");

    int hit = -1;
    form->views().onCoordinateHit = [&](int line) { hit = line; };
    test::sendMouse(pic, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(501, 499));
    test::sendMouse(pic, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(501, 499));
    EXPECT_EQ(hit, 1);
    EXPECT_EQ(form->compose().coordsList()->currentRow(), 1);
    hit = -1;
    test::sendMouse(pic, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(300, 300));
    test::sendMouse(pic, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(300, 300));
    EXPECT_EQ(hit, -1);
}

TEST_F(Views_ComposeTests, ListsMirrorTheDocumentAndTheirButtonsWait)
{
    // The three lists show the document's lines; their editing buttons are ready for use.
    loadVolumes();
    doc.script = {"GRP;Frame;", "LNE;1;0001;0002;[0001];"};
    act("ShowCreateAction")->trigger();
    EXPECT_EQ(form->compose().scriptList()->count(), 2);
    EXPECT_EQ(form->compose().coordsList()->count(), 2);
    EXPECT_EQ(form->compose().intList()->count(), 13);
    for (QToolButton* b : form->compose().listButtons())
        EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
    // Switching to compose empties the grid so stale rows cannot overwrite the list.
    EXPECT_EQ(form->overview().grid()->rowCount(), 0);
}

TEST_F(Views_ComposeTests, RightButtonDragScrolls)
{
    // A right-button drag scrolls the compose box by the movement, the other way round.
    act("ShowCreateAction")->trigger();
    act("ShowZoomInAction")->trigger();
    QScrollArea* box = form->compose().scrollBox();
    box->horizontalScrollBar()->setValue(100);
    PictureWidget* pic = form->compose().picture();
    test::sendMouse(pic, QEvent::MouseButtonPress, Qt::RightButton, QPoint(300, 300));
    EXPECT_EQ(form->views().state().pan, PanState::Dragging);
    test::sendMouse(pic, QEvent::MouseButtonRelease, Qt::RightButton, QPoint(260, 300));
    EXPECT_EQ(box->horizontalScrollBar()->value(), 140);
    EXPECT_EQ(form->views().state().pan, PanState::Idle);
}

TEST_F(Views_ComposeTests, LightDarkPreviewChangesTheBackground)
{
    // On, the drawing background is DrawingBgDarkColor; off, white again.
    act("ShowLightDarkAction")->trigger();
    EXPECT_EQ(ctx.view.drawingBackground, ctx.settings.drawingBgDarkColor);
    EXPECT_TRUE(act("ShowLightDarkAction")->isChecked());
    const QImage img = form->overview().picture()->canvas();
    // Zoom all leaves room at the far edge, outside the drawing.
    EXPECT_EQ(img.pixelColor(img.width() - 2, img.height() - 2), QColor(0x96, 0x96, 0x96));
    act("ShowLightDarkAction")->trigger();
    EXPECT_EQ(ctx.view.drawingBackground, 0xFFFFFF);
    // The overlays are switches the renderer reads.
    act("ShowCoordinatesAction")->trigger();
    EXPECT_TRUE(ctx.view.showCoordinates);
    act("ShowDirectionsAction")->trigger();
    EXPECT_TRUE(ctx.view.showDirections);
}

TEST_F(Views_ResizeTests, BurstOfResizesGivesOneZoomAll)
{
    // A resize while the timer runs does not restart it: it still fires 200 ms after the first of a burst, once.
    form->resizeTimer().stop(); // whatever the start-up armed
    QSignalSpy spy(&form->views(), &ViewController::zoomAllPerformed);
    auto resizeTo = [&](QSize size) {
        QResizeEvent ev(size, form->size());
        QApplication::sendEvent(form.get(), &ev);
    };
    resizeTo(QSize(950, 640));
    ASSERT_TRUE(form->resizeTimer().isActive());
    const int first = form->resizeTimer().remainingTime();
    // Let at least 80 ms of the 200 run out, then resize twice more.
    ASSERT_TRUE(test::waitUntil([&] { return form->resizeTimer().remainingTime() <= first - 80; }));
    if (!form->resizeTimer().isActive())
        GTEST_SKIP() << "the machine was too slow to resize within the timer's interval";
    resizeTo(QSize(1000, 660));
    resizeTo(QSize(1020, 700));
    // A restarted timer would have its whole interval again.
    EXPECT_LE(form->resizeTimer().remainingTime(), first - 80);
    EXPECT_EQ(spy.count(), 0);
    EXPECT_TRUE(spy.wait(10000));
    QTest::qWait(250); // a second Zoom all would come within the timer's interval
    EXPECT_EQ(spy.count(), 1);
    EXPECT_FALSE(form->resizeTimer().isActive());
    const PictureWidget* pic = form->overview().picture();
    EXPECT_EQ(form->views().state().overviewZoom, zoomAllPercent(pic->width(), pic->height(), 500, 500));
}

TEST_F(Views_OverviewTests, BackFromComposeDrawsTheWholePicture)
{
    // Returning from the compose view draws the overview at the size it is shown at, not at the half it had
    // while both panels were visible for a moment; the same for every window size.
    loadVolumes();
    for (QSize size : {QSize(900, 600), QSize(1100, 760), QSize(700, 520)}) {
        form->resize(size);
        QApplication::processEvents();
        act("ShowCreateAction")->trigger();
        act("ShowViewAction")->trigger();
        PictureWidget* pic = form->overview().picture();
        const QImage& canvas = pic->canvas();
        const double ratio = canvas.devicePixelRatio();
        EXPECT_EQ(QSizeF(canvas.size()) / ratio, QSizeF(pic->size())) << size.width() << "x" << size.height();
        // Nothing later changes the picture's size without a redraw.
        QApplication::processEvents();
        EXPECT_EQ(QSizeF(pic->canvas().size()) / ratio, QSizeF(pic->size()));
    }
}

TEST_F(Views_ComposeTests, ZoomStepsOnAndZoomAllComesBack)
{
    // With ComposeZoomExtended (the default) each Zoom in adds one pixel per unit up to 4; Zoom all and exact
    // zoom stay available: Zoom all fits the diagram into the box, the exact dialog takes a zoom and a scroll.
    ASSERT_TRUE(ctx.settings.composeZoomExtended);
    act("ShowCreateAction")->trigger();
    ViewController& v = form->views();
    PictureWidget* pic = form->compose().picture();
    for (int z = 2; z <= 4; ++z) {
        ASSERT_TRUE(act("ShowZoomInAction")->isEnabled()) << z;
        act("ShowZoomInAction")->trigger();
        EXPECT_EQ(v.state().composeZoom, z);
        EXPECT_EQ(pic->size(), QSize(500 * z, 500 * z));
        EXPECT_TRUE(act("ShowZoomAllAction")->isEnabled());
        EXPECT_TRUE(act("ShowPanExactlyAction")->isEnabled());
        EXPECT_TRUE(act("ShowZoomOutAction")->isEnabled());
    }
    EXPECT_FALSE(act("ShowZoomInAction")->isEnabled());
    act("ShowZoomOutAction")->trigger();
    EXPECT_EQ(v.state().composeZoom, 3);

    QScrollArea* box = form->compose().scrollBox();
    box->horizontalScrollBar()->setValue(300);
    act("ShowZoomAllAction")->trigger();
    const QSize vp = box->viewport()->size();
    EXPECT_EQ(v.state().composeZoom, composeZoomAll(vp.width(), vp.height(), 500, 500, 4));
    EXPECT_EQ(box->horizontalScrollBar()->value(), 0);

    form->resizeTimer().stop();
    TZoomFactorForm& dlg = form->zoomForm();
    QTimer::singleShot(0, [&] {
        EXPECT_EQ(dlg.zoomEdit()->value(), v.state().composeZoom * 100);
        dlg.zoomEdit()->setValue(240);
        dlg.xEdit()->setValue(150);
        dlg.yEdit()->setValue(70);
        dlg.accept();
    });
    act("ShowPanExactlyAction")->trigger();
    EXPECT_EQ(v.state().composeZoom, 2);
    EXPECT_EQ(box->horizontalScrollBar()->value(), 150);
    EXPECT_EQ(box->verticalScrollBar()->value(), 70);
    // Back in the overview the exact dialog is the overview's again.
    act("ShowViewAction")->trigger();
    EXPECT_TRUE(act("ShowZoomAllAction")->isEnabled());
    EXPECT_EQ(v.state().composeZoom, 2);
}

TEST(Views_ComposeZoomMathTests, CeilingAndFit)
{
    // Off, the ceiling is 2; on, 4 unless the picture would pass 16 M pixels, and never below 2.
    EXPECT_EQ(composeZoomCeiling(false, 500, 500), 2);
    EXPECT_EQ(composeZoomCeiling(true, 500, 500), 4);
    EXPECT_EQ(composeZoomCeiling(true, 1500, 1500), 2);
    EXPECT_EQ(composeZoomCeiling(true, 1300, 1000), 3);
    EXPECT_EQ(composeZoomCeiling(true, 5000, 5000), 2);
    EXPECT_EQ(composeZoomedIn(1, 2), 2);
    EXPECT_EQ(composeZoomedIn(2, 2), 2);
    EXPECT_EQ(composeZoomedOut(1), 1);
    EXPECT_EQ(composeZoomedOut(3), 2);
    EXPECT_EQ(composeZoomAll(1200, 900, 500, 400, 4), 2);
    EXPECT_EQ(composeZoomAll(400, 900, 500, 400, 4), 1);
    EXPECT_EQ(composeZoomAll(5000, 5000, 500, 400, 4), 4);
    EXPECT_EQ(composeZoomAll(5000, 5000, 500, 400, 2), 2);
}

TEST_F(Views_OverviewTests, ThreeDrawingMethodsFillThePicture)
{
    // Each method leaves the drawing black and the rest in the background colour; method 2 and 3 smooth edges.
    ViewController& v = form->views();
    for (int method : {1, 2, 3}) {
        ctx.settings.drawMethodScreen = method;
        v.state().overviewZoom = 50;
        v.state().offsetX = 11;
        v.state().offsetY = 7;
        v.state().lastDrawnWidth = v.state().lastDrawnHeight = 0;
        v.OpnieuwTekenen();
        const QImage img = form->overview().picture()->canvas();
        const double r = img.devicePixelRatio();
        EXPECT_EQ(img.pixelColor(qRound(20 * r), qRound(20 * r)), QColor(Qt::black)) << method;
        EXPECT_EQ(img.pixelColor(qRound(300 * r), qRound(20 * r)), QColor(Qt::white)) << method;
        EXPECT_EQ(img.pixelColor(qRound(5 * r), qRound(5 * r)), QColor(Qt::white)) << method;
        EXPECT_EQ(v.state().lastDrawnWidth, 250);
        EXPECT_EQ(ctx.settings.drawMethodScreen, method);
    }
}

TEST_F(Views_OverviewTests, RealRendererDrawsTheFourArmDiagram)
{
    // Opened and drawn through MaakMeta and QtPlayer: the red band of the first arm is on screen.
    MetaRenderer real;
    form->setRenderer(&real);
    form->openFile(test::dataPath("ui/vierarmen.kvo"));
    EXPECT_TRUE(messenger.entries.isEmpty()) << messenger.texts().join("\n").toStdString();
    EXPECT_EQ(form->overview().grid()->rowCount(), 6);
    const QImage img = form->overview().picture()->canvas();
    int red = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            red += img.pixel(x, y) == qRgb(255, 0, 0);
    EXPECT_GT(red, 1000);
    form->setRenderer(&renderer);
}
