#include "base/byte_writer.h"
#include "base/failure.h"
#include "devices/audio_device.h"
#include "devices/media_module.h"
#include "devices/midi_file.h"

#include <QFile>

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

using base::ByteWriter;
using base::Failure;
using devices::MidiPiece;
using devices::ReadMidiPiece;

namespace {

QByteArray variableLength(quint32 value)
{
    QByteArray out(1, char(value & 0x7F));
    while (value >>= 7)
        out.prepend(char(0x80 | (value & 0x7F)));
    return out;
}

// One track event: its delta time, then its bytes as written.
QByteArray event(quint32 delta, std::initializer_list<int> bytes)
{
    QByteArray out = variableLength(delta);
    for (int b : bytes)
        out.append(char(b));
    return out;
}

QByteArray tempo(quint32 delta, quint32 usPerQuarter)
{
    return event(delta, {0xFF, 0x51, 0x03}) + ByteWriter().u24be(usPerQuarter).bytes();
}

QByteArray endOfTrack(quint32 delta = 0) { return event(delta, {0xFF, 0x2F, 0x00}); }

QByteArray chunk(const char* id, const QByteArray& body)
{
    return ByteWriter().raw(QByteArray(id, 4)).u32be(quint32(body.size())).raw(body).bytes();
}

// The header's three numbers: format, tracks and time division.
QByteArray header(int format, int tracks, int division)
{
    return ByteWriter().u16be(format).u16be(tracks).u16be(division).bytes();
}

QByteArray midi(int format, int division, const std::vector<QByteArray>& tracks)
{
    QByteArray out = chunk("MThd", header(format, int(tracks.size()), division));
    for (const QByteArray& track : tracks)
        out += chunk("MTrk", track);
    return out;
}

QByteArray quarterNote(quint32 ticks) { return event(0, {0x90, 60, 100}) + event(ticks, {0x80, 60, 0}); }

} // namespace

TEST(MidiFileTiming, QuarterNoteAtTheDefaultTempoLastsHalfASecond)
{
    const MidiPiece piece = ReadMidiPiece(midi(0, 480, {quarterNote(480) + endOfTrack()}));
    EXPECT_EQ(piece.lengthMs, 500);
    EXPECT_EQ(piece.tracks, 1);
    EXPECT_EQ(piece.format, 0);
}

TEST(MidiFileTiming, TempoChangeAppliesFromItsTickOn)
{
    // One beat at 120 bpm, then one at 60 bpm.
    const QByteArray track = tempo(0, 500000) + event(0, {0x90, 60, 100}) + tempo(480, 1000000)
        + event(480, {0x80, 60, 0}) + endOfTrack();
    EXPECT_EQ(ReadMidiPiece(midi(0, 480, {track})).lengthMs, 1500);
}

TEST(MidiFileTiming, EndOfTrackLongAfterTheLastNoteCounts)
{
    EXPECT_EQ(ReadMidiPiece(midi(0, 96, {quarterNote(96) + endOfTrack(960)})).lengthMs, 5500);
}

TEST(MidiFileTiming, TrackWithoutEndOfTrackEndsAtItsLastEvent)
{
    EXPECT_EQ(ReadMidiPiece(midi(0, 480, {quarterNote(960)})).lengthMs, 1000);
}

TEST(MidiFileTiming, FormatOneTimesTheLongestTrackByTheTempoOfTrackZero)
{
    const QByteArray conductor = tempo(0, 500000) + tempo(480, 1000000) + endOfTrack();
    const MidiPiece piece = ReadMidiPiece(midi(1, 480, {conductor, quarterNote(1440) + endOfTrack()}));
    EXPECT_EQ(piece.lengthMs, 500 + 2000);
    EXPECT_EQ(piece.tracks, 2);
    EXPECT_EQ(piece.format, 1);
}

TEST(MidiFileTiming, FormatOneTakesTempoChangesFromAnyTrackInTickOrder)
{
    const QByteArray notes = quarterNote(960) + endOfTrack();
    const QByteArray late = tempo(480, 250000) + endOfTrack();
    const QByteArray early = tempo(240, 1000000) + endOfTrack();
    // 240 ticks at 120 bpm, 240 at 60 bpm, 480 at 240 bpm.
    EXPECT_EQ(ReadMidiPiece(midi(1, 480, {notes, late, early})).lengthMs, 250 + 500 + 250);
}

TEST(MidiFileTiming, FormatTwoTimesEachSequenceByItsOwnTempo)
{
    const QByteArray slow = tempo(0, 1000000) + quarterNote(480) + endOfTrack();
    const QByteArray plain = quarterNote(720) + endOfTrack();
    EXPECT_EQ(ReadMidiPiece(midi(2, 480, {slow, plain})).lengthMs, 1000);
    EXPECT_EQ(ReadMidiPiece(midi(2, 480, {plain, slow})).lengthMs, 1000);
}

