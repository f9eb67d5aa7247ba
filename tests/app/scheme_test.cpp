#include "support/game_folder.h"
#include "support/player.h"

#include <gtest/gtest.h>

using testsupport::GameFolder;
using testsupport::Player;

class Schemes : public ::testing::Test {
protected:
    void SetUp() override { folder.variables({}); }
    // General naming a scheme.
    void useScheme(const char* scheme) { folder.general({.name = QStringLiteral("Skinned"), .scheme = QString::fromLatin1(scheme), .groups = 3}); }
    app::FrmWelcome& load()
    {
        player = std::make_unique<Player>(folder);
        return player->welcome();
    }
    platform::Element* el(const char* name) { return player->welcome().element(QString::fromLatin1(name)); }

    GameFolder folder;
    std::unique_ptr<Player> player;
};

TEST_F(Schemes, WithoutASchemeTheButtonsAreTextInTheDesignColours)
{
    useScheme("");
    load();
    for (const char* b : {"lblButton(0)", "lblButton(1)", "lblButton(2)"}) {
        EXPECT_TRUE(el(b)->shown()) << b;
        EXPECT_EQ(el(b)->foreColor(), QColor(128, 0, 255));
    }
    EXPECT_FALSE(el("Img(0)")->shown());
    EXPECT_FALSE(el("Img(3)")->hasPicture());
    EXPECT_EQ(el("txtAdventureName")->foreColor(), QColor(Qt::white));
    EXPECT_TRUE(player->boxes().empty());
}

TEST_F(Schemes, ThreePicturesAreButtonsAndNoTile)
{
    useScheme("Night");
    folder.picture(QStringLiteral("Schemes/Night/start.bmp"), 100, 20, Qt::green);
    folder.picture(QStringLiteral("Schemes/Night/load.bmp"), 100, 20, Qt::green);
    folder.write(QStringLiteral("Schemes/Night/Scheme.txt"), {{0, 0, 0, 3, "start.bmp", "load.bmp", "[NONE]"}});
    load();
    EXPECT_TRUE(el("Img(0)")->shown());
    EXPECT_EQ(el("Img(0)")->pictureFile(), QStringLiteral("start.bmp"));
    EXPECT_FALSE(el("lblButton(0)")->shown());
    EXPECT_FALSE(el("lblButton(1)")->shown());
    // "[NONE]" in capitals is no picture: the Exit button stays text.
    EXPECT_FALSE(el("Img(2)")->shown());
    EXPECT_TRUE(el("lblButton(2)")->shown());
    EXPECT_FALSE(el("Img(3)")->hasPicture());
    EXPECT_TRUE(player->boxes().empty());
}

TEST_F(Schemes, ColoursOfVersionThreeLeaveTheButtonsAndReadOnIntoTheOptionalFields)
{
    useScheme("Dusk");
    folder.picture(QStringLiteral("Schemes/Dusk/tile.bmp"), 8, 8, Qt::darkBlue);
    // v = 3: window, name and text colours; the next field is the first
    // of the three skipped before hide-name.
    folder.write(QStringLiteral("Schemes/Dusk/Scheme.txt"),
                 {{0, 0, 0, 4, "[default]", "[default]", "[default]", "tile.bmp"}, {3, 255, 65280, 16711680}, {0, 0, 0, 1}});
    load();
    EXPECT_EQ(player->welcome().backColor(), QColor(255, 0, 0));
    EXPECT_EQ(el("txtAdventureName")->foreColor(), QColor(0, 255, 0));
    EXPECT_EQ(el("txtVersion")->foreColor(), QColor(0, 0, 255));
    EXPECT_EQ(el("lblButton(0)")->foreColor(), QColor(128, 0, 255));
    EXPECT_FALSE(el("txtAdventureName")->shown());
    EXPECT_TRUE(el("Img(3)")->hasPicture());
    EXPECT_FALSE(el("Img(3)")->shown());
}

