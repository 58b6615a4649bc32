// The one main of every test program: a Qt application on the offscreen
// platform (fonts and painting need one), then GoogleTest. The checks that
// need a real display (the clipboard shared with other programs) name
// their platform in KORVIMO_TEST_PLATFORM.
#include <gtest/gtest.h>

#include <QByteArray>

#ifdef KORVIMO_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif

int main(int argc, char** argv)
{
    const QByteArray platform = qgetenv("KORVIMO_TEST_PLATFORM");
    qputenv("QT_QPA_PLATFORM", platform.isEmpty() ? QByteArray("offscreen") : platform);
    ::testing::InitGoogleTest(&argc, argv);
    TestApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
