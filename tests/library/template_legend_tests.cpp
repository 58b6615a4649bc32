// Every template carries the scale legend in its own group, hidden until
// grplegend is switched on; shown, it draws its band and text without a
// message, and hidden, the template draws exactly as before.
#include <gtest/gtest.h>

#include "canvas/metafile.h"
#include "document/libraryfiles.h"
#include "library/libfixture.h"
#include "render/maakmeta.h"

using namespace korvimo;

TEST(Library_TemplateLegendTests, EveryTemplateHasAHiddenLegendThatOneFlagShows)
{
    const char* const codes[] = {"011301", "011302", "011303", "011304", "011400", "010500", "010600",
                                 "010700", "010800", "020301", "020302", "020303", "020304", "020400", "020500", "020600"};
    for (const char* code : codes) {
        test::LibEnv env;
        ASSERT_TRUE(env.library.openTemplate(code, env.files)) << code;
        const QStringList& script = env.doc.script;
        const int group = script.indexOf("GRP;1;Legend;");
        ASSERT_GE(group, 0) << code;
        ASSERT_LT(group + 1, script.size()) << code;
        EXPECT_TRUE(script[group + 1].startsWith("LEG;1;")) << code;
        EXPECT_FALSE(env.doc.general.groupVisible(DrawingGroup::Legend)) << code;

        Metafile hidden, shown;
        MaakMeta(env.doc, env.ctx, hidden, "EMF", "E");
        EXPECT_FALSE(hidden.dump().contains("mvt/h")) << code;
        env.doc.general.setGroupVisible(DrawingGroup::Legend, true);
        MaakMeta(env.doc, env.ctx, shown, "EMF", "E");
        EXPECT_TRUE(shown.dump().contains("\"500 mvt/h\"")) << code;
        EXPECT_TRUE(env.messenger.entries.isEmpty()) << code << env.messenger.texts().join('\n').toStdString();

        // Inside the picture: the legend's point lies within the diagram's size.
        long double x = -1, y = -1;
        const QString point = script[group + 1].section(';', 2, 2);
        for (const QString& c : env.doc.coordinates)
            if (c.startsWith(point + "="))
                x = c.section('=', 1).section(';', 0, 0).toInt(), y = c.section(';', 1, 1).toInt();
        EXPECT_GT(x, 0) << code;
        EXPECT_LT(x + 100, env.doc.general.diagramwidth) << code;
        EXPECT_GT(y, 0) << code;
    }
}
