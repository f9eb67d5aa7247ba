#include "base/byte_reader.h"
#include "base/byte_writer.h"
#include "base/failure.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

using base::ByteReader;
using base::ByteWriter;
using base::Failure;

namespace {

QString failureOf(const std::function<void()>& read)
{
    try {
        read();
    } catch (const Failure& failure) {
        return QString::fromUtf8(failure.what());
    }
    return QStringLiteral("no failure");
}

} // namespace

TEST(ByteReader, ReadsUpToTheExactEndAndNotOneBytePast)
{
    const QByteArray bytes = QByteArray::fromHex("01020304");
    const ByteReader r(bytes);
    EXPECT_EQ(r.u32(0), 0x04030201u);
    EXPECT_EQ(r.u8(3), 4);
    EXPECT_EQ(r.u16(2), 0x0403);
    EXPECT_EQ(r.bytes(4, 0), QByteArray());
    EXPECT_THROW(r.u32(1), Failure);
    EXPECT_THROW(r.u16(3), Failure);
    EXPECT_THROW(r.u24be(2), Failure);
    EXPECT_THROW(r.u8(4), Failure);
    EXPECT_THROW(r.u8(-1), Failure);
    EXPECT_THROW(r.bytes(5, 0), Failure);
    EXPECT_TRUE(r.has(4, 0));
    EXPECT_FALSE(r.has(4, 1));
    EXPECT_FALSE(r.has(-1, 1));
    EXPECT_FALSE(r.has(1, -1));
}

TEST(ByteReader, ReadsLittleAndBigEndianAndExtendsTheSign)
{
    const QByteArray bytes = QByteArray::fromHex("8001feff" "0000803f");
    const ByteReader r(bytes);
    EXPECT_EQ(r.u16(0), 0x0180);
    EXPECT_EQ(r.i16(2), -2);
    EXPECT_EQ(r.u16(2), 0xFFFE);
    EXPECT_EQ(r.u32(0), 0xFFFE0180u);
    EXPECT_EQ(r.i32(0), -130688);
    EXPECT_EQ(r.u16be(0), 0x8001);
    EXPECT_EQ(r.u24be(1), 0x01FEFFu);
    EXPECT_EQ(r.u32be(0), 0x8001FEFFu);
    EXPECT_EQ(r.f32(4), 1.0f);
}

TEST(ByteReader, AWindowHoldsItsReadsWithinItselfWhateverACountClaims)
{
    const QByteArray bytes = QByteArray::fromHex("0102030405060708");
    const ByteReader r(bytes);
    const ByteReader window = r.sub(2, 4);
    EXPECT_EQ(window.u8(0), 3);
    EXPECT_EQ(window.u8(3), 6);
    // The byte after the window is there in the file, not in the window.
    EXPECT_THROW(window.u8(4), Failure);
    EXPECT_THROW(r.sub(6, 3), Failure);
    // Counts near the largest size do not wrap around past the check.
    const qsizetype huge = std::numeric_limits<qsizetype>::max();
    EXPECT_FALSE(r.has(2, huge));
    EXPECT_THROW(r.bytes(2, huge), Failure);
    EXPECT_THROW(r.sub(huge, 1), Failure);
}

TEST(ByteReader, SaysWhatItWasToldWhenCutShort)
{
    const QByteArray bytes = QByteArray::fromHex("0102030405060708");
    EXPECT_EQ(failureOf([&] { ByteReader(bytes).u32(6); }), QStringLiteral("record cut short: 4 bytes wanted at 6 of 8"));
    const ByteReader file(bytes, "file cut short");
    // Windows taken from it say the same, until told otherwise.
    EXPECT_EQ(failureOf([&] { file.sub(0, 2).u8(2); }), QStringLiteral("file cut short"));
    EXPECT_EQ(failureOf([&] { file.sub(0, 9); }), QStringLiteral("file cut short"));
    EXPECT_EQ(failureOf([&] { file.sub(0, 2).saying("part cut short").u16be(1); }), QStringLiteral("part cut short"));
}

TEST(ByteWriter, WritesWhatTheReaderReadsBack)
{
    ByteWriter w;
    w.u8(0xFE).u16(0xBEEF).u32(0xDEADBEEF).u16(static_cast<quint16>(-2)).u16be(0x1234).u24be(0x0A0B0C).u32be(0x01020304);
    w.raw(QByteArray("ab\0c", 4));
    const QByteArray bytes = w.bytes();
    EXPECT_EQ(bytes.toHex(), QByteArray("fe" "efbe" "efbeadde" "feff" "1234" "0a0b0c" "01020304" "61620063"));
    const ByteReader r(bytes);
    EXPECT_EQ(r.u8(0), 0xFE);
    EXPECT_EQ(r.u16(1), 0xBEEF);
    EXPECT_EQ(r.u32(3), 0xDEADBEEFu);
    EXPECT_EQ(r.i16(7), -2);
    EXPECT_EQ(r.u16be(9), 0x1234);
    EXPECT_EQ(r.u24be(11), 0x0A0B0Cu);
    EXPECT_EQ(r.u32be(14), 0x01020304u);
    EXPECT_EQ(r.bytes(18, 4), QByteArray("ab\0c", 4));
    EXPECT_EQ(r.size(), 22);
    // Three bytes keep the low three of a larger number.
    EXPECT_EQ(ByteWriter().u24be(0x11223344).bytes().toHex(), QByteArray("223344"));
}
