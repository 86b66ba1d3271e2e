#!/usr/bin/env python3
"""Reads a Standard MIDI File on its own terms, strictly, and prints its
channel messages one per line as "TICK HEX". Fails (status 1, a reason on
stderr) on anything a player would refuse: a wrong header, a track length
other than the bytes that follow, an event running past the track, or a
track that does not end with its end-of-track event.
    read_midi_file.py FILE"""
import sys

LENGTHS = {0x8: 2, 0x9: 2, 0xA: 2, 0xB: 2, 0xC: 1, 0xD: 1, 0xE: 2}


def refuse(reason):
    sys.stderr.write("not a valid MIDI file: %s\n" % reason)
    sys.exit(1)


def number(data, at):
    value = 0
    for count in range(4):
        if at >= len(data):
            refuse("a variable-length number runs past the track")
        byte = data[at]
        at += 1
        value = value << 7 | (byte & 0x7F)
        if byte < 0x80:
            return value, at
    refuse("a variable-length number longer than four bytes")


def main(path):
    data = open(path, "rb").read()
    if data[:8] != b"MThd\x00\x00\x00\x06":
        refuse("no header chunk")
    fmt, tracks, division = (int.from_bytes(data[8 + 2 * i:10 + 2 * i], "big") for i in range(3))
    if (fmt, tracks) != (0, 1):
        refuse("format %d with %d tracks" % (fmt, tracks))
    if data[14:18] != b"MTrk":
        refuse("no track chunk")
    length = int.from_bytes(data[18:22], "big")
    track = data[22:]
    if length != len(track):
        refuse("the track says %d bytes, %d follow" % (length, len(track)))
    at, tick, status, ended = 0, 0, 0, False
    while at < len(track):
        if ended:
            refuse("events after the end of track")
        delta, at = number(track, at)
        tick += delta
        if at >= len(track):
            refuse("an event without its status")
        if track[at] >= 0x80:
            status = track[at]
            at += 1
        if status == 0xFF:
            kind = track[at]
            size, at = number(track, at + 1)
            ended = kind == 0x2F
        elif status in (0xF0, 0xF7):
            size, at = number(track, at)
        elif status >> 4 in LENGTHS:
            size = LENGTHS[status >> 4]
            print("%d %s" % (tick, bytes([status]).hex().upper() + track[at:at + size].hex().upper()))
        else:
            refuse("status %02X" % status)
        at += size
        if at > len(track):
            refuse("an event runs past the track")
    if not ended:
        refuse("no end of track")
    sys.stderr.write("%d ticks a quarter note, %d bytes of track\n" % (division, length))


if __name__ == "__main__":
    main(sys.argv[1])
