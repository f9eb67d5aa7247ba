// Decoded pictures: one copy a file, shared by everything that shows it, and
// a budget for the memory their pixels take.
#include "base/failure.h"
#include "pictures/picture_cache.h"
#include "support/game_folder.h"
#include "support/player.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using testsupport::GameFolder;
using testsupport::Player;

namespace {

// A picture of 256 colours, as old games kept them.
void indexedPicture(const GameFolder& folder, const QString& relative, int width, int height, QColor colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    ASSERT_TRUE(image.convertToFormat(QImage::Format_Indexed8).save(folder.file(relative), "BMP"));
}

// A game whose first frame has an area for each picture named.
void areasShowing(GameFolder& folder, std::initializer_list<const char*> pictures)
{
    folder.general();
    folder.variables({});
    folder.frame(QStringLiteral("Start"));
    int i = 0;
    for (const char* picture : pictures) {
        ++i;
        folder.area(QStringLiteral("Start"), i, i * 1200, 300, 960, 960, QString::fromLatin1(picture), true);
    }
    folder.write(QStringLiteral("Frames/Start.lks"), {{i}});
}

QImage solid(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::red);
    return image;
}

} // namespace

TEST(SharedPictures, AreasShowingOneFileShareOneCopyUntilTheFileChanges)
{
    GameFolder folder;
    areasShowing(folder, {"door.bmp", "door.bmp", "DOOR.BMP"});
    indexedPicture(folder, QStringLiteral("Areas/door.bmp"), 40, 30, Qt::red);
    Player player(folder, QSize(640, 480));
    player.start();
    EXPECT_TRUE(player.takeMessages().empty());
    const auto picture = [&](int i) { return player.game().element(QStringLiteral("Area(%1)").arg(i))->picture(); };
    // Decoded once and converted once, for painting.
    EXPECT_EQ(picture(1).format(), QImage::Format_RGB32);
    EXPECT_EQ(picture(2).constBits(), picture(1).constBits());
    EXPECT_EQ(picture(3).constBits(), picture(1).constBits());

    // A file written anew is decoded anew; what shows the old one keeps it.
    indexedPicture(folder, QStringLiteral("Areas/door.bmp"), 50, 30, Qt::blue);
    const QImage changed = player.rt().LoadPicture(folder.file(QStringLiteral("Areas/door.bmp"))).image();
    EXPECT_EQ(changed.size(), QSize(50, 30));
    EXPECT_EQ(changed.pixelColor(0, 0), QColor(Qt::blue));
    EXPECT_EQ(picture(1).pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(player.rt().LoadPicture(folder.file(QStringLiteral("Areas/door.bmp"))).image().constBits(), changed.constBits());
}

TEST(SharedPictures, AnAreaWhosePicturePassesTheBudgetIsLeftOutWithTheReport)
{
    // Each picture takes 40,000 bytes once painted; a file shown twice
    // counts once.
    GameFolder folder;
    areasShowing(folder, {"a.bmp", "b.bmp", "a.bmp"});
    indexedPicture(folder, QStringLiteral("Areas/a.bmp"), 100, 100, Qt::red);
    indexedPicture(folder, QStringLiteral("Areas/b.bmp"), 100, 100, Qt::blue);
    run::RuntimeOptions options = testsupport::ScriptedOptions(folder.path());
    options.pictureMemory = 60000;
    app::Runtime rt(options);
    rt.frmWelcome().ClickButton(0);
    const std::vector<QString> texts = testsupport::TakeMessageTexts(rt);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], Player::errorReport(QStringLiteral(" Unable to load area #2 (out of 3).")));
    engine::Game& game = rt.game();
    EXPECT_TRUE(game.element(QStringLiteral("Area(1)"))->hasPicture());
    EXPECT_FALSE(game.element(QStringLiteral("Area(2)"))->hasPicture());
    EXPECT_TRUE(game.element(QStringLiteral("Area(3)"))->hasPicture());
}

TEST(SharedPictures, TheBudgetCountsPicturesAsPaintedAndOnlyWhileSomethingShowsThem)
{
    QTemporaryDir dir;
    const auto file = [&](const char* name) {
        QFile out(dir.filePath(QString::fromLatin1(name)));
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(name);
        return std::filesystem::path(out.fileName().toStdString());
    };
    const std::filesystem::path a = file("a"), b = file("b");
    pictures::PictureCache cache(60000);
    int decoded = 0;
    const auto decode = [&] {
        ++decoded;
        return solid(100, 100);
    };
    // 20,000 bytes of indexed pixels take 80,000 once converted for
    // painting.
    EXPECT_THROW(cache.load(a, [] { return solid(200, 100).convertToFormat(QImage::Format_Indexed8); }), base::Failure);
    base::LazyImage shown = cache.load(a, decode);
    EXPECT_EQ(cache.heldBytes(), 40000);
    EXPECT_THROW(cache.load(b, decode), base::Failure);
    // Nothing shows a any more: b takes its place.
    shown = base::LazyImage();
    const base::LazyImage other = cache.load(b, decode);
    EXPECT_EQ(cache.heldBytes(), 40000);
    EXPECT_EQ(cache.load(b, decode).image().constBits(), other.image().constBits());
    EXPECT_EQ(decoded, 3);
}
