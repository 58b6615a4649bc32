#include <QLineEdit>
#include <QSpinBox>

#include "editingfixture.h"
#include "ui/views/pictures.h"

using namespace korvimo;

class Editing_PickTests : public test::EditingFixture {};

TEST_F(Editing_PickTests, PickOnTheComposePictureReopensTheEditorWithThePosition)
{
    // The pick button closes the editor; a click on the picture brings it back with the snapped position.
    doc.coordinates = {"0001=10;10;"};
    compose();
    test::selectRow(op().coordsList(), -1);
    test::onWindow("CoordForm", [](QWidget* w) {
        auto* nr = test::child<QSpinBox>(w, "CoordNrSpinEdit");
        nr->selectAll();
        QTest::keyClicks(nr, "5");
        test::click(w, "CoordSelectButton");
    });
    QTest::mouseClick(button("CoordAddButton"), Qt::LeftButton);
    EXPECT_TRUE(form->views().state().coordinatePick);
    EXPECT_EQ(op().picture()->cursor().shape(), Qt::CrossCursor);
    EXPECT_EQ(doc.coordinates.size(), 1);

    int x = -1, y = -1;
    test::onWindow("CoordForm", [&](QWidget* w) {
        x = test::child<QSpinBox>(w, "CoordXSpinEdit")->value();
        y = test::child<QSpinBox>(w, "CoordYSpinEdit")->value();
        EXPECT_EQ(test::child<QSpinBox>(w, "CoordNrSpinEdit")->value(), 5); // same mode, same fields
        test::click(w, "OKButton");
    });
    test::sendMouse(op().picture(), QEvent::MouseMove, Qt::NoButton, QPoint(122, 58));
    test::sendMouse(op().picture(), QEvent::MouseButtonPress, Qt::LeftButton, QPoint(122, 58));
    test::sendMouse(op().picture(), QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(122, 58));
    EXPECT_FALSE(form->views().state().coordinatePick);
    EXPECT_EQ(x, 120); // snapped to the 5-unit interval
    EXPECT_EQ(y, 60);
    EXPECT_EQ(doc.coordinates.value(1), "0005=120;60;");
    EXPECT_EQ(op().picture()->cursor().shape(), Qt::ArrowCursor);
}
