// The MIDI reader that finds a piece's length by its tempo map.
#include "base/failure.h"
#include "devices/midi_file.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        (void)devices::ReadMidiPiece(fuzz::Bytes(data, size));
    } catch (const base::Failure&) {
    }
    return 0;
}
