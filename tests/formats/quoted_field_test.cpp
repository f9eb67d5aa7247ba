#include "base/failure.h"
#include "formats/quoted_field_reader.h"
#include "formats/quoted_field_writer.h"

#include <gtest/gtest.h>

using base::CodePage;
using formats::FieldValue;
using formats::QuotedFieldReader;
using formats::QuotedFieldWriter;

namespace {

QuotedFieldReader reader(const char* text)
{
    return QuotedFieldReader(QByteArray(text), CodePage());
}

} // namespace

TEST(QuotedFieldFile, FieldsAreReadWhateverTheLineLayout)
{
    auto r = reader("\"a, with comma\",12\r\n  3.5 ,#TRUE#\r\n\"last\"\r\n");
    EXPECT_EQ(r.readString(), QStringLiteral("a, with comma"));
    EXPECT_EQ(r.readInt16(), 12);
    EXPECT_FLOAT_EQ(r.readSingle(), 3.5f);
    EXPECT_TRUE(r.readBoolean());
    EXPECT_FALSE(r.atEnd());
    EXPECT_EQ(r.readString(), QStringLiteral("last"));
    EXPECT_TRUE(r.atEnd());
}

TEST(QuotedFieldFile, LoneLineFeedsAndCarriageReturnsEndFieldsToo)
{
    auto r = reader("1\n2\r3");
    EXPECT_EQ(r.readInt32(), 1);
    EXPECT_EQ(r.readInt32(), 2);
    EXPECT_EQ(r.readInt32(), 3);
    EXPECT_TRUE(r.atEnd());
}

TEST(QuotedFieldFile, EmptyOrNonNumericNumbersReadZero)
{
    auto r = reader(",abc,\"\",\"42\",#FALSE#,#TRUE#\r\n");
    EXPECT_EQ(r.readInt16(), 0);
    EXPECT_EQ(r.readInt16(), 0);
    EXPECT_EQ(r.readInt32(), 0);
    EXPECT_EQ(r.readInt32(), 42);
    EXPECT_EQ(r.readInt16(), 0);
    EXPECT_EQ(r.readInt16(), -1);
}

TEST(QuotedFieldFile, NumbersBeyondTheirTypeFail)
{
    auto r = reader("32767,32768,-32768,-32769,2147483648,1e39\r\n");
    EXPECT_EQ(r.readInt16(), 32767);
    EXPECT_THROW(r.readInt16(), base::Failure);
    EXPECT_EQ(r.readInt16(), -32768);
    EXPECT_THROW(r.readInt16(), base::Failure);
    EXPECT_THROW(r.readInt32(), base::Failure);
    EXPECT_THROW(r.readSingle(), base::Failure);
}

TEST(QuotedFieldFile, IntegersRoundHalfToEven)
{
    auto r = reader("2.5,3.5,-2.5,0.4\r\n");
    EXPECT_EQ(r.readInt16(), 2);
    EXPECT_EQ(r.readInt16(), 4);
    EXPECT_EQ(r.readInt16(), -2);
    EXPECT_EQ(r.readInt32(), 0);
}

TEST(QuotedFieldFile, ReadingPastTheLastFieldFails)
{
    auto r = reader("\"only\"\r\n");
    r.skip();
    EXPECT_TRUE(r.atEnd());
    EXPECT_THROW(r.readString(), base::Failure);
    auto empty = reader("");
    EXPECT_TRUE(empty.atEnd());
    EXPECT_THROW(empty.readInt16(), base::Failure);
}

namespace {

// The failure a read throws, for what it says beyond its text.
template <typename Read>
base::Failure failureOf(Read&& read)
{
    try {
        read();
    } catch (const base::Failure& e) {
        return e;
    }
    ADD_FAILURE() << "the read did not fail";
    return base::Failure("none");
}

} // namespace

TEST(QuotedFieldFile, FailuresSayWhatWentWrongAndAtWhichField)
{
    using Kind = base::Failure::Kind;
    auto r = reader("1,70000,\"abc\",3E+39,40000.4");
    r.readInt16();
    const base::Failure overflow = failureOf([&] { r.readInt16(); });
    EXPECT_EQ(overflow.kind(), Kind::Overflow);
    EXPECT_EQ(overflow.subject(), QStringLiteral("16-bit integer"));
    EXPECT_EQ(overflow.value(), QStringLiteral("70000"));
    EXPECT_EQ(overflow.position().field, 2);
    const base::Failure notBoolean = failureOf([&] { r.readBoolean(); });
    EXPECT_EQ(notBoolean.kind(), Kind::TypeMismatch);
    EXPECT_EQ(notBoolean.subject(), QStringLiteral("Boolean"));
    EXPECT_EQ(notBoolean.value(), QStringLiteral("abc"));
    EXPECT_EQ(notBoolean.position().field, 3);
    const base::Failure single = failureOf([&] { r.readSingle(); });
    EXPECT_EQ(single.subject(), QStringLiteral("single"));
    EXPECT_EQ(single.value(), QStringLiteral("3e+39"));
    EXPECT_EQ(single.position().field, 4);
    r.readInt32();
    const base::Failure pastEnd = failureOf([&] { r.readString(); });
    EXPECT_EQ(pastEnd.kind(), Kind::PastEnd);
    EXPECT_EQ(pastEnd.position().field, 6);
    EXPECT_STREQ(pastEnd.what(), "Input past end of file");
}