TEST(MidiFileTiming, SmpteDivisionCountsRealTimeAndIgnoresTempo)
{
    // 25 frames a second of 40 ticks: a tick is a millisecond.
    const QByteArray track = tempo(0, 1000000) + quarterNote(1000) + endOfTrack();
    EXPECT_EQ(ReadMidiPiece(midi(0, 0xE728, {track})).lengthMs, 1000);
    // 30 frames of 4 ticks: 120 ticks a second.
    EXPECT_EQ(ReadMidiPiece(midi(0, 0xE204, {quarterNote(360)})).lengthMs, 3000);
}

TEST(MidiFileEvents, RunningStatusKeepsEachMessageSize)
{
    // Note messages carry two data bytes, program changes one: a reader that
    // miscounts either loses its place in the track.
    const QByteArray track = event(0, {0x90, 60, 100}) + event(240, {60, 0}) + event(0, {0xC0, 5})
        + event(240, {6}) + event(240, {7}) + endOfTrack();
    EXPECT_EQ(ReadMidiPiece(midi(0, 480, {track})).lengthMs, 750);
}

TEST(MidiFileEvents, SysexMetaAndUnknownChunksAreSkipped)
{
    QByteArray sysex = event(0, {0xF0}) + variableLength(200) + QByteArray(199, '\x7F') + QByteArray(1, '\xF7');
    QByteArray text = event(0, {0xFF, 0x01}) + variableLength(130) + QByteArray(130, '\xFF');
    const QByteArray track = sysex + text + event(240, {0xF7, 0x01, 0xF8}) + quarterNote(240) + endOfTrack();
    QByteArray file = midi(1, 480, {track});
    // A longer header and a chunk of another kind before the track.
    file = chunk("MThd", header(1, 1, 480) + "xx") + chunk("XFIH", "\xFF\xFF\xFF")
        + file.mid(14);
    EXPECT_EQ(ReadMidiPiece(file).lengthMs, 500);
}

// Recording programs wrote the cable's clock, active sensing, time code and
// song position bytes into their files: they are left out, their time kept.
TEST(MidiFileEvents, StraySystemBytesAreLeftOutWithTheirTimeKept)
{
    const QByteArray notes = event(0, {0x90, 60, 100}) + event(100, {0xF8}) + event(40, {0xF1, 0x23}) + event(100, {60, 0})
        + event(0, {0xF2, 0x01, 0x02}) + event(0, {0xF3, 5}) + event(0, {0xF6}) + event(0, {0xFE}) + event(0, {0xC0, 5})
        + event(240, {6}) + endOfTrack();
    const QByteArray clean = event(0, {0x90, 60, 100}) + event(240, {60, 0}) + event(0, {0xC0, 5}) + event(240, {6}) + endOfTrack();
    const QByteArray conductor = tempo(0, 250000) + endOfTrack();
    // Running status goes on across them: the note off after the clock
    // bytes and the program change after the song bytes keep their sizes.
    const MidiPiece single = ReadMidiPiece(midi(0, 480, {notes}));
    EXPECT_EQ(single.lengthMs, 500);
    EXPECT_EQ(single.strayEvents, 6);
    EXPECT_EQ(single.playable, midi(0, 480, {clean}));
    const MidiPiece multi = ReadMidiPiece(midi(1, 480, {conductor, notes}));
    EXPECT_EQ(multi.lengthMs, 250);
    EXPECT_EQ(multi.playable, midi(1, 480, {conductor, clean}));
    const MidiPiece sequences = ReadMidiPiece(midi(2, 480, {conductor + quarterNote(480), notes}));
    EXPECT_EQ(sequences.lengthMs, 500);
    EXPECT_EQ(sequences.strayEvents, 6);
    // A file without them is given to the synthesiser as it is.
    const QByteArray plain = midi(1, 480, {conductor, clean});
    const MidiPiece as = ReadMidiPiece(plain);
    EXPECT_EQ(as.strayEvents, 0);
    EXPECT_TRUE(as.playable.isSharedWith(plain));
}

