#include "base/failure.h"
#include "devices/sound_font.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(SoundFont, ARiffFileOfTheFormSfbkIsTaken)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("font.sf2"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("RIFF\x04\0\0\0sfbk", 12));
    file.close();
    EXPECT_NO_THROW(devices::CheckSoundFont(path));
}

TEST(SoundFont, AFolderIsNoSoundfont)
{
    QTemporaryDir dir;
    try {
        devices::CheckSoundFont(dir.path());
        FAIL() << "a folder was taken";
    } catch (const base::Failure& e) {
        EXPECT_EQ(QString::fromStdString(e.what()), QStringLiteral("cannot read the soundfont %1: it is a folder").arg(dir.path()));
    }
}
