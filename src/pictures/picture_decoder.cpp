#include "pictures/picture_decoder.h"

#include "base/failure.h"
#include "pictures/dib.h"
#include "pictures/emf_player.h"
#include "pictures/wmf_player.h"

namespace pictures {

QImage DecodePicture(const QByteArray& bytes)
{
    try {
        if (WmfPlayer::recognises(bytes))
            return WmfPlayer::draw(bytes);
        if (EmfPlayer::recognises(bytes))
            return EmfPlayer::draw(bytes);
    } catch (const base::Failure&) {
        return {};
    }
    return ReadImage(bytes, nullptr);
}

} // namespace pictures
