// Every picture the player loads goes through this one decoder: BMP, JPG,
// GIF, ICO, CUR, WMF and EMF, recognised by content.
#include "fuzz_support.h"
#include "pictures/picture_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::StartQt();
    (void)pictures::DecodePicture(fuzz::Bytes(data, size));
    return 0;
}
