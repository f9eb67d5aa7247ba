#include "devices/midi_file.h"

#include "base/byte_reader.h"
#include "base/byte_writer.h"
#include "base/failure.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace devices {

namespace {

// Microseconds per quarter note until a track says otherwise: 120 beats a minute.
constexpr quint32 kDefaultTempo = 500000;

struct TempoChange {
    qint64 tick = 0;
    quint32 usPerQuarter = kDefaultTempo;
};

struct Track {
    qint64 lastTick = 0;
    std::vector<TempoChange> tempos; // in tick order, as the track lists them
    // The track's events without its stray system bytes.
    QByteArray kept;
    int strayEvents = 0;
};

// A read position in a window of bytes. The window checks every read, so a
// length or count taken from the file can never lead past its end.
class Cursor {
public:
    explicit Cursor(base::ByteReader bytes) : m_bytes(bytes) {}

    bool atEnd() const { return m_pos >= m_bytes.size(); }
    qsizetype pos() const { return m_pos; }
    // The bytes read since from.
    QByteArray since(qsizetype from) const { return m_bytes.bytes(from, m_pos - from); }

    quint8 u8() { return m_bytes.u8(advance(1)); }
    quint8 peek() const { return m_bytes.u8(m_pos); }
    quint32 u32() { return m_bytes.u32be(advance(4)); }

    // A number of 7-bit groups, highest first; the top bit says another
    // group follows. Four groups at most, so it always fits in 28 bits.
    quint32 variableLength()
    {
        quint32 value = 0;
        for (int i = 0; i < 4; ++i) {
            const quint8 b = u8();
            value = (value << 7) | (b & 0x7F);
            if (!(b & 0x80))
                return value;
        }
        throw base::Failure("Bad MIDI number");
    }

    QByteArray bytes(qsizetype count) { return m_bytes.bytes(advance(count), count); }
    // The next count bytes, as a window of their own.
    base::ByteReader take(qsizetype count) { return m_bytes.sub(advance(count), count); }
    void skip(qsizetype count) { take(count); }

private:
    qsizetype advance(qsizetype count)
    {
        const qsizetype at = m_pos;
        m_pos += count;
        return at;
    }

