// The mouse pointers of .cur and .ico files and their hot spots.
#include "base/failure.h"
#include "engine/cursors.h"
#include "fuzz_support.h"

#include <QPixmap>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::StartQt();
    try {
        const engine::CursorPicture cursor = engine::DecodeCursor(fuzz::Bytes(data, size));
        const QCursor made(QPixmap::fromImage(cursor.image), cursor.hotSpot.x(), cursor.hotSpot.y());
        (void)made.hotSpot();
    } catch (const base::Failure&) {
    }
    return 0;
}
