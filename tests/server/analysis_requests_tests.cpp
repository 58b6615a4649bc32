// Server mode with the requests of the analysis keys: a comparison, vehicle
// classes and a fixed scale each give their picture without a complaint, and
// a request whose classes are missing says so in the log.
#include <gtest/gtest.h>

#include "serverfixture.h"

TEST(Server_AnalysisRequestTests, ComparisonClassesAndFixedScaleRequestsGivePictures)
{
    test::ServerEnv env;
    env.dropExample("vergelijking.kvoimp", "Voorbeeld-vergelijking.kvoimp");
    env.dropExample("klassen.kvoimp", "Voorbeeld-klassen.kvoimp");
    env.dropExample("legenda.kvoimp", "Voorbeeld-legenda.kvoimp");
    env.server->StartButtonClick();
    ASSERT_TRUE(env.waitForOutcomes(3));
    for (const auto& o : env.outcomes)
        EXPECT_TRUE(o.pictureWritten);
    for (const char* jpg : {"vergelijking.jpg", "klassen.jpg", "legenda.jpg"})
        EXPECT_TRUE(QFileInfo::exists(env.watch + jpg)) << jpg;
    EXPECT_TRUE(env.messenger.entries.isEmpty()) << env.messenger.texts().join('\n').toStdString();
}

TEST(Server_AnalysisRequestTests, MissingClassIsLogged)
{
    test::ServerEnv env;
    QByteArray r = test::kvoimpRequest(200);
    r.replace("VolumesType=OD", "VolumesType=OD\r\nDrawClasses=FIE");
    env.drop("fiets.kvoimp", r);
    env.server->StartButtonClick();
    ASSERT_TRUE(env.waitForOutcomes(1));
    EXPECT_TRUE(env.logTexts().join('\n').contains("FIE")) << env.logTexts().join('\n').toStdString();
}