    base::ByteReader m_bytes;
    qsizetype m_pos = 0;
};

// How many data bytes follow a channel message of this status.
int dataBytes(quint8 status)
{
    const quint8 kind = status & 0xF0;
    return (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
}

// How many data bytes follow a system common or real-time status (F1 to
// FE but for F7): those of MIDI Time Code, Song Position and Song Select.
int systemDataBytes(quint8 status)
{
    switch (status) {
    case 0xF1:
    case 0xF3:
        return 1;
    case 0xF2:
        return 2;
    default:
        return 0;
    }
}

void writeVariableLength(base::ByteWriter& out, quint32 value)
{
    quint8 groups[4];
    int count = 0;
    do {
        groups[count++] = value & 0x7F;
        value >>= 7;
    } while (value != 0 && count < 4);
    while (count > 1)
        out.u8(groups[--count] | 0x80);
    out.u8(groups[0]);
}

Track readTrack(Cursor in)
{
    Track track;
    base::ByteWriter kept;
    qint64 tick = 0;
    // The time of the stray events left out, given to the next event kept.
    quint32 strayDelta = 0;
    quint8 running = 0;
    while (!in.atEnd()) {
        const quint32 delta = in.variableLength();
        tick += delta;
        const qsizetype event = in.pos();
        const quint8 first = in.u8();
        bool stray = false;
        bool ends = false;
        if (first < 0x80) {
            // A data byte: the event repeats the status of the one before.
            if (running == 0)
                throw base::Failure("MIDI event without status");
            in.skip(dataBytes(running) - 1);
        } else if (first < 0xF0) {
            running = first;
            in.skip(dataBytes(first));
        } else if (first == 0xF0 || first == 0xF7) {
            in.skip(in.variableLength());
        } else if (first == 0xFF) {
            const quint8 type = in.u8();
            const base::ByteReader body = in.take(in.variableLength());
            if (type == 0x51 && body.size() >= 3)
                track.tempos.push_back({tick, body.u24be(0)});
            // Whatever follows End of Track is never played.
            ends = type == 0x2F;
        } else {
            // A byte of the cable's own traffic, written into the file by a
            // recording program: skipped with its data bytes, the running
            // status untouched, as sequencers that play such files do.
            stray = true;
            for (int i = systemDataBytes(first); i > 0 && !in.atEnd() && in.peek() < 0x80; --i)
                in.skip(1);
        }
        if (stray) {
            ++track.strayEvents;
            strayDelta += delta;
            continue;
        }
        writeVariableLength(kept, strayDelta + delta);
        strayDelta = 0;
        kept.raw(in.since(event));
        track.lastTick = tick;
        if (ends)
            break;
    }
    track.kept = kept.bytes();
    return track;
}

// Microseconds from the start until the tick, through the tempo changes
// (sorted by tick) that come before it.
double microsecondsAt(qint64 tick, const std::vector<TempoChange>& tempos, int ticksPerQuarter)
{
    double us = 0;
    qint64 from = 0;
    quint32 tempo = kDefaultTempo;
    for (const TempoChange& change : tempos) {
        if (change.tick >= tick)
            break;
        us += double(change.tick - from) * tempo / ticksPerQuarter;
        from = change.tick;
        tempo = change.usPerQuarter;
    }
    return us + double(tick - from) * tempo / ticksPerQuarter;
}

} // namespace

MidiPiece ReadMidiPiece(const QByteArray& bytes)
{
    if (!bytes.startsWith("MThd"))
        throw base::Failure("Not a MIDI file");
    Cursor file(base::ByteReader(bytes, "MIDI file cut short"));
    file.skip(4);
    const quint32 headerSize = file.u32();
    if (headerSize < 6)
        throw base::Failure("Not a MIDI file");
    // Later versions may make the header longer; what they add is skipped.
    const base::ByteReader header = file.take(headerSize);
    const int format = header.u16be(0);
    const int trackCount = header.u16be(2);
    const quint32 division = header.u16be(4);
    if (format > 2)
        throw base::Failure("Unknown MIDI format");
    if (trackCount == 0)
        throw base::Failure("MIDI file without tracks");

    // A negative high byte gives frames per second, the low byte ticks per
    // frame: then time is absolute and tempo changes do not count.
    const bool smpte = (division & 0x8000) != 0;
    const int framesPerSecond = smpte ? -int(qint8(division >> 8)) : 0;
    const int ticksPerUnit = smpte ? int(division & 0xFF) : int(division);
    if (ticksPerUnit == 0)
        throw base::Failure("Bad MIDI time division");

    // Tracks are counted as the header says; chunks of other kinds are skipped.
    std::vector<Track> tracks;
    int strayEvents = 0;
    while (int(tracks.size()) < trackCount) {
        const QByteArray id = file.bytes(4);
        const base::ByteReader chunk = file.take(file.u32()).saying("MIDI track cut short");
        if (id == "MTrk") {
            tracks.push_back(readTrack(Cursor(chunk)));
            strayEvents += tracks.back().strayEvents;
        }
    }

    double us = 0;
    if (smpte) {
        // 29 stands for the drop-frame rate of NTSC video.
        const double frames = framesPerSecond == 29 ? 29.97 : framesPerSecond;
        for (const Track& track : tracks)
            us = std::max(us, double(track.lastTick) * 1e6 / (frames * ticksPerUnit));
    } else if (format == 2) {
        for (const Track& track : tracks)
            us = std::max(us, microsecondsAt(track.lastTick, track.tempos, ticksPerUnit));
    } else {
        std::vector<TempoChange> tempoMap;
        qint64 lastTick = 0;
        for (const Track& track : tracks) {
            tempoMap.insert(tempoMap.end(), track.tempos.begin(), track.tempos.end());
            lastTick = std::max(lastTick, track.lastTick);
        }
        // Changes at the same tick keep the order of their tracks: the last one holds.
        std::stable_sort(tempoMap.begin(), tempoMap.end(),
                         [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
        us = microsecondsAt(lastTick, tempoMap, ticksPerUnit);
    }
    const double ms = std::round(us / 1000);
    if (!(ms < 1e15))
        throw base::Failure("MIDI piece too long");
    MidiPiece piece{qint64(ms), trackCount, format, bytes, strayEvents};
    if (strayEvents > 0) {
        // The header as it was, then the tracks as kept.
        base::ByteWriter playable;
        playable.raw(bytes.left(8 + qsizetype(headerSize)));
        for (const Track& track : tracks)
            playable.raw("MTrk").u32be(quint32(track.kept.size())).raw(track.kept);
        piece.playable = playable.bytes();
    }
    return piece;
}

} // namespace devices
