#include <gtest/gtest.h>

#include <QFileInfo>

#include "serverfixture.h"

using namespace korvimo;

TEST(Server_LeftOutTests, VolumesTheTemplateCannotPlaceAreLoggedAndThePictureIsMade)
{
    // A request for 011301 (no arm 1) with a volume from arm 1: the picture is made from the
    // others, and the log names the volume left out.
    test::ServerEnv env;
    env.drop("arm1.kvoimp", test::crlfLines({"[**Import variables**]", "VolumesType=OD", "BaseDiagramFromLibrary=011301",
                                             "[**Arms**]", "ARMNO;ANGLE;NAME", "2;90;b", "3;180;c", "4;270;d",
                                             "[**OD**]", "ARMFROM;ARMTO;VOLUME", "1;2;120", "2;3;50"}));
    env.server->StartButtonClick();
    ASSERT_TRUE(env.waitForOutcomes(1));
    env.server->StopButtonClick();
    EXPECT_TRUE(env.outcomes[0].pictureWritten) << env.outcomes[0].failure.toStdString();
    EXPECT_TRUE(QFileInfo::exists(env.watch + "arm1.jpg"));
    const QString log = env.logTexts().join('\n');
    EXPECT_TRUE(log.contains(env.ctx.texts.format("AA00203", {"1", "2", "120"}))) << log.toStdString();
}
