// Opening a video: its size, length and whole sound track, then the first
// and the last picture.
#include "backend/ffmpeg_video.h"
#include "base/failure.h"
#include "fuzz_support.h"

#include <QFile>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString path = fuzz::ScratchFolder() + QStringLiteral("/video.avi");
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    try {
        backend::FfmpegVideo video(path);
        (void)video.frameAt(0, true);
        (void)video.frameAt(video.lengthMs(), true);
    } catch (const base::Failure&) {
    }
    return 0;
}