TEST(QuotedFieldFile, BooleansTakeFlagsAndNumbersButNotText)
{
    auto r = reader("#TRUE#,#FALSE#,0,-1,7,,\"yes\"\r\n");
    EXPECT_TRUE(r.readBoolean());
    EXPECT_FALSE(r.readBoolean());
    EXPECT_FALSE(r.readBoolean());
    EXPECT_TRUE(r.readBoolean());
    EXPECT_TRUE(r.readBoolean());
    EXPECT_FALSE(r.readBoolean());
    EXPECT_THROW(r.readBoolean(), base::Failure);
}

TEST(QuotedFieldFile, UntypedFieldsKeepWhatTheyAre)
{
    auto r = reader("\"12\",12.5,#TRUE#,#FALSE#,word\r\n");
    FieldValue s = r.readAny();
    EXPECT_TRUE(s.isString());
    EXPECT_EQ(s.text, QStringLiteral("12"));
    FieldValue n = r.readAny();
    EXPECT_EQ(n.kind, FieldValue::Kind::Number);
    EXPECT_DOUBLE_EQ(n.number, 12.5);
    FieldValue t = r.readAny();
    EXPECT_EQ(t.kind, FieldValue::Kind::Boolean);
    EXPECT_EQ(t.number, -1);
    EXPECT_EQ(r.readAny().number, 0);
    EXPECT_EQ(r.readAny().text, QStringLiteral("word"));
}

TEST(QuotedFieldFile, AnUnclosedQuoteTakesTheRestOfTheFile)
{
    auto r = reader("\"never closed, at all\r\n2");
    EXPECT_EQ(r.readString(), QStringLiteral("never closed, at all\r\n2"));
    EXPECT_TRUE(r.atEnd());
}

TEST(QuotedFieldFile, LeadingNumberTakesTheNumberAtTheStartOfATimerText)
{
    EXPECT_DOUBLE_EQ(QuotedFieldReader::leadingNumber(QStringLiteral("2.5 seconds")), 2.5);
    EXPECT_DOUBLE_EQ(QuotedFieldReader::leadingNumber(QStringLiteral(" -3")), -3);
    EXPECT_DOUBLE_EQ(QuotedFieldReader::leadingNumber(QStringLiteral("abc")), 0);
    EXPECT_DOUBLE_EQ(QuotedFieldReader::leadingNumber(QString()), 0);
}

TEST(QuotedFieldFile, WriterWritesRecordsWithCrLfThatReadBack)
{
    QuotedFieldWriter w;
    w.string(QStringLiteral("Hall, east")).number(640).number(0.5).boolean(true).endRecord();
    w.boolean(false).endRecord();
    EXPECT_EQ(w.bytes(), QByteArray("\"Hall, east\",640,0.5,#TRUE#\r\n#FALSE#\r\n"));
    QuotedFieldReader r(w.bytes(), CodePage());
    EXPECT_EQ(r.readString(), QStringLiteral("Hall, east"));
    EXPECT_EQ(r.readInt16(), 640);
    EXPECT_DOUBLE_EQ(r.readDouble(), 0.5);
    EXPECT_TRUE(r.readBoolean());
    EXPECT_FALSE(r.readBoolean());
    EXPECT_TRUE(r.atEnd());
}

TEST(QuotedFieldFile, TextIsDecodedAndEncodedInTheGamesCodePage)
{
    const QString text = QStringLiteral("Caf\u00e9 \u20ac");
    QuotedFieldWriter w(CodePage(QStringLiteral("windows-1252")));
    w.line(text);
    EXPECT_EQ(w.bytes(), QByteArray("\"Caf\xe9 \x80\"\r\n"));
    QuotedFieldReader r(w.bytes(), CodePage(QStringLiteral("windows-1252")));
    EXPECT_EQ(r.readString(), text);

    const QString cyrillic = QStringLiteral("\u0417\u0430\u043b");
    QuotedFieldWriter w1251(CodePage::named(QStringLiteral("windows-1251")));
    w1251.line(cyrillic);
    QuotedFieldReader r1251(w1251.bytes(), CodePage(QStringLiteral("windows-1251")));
    EXPECT_EQ(r1251.readString(), cyrillic);
    EXPECT_THROW(CodePage::named(QStringLiteral("no-such-page")), base::Failure);
}
