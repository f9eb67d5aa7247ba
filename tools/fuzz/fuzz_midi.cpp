// The MIDI reader that finds a piece's length by its tempo map.
#include "fuzz_support.h"
#include "platform/failure.h"
#include "platform/midi_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        (void)platform::ReadMidiPiece(fuzz::Bytes(data, size));
    } catch (const platform::Failure&) {
    }
    return 0;
}