// The files of the corpus, written byte by byte outside the project's own
// writers (tools/corpus/make_midi.py).
TEST(MidiFileCorpus, EachFileIsTimedByItsTempoMapAndTakenByTheSynthesiser)
{
    struct Expected {
        const char* file;
        qint64 lengthMs;
        int strayEvents;
    };
    devices::MediaModule module;
    devices::AudioDevice audio(module, {.silent = true});
    for (const Expected& expected : {Expected{"clocked.mid", 1500, 6}, Expected{"running_status.mid", 1208, 1},
                                     Expected{"sequences.mid", 1000, 1}}) {
        QFile file(QStringLiteral(LOOM_TEST_DATA_DIR "/midi/") + QLatin1String(expected.file));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << expected.file;
        const MidiPiece piece = ReadMidiPiece(file.readAll());
        EXPECT_EQ(piece.lengthMs, expected.lengthMs) << expected.file;
        EXPECT_EQ(piece.strayEvents, expected.strayEvents) << expected.file;
        if (audio.hasSoundFont()) {
            EXPECT_NO_THROW(audio.loadMusic(piece.playable)) << expected.file;
        }
    }
}

TEST(MidiFileErrors, MalformedFilesThrow)
{
    const QByteArray track = quarterNote(480) + endOfTrack();
    EXPECT_THROW(ReadMidiPiece(QByteArray()), Failure);
    EXPECT_THROW(ReadMidiPiece("RIFF\0\0\0\0RMID"), Failure);
    EXPECT_THROW(ReadMidiPiece(midi(3, 480, {track})), Failure);
    EXPECT_THROW(ReadMidiPiece(midi(0, 480, {})), Failure);
    EXPECT_THROW(ReadMidiPiece(midi(0, 0, {track})), Failure);
    EXPECT_THROW(ReadMidiPiece(midi(0, 0xE700, {track})), Failure);
    EXPECT_THROW(ReadMidiPiece(midi(0, 480, {event(0, {60, 100}) + endOfTrack()})), Failure);
    // A stray system byte gives no running status to the data after it.
    EXPECT_THROW(ReadMidiPiece(midi(0, 480, {event(0, {0xF8}) + event(0, {60, 100}) + endOfTrack()})), Failure);
    EXPECT_THROW(ReadMidiPiece(midi(0, 480, {QByteArray("\x81\x81\x81\x81\x00", 5) + endOfTrack()})), Failure);
    // A meta event longer than its track, and a track longer than the file.
    EXPECT_THROW(ReadMidiPiece(midi(0, 480, {event(0, {0xFF, 0x01, 0x7F, 'a'})})), Failure);
    QByteArray file = midi(0, 480, {track});
    file.replace(18, 4, ByteWriter().u32be(0x7FFFFFF0).bytes());
    EXPECT_THROW(ReadMidiPiece(file), Failure);
}

TEST(MidiFileErrors, EveryCutShortFileThrows)
{
    const QByteArray conductor = tempo(0, 600000) + endOfTrack();
    const QByteArray notes = event(0, {0xF0, 0x02, 0x43, 0xF7}) + quarterNote(480) + event(0, {0xFF, 0x03, 0x02, 'h', 'i'}) + endOfTrack();
    const QByteArray file = midi(1, 480, {conductor, notes});
    ASSERT_EQ(ReadMidiPiece(file).lengthMs, 600);
    for (qsizetype size = 0; size < file.size(); ++size)
        EXPECT_THROW(ReadMidiPiece(file.left(size)), Failure) << "cut at " << size;
}

TEST(MidiFileErrors, ACutShortFileOrTrackSaysWhich)
{
    auto failure = [](const QByteArray& file) {
        try {
            ReadMidiPiece(file);
        } catch (const Failure& f) {
            return QString::fromUtf8(f.what());
        }
        return QString();
    };
    const QByteArray file = midi(0, 480, {quarterNote(480) + endOfTrack()});
    EXPECT_EQ(failure(file.left(12)), QStringLiteral("MIDI file cut short"));
    EXPECT_EQ(failure(file.left(file.size() - 1)), QStringLiteral("MIDI file cut short"));
    // A meta event longer than the track that holds it.
    EXPECT_EQ(failure(midi(0, 480, {event(0, {0xFF, 0x01, 0x7F, 'a'})})), QStringLiteral("MIDI track cut short"));
}

TEST(MidiFileErrors, GarbledBytesParseOrThrowFailure)
{
    const QByteArray track = tempo(0, 400000) + event(0, {0xF0, 0x01, 0xF7}) + quarterNote(480) + event(10, {0xC1, 3})
        + event(10, {4}) + endOfTrack();
    const QByteArray file = midi(1, 480, {track, track});
    for (qsizetype at = 0; at < file.size(); ++at) {
        for (char value : {'\x00', '\x7F', '\x80', '\xFF'}) {
            QByteArray garbled = file;
            garbled[at] = value;
            try {
                EXPECT_GE(ReadMidiPiece(garbled).lengthMs, 0);
            } catch (const Failure&) {
            }
        }
    }
}
