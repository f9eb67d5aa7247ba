// The metafile drawing, past the signature checks: the first byte chooses
// the kind, the rest are the file.
#include "base/failure.h"
#include "fuzz_support.h"
#include "pictures/emf_player.h"
#include "pictures/wmf_player.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::StartQt();
    if (size == 0)
        return 0;
    const QByteArray bytes = fuzz::Bytes(data + 1, size - 1);
    try {
        if (data[0] & 1)
            (void)pictures::EmfPlayer::draw(bytes);
        else
            (void)pictures::WmfPlayer::draw(bytes);
    } catch (const base::Failure&) {
    }
    return 0;
}
