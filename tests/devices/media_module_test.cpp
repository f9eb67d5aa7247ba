#include "app/frm_welcome.h"
#include "app/runtime.h"
#include "base/failure.h"
#include "demo/authoring.h"
#include "devices/audio_device.h"
#include "devices/media_commands.h"
#include "devices/media_module.h"
#include "devices/video_decoder.h"
#include "media/media.h"
#include "media/mmedia.h"
#include "support/game_folder.h"
#include "support/player.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using testsupport::GameFolder;

namespace {

// The media module is mapped into this process.
bool moduleMapped()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(QByteArray(devices::MediaModule::FileName) + ".so");
}

QString expectedNotice(const QString& why)
{
    return QStringLiteral("The media module cannot be loaded: %1; the game plays silently and without videos.").arg(why);
}

} // namespace

// The player program starts without the media libraries: they come with
// the module it loads on the first sound.
TEST(MediaModule, ThePlayerProgramLinksNoMediaLibrary)
{
    const QString readelf = QStandardPaths::findExecutable(QStringLiteral("readelf"));
    if (readelf.isEmpty())
        GTEST_SKIP() << "readelf (binutils) is not installed";
    QProcess process;
    process.start(readelf, {QStringLiteral("-d"), QStringLiteral(LOOM_PLAYER)});
    ASSERT_TRUE(process.waitForFinished(30000));
    const QString dynamic = QString::fromUtf8(process.readAllStandardOutput());
    ASSERT_TRUE(dynamic.contains(QLatin1String("libQt6Core")));
    const QRegularExpression media(QStringLiteral("NEEDED.*(SDL|fluidsynth|asound|avcodec|avformat|avutil|swscale|swresample)"));
    EXPECT_FALSE(media.match(dynamic).hasMatch()) << media.match(dynamic).captured().toStdString();
}

TEST(MediaModule, LoadsWithTheFirstSoundAndNotAtStartUp)
{
    if (moduleMapped())
        GTEST_SKIP() << "another case of this process loaded the module already";
    GameFolder folder;
    folder.general();
    folder.variables({});
    folder.frame(QStringLiteral("Start"));
    folder.writeBytes(QStringLiteral("Areas/tone.wav"), demo::WavFile(demo::Tone(400)));
    app::Runtime rt(testsupport::ScriptedOptions(folder.path()));
    rt.frmWelcome().show();
    rt.frmWelcome().ClickButton(0);
    EXPECT_FALSE(moduleMapped());
    rt.media().SoundMedia().mmOpenWave(rt.project.AreasPath + QStringLiteral("tone.wav"));
    EXPECT_TRUE(moduleMapped());
}

TEST(MediaModule, WithoutItWavesKeepTheirLengthsAndTheReasonIsToldOnce)
{
    QTemporaryDir empty;
    QStringList notices;
    devices::MediaModule module([&](const QString& text) { notices << text; }, {empty.path()});
    devices::AudioDevice audio(module, {.silent = true});
    const devices::AudioDevice::SoundPtr tone = audio.decode(demo::WavFile(demo::Tone(300)));
    EXPECT_EQ(devices::AudioDevice::lengthMs(tone), 300);
    EXPECT_EQ(audio.play(tone, false).serial, 0u);
    EXPECT_FALSE(audio.open());
    EXPECT_THROW(audio.stream(devices::AudioSource{{}, demo::WavFile(demo::Tone(300))}), base::Failure);
    EXPECT_THROW(audio.loadMusic(demo::MidiFile({60, 64})), base::Failure);
    EXPECT_THROW(devices::VideoDecoder(module, QStringLiteral("/nonexistent.avi")), base::Failure);
    EXPECT_TRUE(module.missing());
    EXPECT_EQ(notices, QStringList{expectedNotice(QStringLiteral("no loomplay-media.so in %1").arg(empty.path()))});
}

TEST(MediaModule, AFileThatIsNotTheModuleIsRefusedWithTheLoadersReason)
{
    QTemporaryDir folder;
    QFile fake(folder.filePath(QStringLiteral("loomplay-media.so")));
    ASSERT_TRUE(fake.open(QIODevice::WriteOnly));
    fake.write("not a shared object");
    fake.close();
    QStringList notices;
    devices::MediaModule module([&](const QString& text) { notices << text; }, {folder.path()});
    EXPECT_EQ(module.backend(), nullptr);
    ASSERT_EQ(notices.size(), 1);
    EXPECT_FALSE(module.error().isEmpty());
    EXPECT_EQ(notices[0], expectedNotice(module.error()));
    EXPECT_TRUE(module.error().contains(fake.fileName())) << module.error().toStdString();
}

// A game whose run cannot load the module plays on in silence: its sounds
// end when they would have, its videos are left out, and only the module's
// absence is told.
TEST(MediaModule, AGameWithoutTheModulePlaysSilentlyWithOneNotice)
{
    QTemporaryDir empty;
    GameFolder folder;
    folder.general();
    folder.variables({});
    folder.frame(QStringLiteral("Start"));
    folder.writeBytes(QStringLiteral("Areas/tone.wav"), demo::WavFile(demo::Tone(1500)));
    ASSERT_TRUE(folder.video(QStringLiteral("Frames/intro.avi"), 500));
    run::RuntimeOptions options = testsupport::ScriptedOptions(folder.path());
    options.mediaModuleFolders = {empty.path()};
    app::Runtime rt(options);
    rt.frmWelcome().ClickButton(0);
    media::Mmedia& sound = rt.media().SoundMedia();
    sound.mmOpenWave(rt.project.AreasPath + QStringLiteral("tone.wav"));
    sound.mmPlay();
    EXPECT_EQ(sound.Status(), QStringLiteral("playing"));
    rt.clock().sleep(1400);
    EXPECT_EQ(sound.Status(), QStringLiteral("playing"));
    rt.clock().sleep(200);
    EXPECT_EQ(sound.Status(), QStringLiteral("stopped"));
    const QString video = rt.files.resolve(rt.project.FramesPath + QStringLiteral("intro.avi")).value().c_str();
    EXPECT_EQ(rt.media().commands().send(QStringLiteral("open \"%1\" type avivideo alias clip").arg(video)),
              devices::MediaCommands::kCannotRead);
    std::vector<QString> notices;
    for (const QJsonObject& e : rt.log.ofType(QStringLiteral("notice")))
        notices.push_back(e.value(QStringLiteral("text")).toString());
    EXPECT_EQ(notices, std::vector<QString>{expectedNotice(QStringLiteral("no loomplay-media.so in %1").arg(empty.path()))});
}
