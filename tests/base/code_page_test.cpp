#include "base/code_page.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

using base::CodePage;

// The bytes the Windows page gives letters and signs that Latin-1 keeps for
// control codes.
TEST(CodePage, Windows1252DecodesTheBytesFrom0x80To0x9FAsItsOwnSigns)
{
    const CodePage page(QStringLiteral("windows-1252"));
    const QByteArray bytes("\x80\x8A\x93\x96\x99\x9F", 6);
    const QString expected = QStringLiteral("\u20AC\u0160\u201C\u2013\u2122\u0178");
    EXPECT_EQ(page.decode(bytes), expected);
    // The converter made for the first file serves the next ones the same.
    EXPECT_EQ(page.decode(bytes), expected);
    EXPECT_EQ(page.encode(expected), bytes);
}

// A file cut inside a two-byte character must not lend its first byte to
// the next file read, in the same code page or a copy of it.
TEST(CodePage, EachFileDecodesOnItsOwnAfterOneCutInsideACharacter)
{
    const CodePage page(QStringLiteral("Shift_JIS"));
    const CodePage copy = page;
    const QString cut = CodePage(QStringLiteral("Shift_JIS")).decode(QByteArray("A\x82"));
    EXPECT_EQ(page.decode(QByteArray("A\x82")), cut);
    EXPECT_EQ(page.decode(QByteArray("\xA0" "B")), CodePage(QStringLiteral("Shift_JIS")).decode(QByteArray("\xA0" "B")));
    EXPECT_EQ(page.decode(QByteArray("A\x82")), cut);
    EXPECT_EQ(copy.decode(QByteArray("\x82\xA0" "C")), QStringLiteral("\u3042C"));
    // The encoder likewise, with a Cyrillic page.
    const CodePage cyrillic(QStringLiteral("windows-1251"));
    EXPECT_EQ(cyrillic.encode(QStringLiteral("\u0416")), QByteArray("\xC6"));
    EXPECT_EQ(cyrillic.encode(QStringLiteral("\u0416")), QByteArray("\xC6"));
}

// The copies of a run's code page share one converter: two threads
// converting at once each get their own text.
TEST(CodePage, CopiesConvertOnTwoThreadsAtOnce)
{
    const CodePage page(QStringLiteral("windows-1252"));
    auto convert = [](CodePage copy, QByteArray bytes, QString expected, int* wrong) {
        for (int i = 0; i < 2000; ++i) {
            if (copy.decode(bytes) != expected || copy.encode(expected) != bytes)
                ++*wrong;
        }
    };
    int wrongA = 0, wrongB = 0;
    std::thread a(convert, page, QByteArray("caf\xE9 \x80", 6), QStringLiteral("caf\u00E9 \u20AC"), &wrongA);
    std::thread b(convert, page, QByteArray("\x93na\xEFve\x94", 7), QStringLiteral("\u201Cna\u00EFve\u201D"), &wrongB);
    a.join();
    b.join();
    EXPECT_EQ(wrongA, 0);
    EXPECT_EQ(wrongB, 0);
}
