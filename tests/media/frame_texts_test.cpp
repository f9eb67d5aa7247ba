#include "automation/script_runner.h"
#include "support/game_folder.h"
#include "support/player.h"

#include <QCoreApplication>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

using testsupport::GameFolder;
using testsupport::Player;

class FrameTexts : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder.general();
        folder.variables({});
        folder.frame(QStringLiteral("Start"));
        folder.frame(QStringLiteral("Next"));
    }
    engine::Game& start()
    {
        player = std::make_unique<Player>(folder, QSize(640, 480));
        player->start();
        return player->game();
    }
    platform::Element* text(int i) { return player->game().element(QStringLiteral("Text(%1)").arg(i)); }

    GameFolder folder;
    std::unique_ptr<Player> player;
};

TEST_F(FrameTexts, EachLabelFileGivesALabelInNameOrderLaterOnesOnTop)
{
    folder.write(QStringLiteral("Areas/Start/c.lbl"), {{"Third", 300, 600, false, true, "Courier New", 10, false, false, 0}});
    folder.write(QStringLiteral("Areas/Start/a.lbl"), {{"First", 150, 150, true, false, "Arial", 14, false, true, 255}});
    folder.write(QStringLiteral("Areas/Start/B.LBL"), {{"Second", 1500, 300, false, false, "Times New Roman", 12, true, false, 16711680}});
    start();
    ASSERT_NE(text(3), nullptr);
    EXPECT_EQ(text(1)->text(), QStringLiteral("First"));
    EXPECT_EQ(text(2)->text(), QStringLiteral("Second"));
    EXPECT_EQ(text(3)->text(), QStringLiteral("Third"));
    EXPECT_GT(text(3)->zValue(), text(2)->zValue());
    EXPECT_GT(text(2)->zValue(), text(1)->zValue());
    EXPECT_EQ(text(1)->left(), 150);
    EXPECT_EQ(text(2)->top(), 300);
    EXPECT_TRUE(text(1)->font().bold());
    EXPECT_TRUE(text(1)->font().underline());
    EXPECT_EQ(text(1)->foreColor(), QColor(255, 0, 0));
    EXPECT_EQ(text(2)->foreColor(), QColor(0, 0, 255));
    EXPECT_TRUE(text(2)->font().strikeOut());
    EXPECT_TRUE(text(3)->font().italic());
    EXPECT_EQ(text(3)->font().family(), QStringLiteral("Courier New"));
    EXPECT_DOUBLE_EQ(text(3)->font().pointSizeF(), 10);
    // Labels size themselves to their caption.
    EXPECT_GT(text(1)->width(), 0);
    EXPECT_GT(text(2)->width(), text(1)->width());
    EXPECT_EQ(text(1)->tag(), player->rt().project.AreasPath + QStringLiteral("Start/a.lbl"));
    EXPECT_TRUE(player->boxes().empty());
}

TEST_F(FrameTexts, AFileWithOnlyTheCaptionKeepsTheTemplatesPlaceAndFont)
{
    folder.write(QStringLiteral("Areas/Start/only.lbl"), {{"Just words"}});
    folder.writeBytes(QStringLiteral("Areas/Start/bad.lbl"), "\"Bad size\",10,20,#TRUE#,#FALSE#,\"Arial\",\"huge\",#FALSE#");
    start();
    const platform::Element* bad = text(1);
    const platform::Element* only = text(2);
    ASSERT_NE(only, nullptr);
    EXPECT_TRUE(only->shown());
    EXPECT_EQ(only->text(), QStringLiteral("Just words"));
    EXPECT_EQ(only->left(), 0);
    EXPECT_EQ(only->font().family(), QStringLiteral("Arial"));
    EXPECT_DOUBLE_EQ(only->font().pointSizeF(), 24);
    EXPECT_TRUE(only->font().bold());
    // A bad field leaves that one property; the rest of the file still counts.
    EXPECT_EQ(bad->text(), QStringLiteral("Bad size"));
    EXPECT_EQ(bad->top(), 20);
    EXPECT_DOUBLE_EQ(bad->font().pointSizeF(), 24);
    EXPECT_TRUE(player->boxes().empty());
}

TEST_F(FrameTexts, OpeningAnotherFrameReplacesTheTextsStartingAgainAtOne)
{
    folder.write(QStringLiteral("Areas/Start/a.lbl"), {{"Here", 0, 0}});
    folder.write(QStringLiteral("Areas/Start/b.lbl"), {{"There", 0, 0}});
    folder.write(QStringLiteral("Areas/Next/z.lbl"), {{"Elsewhere", 0, 0}});
    engine::Game& game = start();
    game.OpenFrame(QStringLiteral("Next"));
    QCoreApplication::processEvents();
    EXPECT_EQ(text(1)->text(), QStringLiteral("Elsewhere"));
    EXPECT_EQ(text(2), nullptr);
    game.OpenFrame(QStringLiteral("Start"));
    EXPECT_EQ(text(2)->text(), QStringLiteral("There"));
}

TEST_F(FrameTexts, AFrameWithoutAFolderHasNoTexts)
{
    start();
    EXPECT_EQ(text(1), nullptr);
    EXPECT_TRUE(player->boxes().empty());
}

TEST_F(FrameTexts, ThePressOnATextIsAPressOnTheWindow)
{
    folder.write(QStringLiteral("Areas/Start/a.lbl"), {{"Press me", 1500, 1500}});
    engine::Game& game = start();
    automation::ScriptRunner runner(player->rt(), QString());
    ASSERT_TRUE(runner.run({QStringLiteral("click Text(1) right")}));
    EXPECT_TRUE(game.menus().open());
}

TEST_F(FrameTexts, ACaptionWithLineBreaksSizesToEveryLineAndDrawsThemAll)
{
    folder.write(QStringLiteral("Areas/Start/a.lbl"), {{"Text one\r\nText two", 150, 150, false, false, "Arial", 12, false, false, 255}});
    folder.write(QStringLiteral("Areas/Start/b.lbl"), {{"Text one", 150, 1500, false, false, "Arial", 12, false, false, 255}});
    start();
    const platform::Element* two = text(1);
    const platform::Element* one = text(2);
    EXPECT_GE(two->height(), 2 * one->height() - 30);
    EXPECT_NEAR(two->width(), one->width(), 30);
    // The second line is drawn below the first, not cut off after it: red
    // pixels in the lower half of the label.
    QImage picture(two->width() / 15, two->height() / 15, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    const_cast<platform::Element*>(two)->paint(&painter, nullptr, nullptr);
    painter.end();
    int redBelow = 0;
    for (int y = picture.height() / 2 + 1; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x)
            redBelow += qRed(picture.pixel(x, y)) > 128 && qAlpha(picture.pixel(x, y)) > 128;
    }
    EXPECT_GT(redBelow, 10);
}
