#include "pictures/picture_decoder.h"

#include "base/failure.h"
#include "pictures/dib.h"
#include "pictures/emf_player.h"
#include "pictures/wmf_player.h"

namespace pictures {

namespace {

// The format of the common kinds by their first bytes, so that reading one
// does not load every image plugin Qt has to ask each whether it is theirs;
// nullptr leaves the rest to Qt's own look at the content.
const char* FormatByMagic(const QByteArray& bytes)
{
    if (bytes.startsWith("BM"))
        return "bmp";
    if (bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a"))
        return "gif";
    if (bytes.startsWith("\xFF\xD8\xFF"))
        return "jpeg";
    if (bytes.startsWith("\x89PNG\r\n\x1A\n"))
        return "png";
    return nullptr;
}

} // namespace

base::LazyImage ReadPicture(const QByteArray& bytes)
{
    // The headers are all a metafile can fail on; a drawing budget cut short
    // keeps what it drew.
    const auto metafile = [&](QSize (*size)(const QByteArray&), QImage (*draw)(const QByteArray&)) {
        try {
            return base::LazyImage(size(bytes), [bytes, draw] { return draw(bytes); });
        } catch (const base::Failure&) {
            return base::LazyImage();
        }
    };
    if (WmfPlayer::recognises(bytes))
        return metafile(&WmfPlayer::size, &WmfPlayer::draw);
    if (EmfPlayer::recognises(bytes))
        return metafile(&EmfPlayer::size, &EmfPlayer::draw);
    return ReadImage(bytes, FormatByMagic(bytes));
}

QImage DecodePicture(const QByteArray& bytes)
{
    return ReadPicture(bytes).image();
}

} // namespace pictures
