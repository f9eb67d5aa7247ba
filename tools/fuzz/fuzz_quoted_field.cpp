// Feeds arbitrary bytes to the quoted-field reader through every kind of
// read, in an order taken from the input itself, until the fields run out.
#include "base/failure.h"
#include "formats/quoted_field_reader.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    // The first byte chooses the code page and the order of the reads.
    const std::uint8_t plan = data[0];
    static const base::CodePage pages[] = {base::CodePage(QStringLiteral("windows-1252")),
                                              base::CodePage(QStringLiteral("windows-1251")),
                                              base::CodePage(QStringLiteral("Shift_JIS")),
                                              base::CodePage(QStringLiteral("windows-1250"))};
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
    formats::QuotedFieldReader reader(bytes, pages[plan % 4]);
    for (unsigned step = plan; step < plan + 4096u; ++step) {
        try {
            if (reader.atEnd())
                break;
            switch (step % 8) {
            case 0: (void)reader.readString(); break;
            case 1: (void)reader.readInt16(); break;
            case 2: (void)reader.readInt32(); break;
            case 3: (void)reader.readSingle(); break;
            case 4: (void)reader.readBoolean(); break;
            case 5: (void)reader.readAny().toText(); break;
            case 6: (void)reader.readDouble(); break;
            case 7: (void)formats::QuotedFieldReader::leadingNumber(reader.readString()); break;
            }
        } catch (const base::Failure&) {
            // Bad data is a failure the callers handle; anything else escapes
            // and the fuzzer reports it.
        }
    }
    return 0;
}
