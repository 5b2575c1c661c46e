"""The notification chime: two soft bell notes, written as a 16-bit PCM mono WAVE file."""

import math
import struct

RATE = 22050
SECONDS = 0.6
PEAK = 0.62  # of full scale, about -4 dBFS

# (start in seconds, fundamental in Hz, loudness); a rising major sixth, G5 then E6.
NOTES = ((0.0, 783.99, 1.0), (0.12, 1318.51, 0.8))

# (multiple of the fundamental, relative amplitude, decay rate per second). The slightly
# stretched upper partials give the bell colour; they die away faster than the fundamental.
PARTIALS = ((1.0, 1.0, 6.0), (2.01, 0.32, 10.0), (3.02, 0.12, 16.0), (4.16, 0.05, 24.0))

ATTACK = 0.004  # seconds of raised-cosine fade-in per note, so no note starts with a click
RELEASE = 0.08  # seconds of fade-out at the end, so the file ends in silence


def samples():
    count = int(round(RATE * SECONDS))
    out = []
    for n in range(count):
        t = n / RATE
        value = 0.0
        for start, frequency, loudness in NOTES:
            local = t - start
            if local < 0.0:
                continue
            attack = 0.5 - 0.5 * math.cos(math.pi * local / ATTACK) if local < ATTACK else 1.0
            for multiple, amplitude, decay in PARTIALS:
                value += (loudness * amplitude * attack * math.exp(-decay * local) *
                          math.sin(2.0 * math.pi * frequency * multiple * local))
        remaining = SECONDS - t
        if remaining < RELEASE:
            value *= 0.5 - 0.5 * math.cos(math.pi * max(remaining, 0.0) / RELEASE)
        out.append(value)
    top = max(abs(v) for v in out)
    scale = PEAK * 32767.0 / top
    return [int(round(v * scale)) for v in out]


def wav_bytes():
    pcm = samples()
    data = struct.pack("<%dh" % len(pcm), *pcm)
    fmt = struct.pack("<HHIIHH", 1, 1, RATE, RATE * 2, 2, 16)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + \
        struct.pack("<I", len(data)) + data
    return b"RIFF" + struct.pack("<I", len(body)) + body