TEST_F(Schemes, VersionFourColoursTheButtonsAndChoosesTheLogo)
{
    useScheme("Full");
    folder.write(QStringLiteral("Schemes/Full/Scheme.txt"),
                 {{0, 0, 0, 1, "[default]"}, {4, 0, 16777215, 8421504, 255}, {0, 0, 0, 0}, {0, 1, true}});
    load();
    EXPECT_EQ(el("lblButton(1)")->foreColor(), QColor(255, 0, 0));
    EXPECT_TRUE(el("txtAdventureName")->shown());
    EXPECT_EQ(player->rt().project.LogoVariant, 1);
    EXPECT_TRUE(player->rt().project.LogoAlternate);
    EXPECT_EQ(el("imgLogo")->left(), 4440);
    EXPECT_EQ(el("imgLogo")->picture(), el("imgLogos(3)")->picture());
}

TEST_F(Schemes, AFileEndingAfterTheColoursKeepsTheNameAndTheLogoDefaults)
{
    useScheme("Short");
    folder.write(QStringLiteral("Schemes/Short/Scheme.txt"), {{0, 0, 0, 1, "[default]"}, {4, 0, 16777215, 8421504, 255}});
    load();
    EXPECT_TRUE(el("txtAdventureName")->shown());
    EXPECT_EQ(player->rt().project.LogoVariant, 0);
    EXPECT_EQ(el("imgLogo")->left(), 4560);
    EXPECT_TRUE(player->boxes().empty());
}

TEST_F(Schemes, ABadCountAbandonsTheScheme)
{
    useScheme("Bad");
    folder.write(QStringLiteral("Schemes/Bad/Scheme.txt"), {{0, 0, 0, "none", "start.bmp"}});
    load();
    // Nothing applied: the design-time texts stay on hidden text buttons.
    EXPECT_EQ(el("lblButton(0)")->text(), QStringLiteral("Start"));
    EXPECT_TRUE(player->boxes().empty());
}

TEST_F(Schemes, HugeCountsAndColoursBeyondTheirRangeAreBadDataNotAHang)
{
    useScheme("Wild");
    folder.write(QStringLiteral("Schemes/Wild/Scheme.txt"), {{0, 0, 0, 2000000000, "[none]"}});
    load();
    EXPECT_TRUE(el("lblButton(0)")->shown());
    useScheme("Loud");
    folder.write(QStringLiteral("Schemes/Loud/Scheme.txt"), {{0, 0, 0, 1, "[none]"}, {4, 1e300, 4294967295.0, 0, 0}});
    load();
    EXPECT_EQ(player->welcome().backColor(), QColor(0x16, 0x12, 0x28));
    EXPECT_TRUE(player->boxes().empty());
}

TEST_F(Schemes, APictureThatCannotBeLoadedLeavesItsButtonVisible)
{
    useScheme("Night");
    folder.picture(QStringLiteral("Schemes/Night/start.bmp"), 100, 20, Qt::green);
    folder.writeBytes(QStringLiteral("Schemes/Night/load.bmp"), "BM not a picture");
    folder.write(QStringLiteral("Schemes/Night/Scheme.txt"), {{0, 0, 0, 3, "start.bmp", "load.bmp", "gone.bmp"}});
    load();
    EXPECT_TRUE(el("Img(0)")->shown());
    // Neither the broken nor the missing picture hides its widget; with no
    // picture in it the text of the button shows as well.
    for (const char* img : {"Img(1)", "Img(2)"}) {
        EXPECT_TRUE(el(img)->shown()) << img;
        EXPECT_FALSE(el(img)->hasPicture()) << img;
    }
    EXPECT_TRUE(el("lblButton(1)")->shown());
    EXPECT_TRUE(el("lblButton(2)")->shown());
    // A scheme applied again whose Start picture is broken keeps the one before.
    folder.writeBytes(QStringLiteral("Schemes/Dawn/start.bmp"), "BM broken");
    folder.write(QStringLiteral("Schemes/Dawn/Scheme.txt"), {{0, 0, 0, 1, "start.bmp"}});
    player->welcome().UseScheme(QStringLiteral("Dawn"));
    EXPECT_TRUE(el("Img(0)")->shown());
    EXPECT_EQ(el("Img(0)")->pictureFile(), QStringLiteral("start.bmp"));
    EXPECT_TRUE(el("Img(0)")->hasPicture());
    EXPECT_FALSE(el("lblButton(0)")->shown());
    EXPECT_TRUE(player->boxes().empty());
}
