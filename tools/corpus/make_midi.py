#!/usr/bin/env python3
"""Writes the MIDI files of tests/data/midi byte by byte, with the oddities
files in the wild hold: the cable's clock, active sensing, time code and song
bytes recorded into a track, running status across them, sysex and escapes,
format 1 with a conductor track and format 2 sequences with tempos of their own.
Usage: tools/corpus/make_midi.py [FOLDER]   (default tests/data/midi)"""
import os
import struct
import sys


def vlq(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.insert(0, 0x80 | (value & 0x7F))
        value >>= 7
    return bytes(out)


def event(delta, data):
    return vlq(delta) + bytes(data)


def tempo(delta, us_per_quarter):
    return event(delta, [0xFF, 0x51, 3]) + us_per_quarter.to_bytes(3, 'big')


def chunk(kind, body):
    return kind + struct.pack('>I', len(body)) + body


def midi(form, division, tracks):
    header = chunk(b'MThd', struct.pack('>HHH', form, len(tracks), division))
    return header + b''.join(chunk(b'MTrk', track) for track in tracks)


END = event(0, [0xFF, 0x2F, 0])

# An organ note and a second one, 1,440 ticks at 120 a minute: 1.5 s, with
# six stray system bytes between.
clocked = (event(0, [0xC0, 19]) + event(0, [0x90, 60, 100]) + event(120, [0xF8]) + event(120, [0xFE])
           + event(240, [0xF1, 0x12]) + event(480, [60, 0]) + event(0, [0xF2, 0, 4]) + event(0, [0xF3, 1])
           + event(0, [0xF6]) + event(0, [0x90, 64, 90]) + event(480, [0x80, 64, 0]) + END)

# Format 1: 960 ticks at 0.6 s a beat, then 0.4 s a beat; the second part
# ends 10 ticks later (1,208 ms) after a stray timing clock.
conductor = tempo(0, 600000) + event(0, [0xFF, 0x58, 4, 4, 2, 24, 8]) + tempo(960, 400000) + END
gm_reset = event(0, [0xF0, 5, 0x7E, 0x7F, 9, 1, 0xF7])
part1 = (gm_reset + event(0, [0x90, 60, 100]) + event(480, [60, 0]) + event(0, [62, 100]) + event(480, [62, 0])
         + event(0, [0xF7, 2, 0xF8, 0xFA]) + END)
part2 = event(0, [0xC1, 40]) + event(0, [0x91, 48, 80]) + event(960, [48, 0]) + event(0, [0xB1, 7, 100]) + event(10, [0xFC]) + END

# Format 2: two sequences of a second each, at tempos of their own.
first = tempo(0, 500000) + event(0, [0x90, 60, 100]) + event(960, [0x80, 60, 0]) + END
second = tempo(0, 1000000) + event(0, [0x90, 67, 100]) + event(480, [0x80, 67, 0]) + event(0, [0xF9]) + END

folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..', '..', 'tests', 'data', 'midi')
os.makedirs(folder, exist_ok=True)
for name, data in (('clocked.mid', midi(0, 480, [clocked])),
                   ('running_status.mid', midi(1, 480, [conductor, part1, part2])),
                   ('sequences.mid', midi(2, 480, [first, second]))):
    with open(os.path.join(folder, name), 'wb') as out:
        out.write(data)
