#!/usr/bin/env python3
"""Compares a recording of a played sound with the sound file itself.

Usage: compare_sound.py RECORDING.wav FILE.wav

A sample counts as sound when it is louder than 1 % of the signal's own peak (40 dB down); sound
with gaps shorter than 20 ms is one burst. The recording must hold exactly one burst, as long as
the file's sound within 50 ms, whose loudness (RMS in 20 ms windows from the burst's first sample)
correlates with the file's at 0.95 or better. Prints the figures; exits 1 on a mismatch.
"""
import array
import math
import sys
import wave

WINDOW_S = 0.02
GAP_S = 0.02
LENGTH_TOLERANCE_S = 0.05
LEAST_CORRELATION = 0.95


def read_mono(path):
    """The file's samples as floats in -1..1, channels averaged, and its frame rate."""
    with wave.open(path, "rb") as f:
        rate, channels, width = f.getframerate(), f.getnchannels(), f.getsampwidth()
        raw = f.readframes(f.getnframes())
    if width == 1:
        samples = [(b - 128) / 128.0 for b in raw]
    else:
        typecode = {2: "h", 4: "i"}[width]
        values = array.array(typecode, raw)
        if sys.byteorder == "big":
            values.byteswap()
        scale = float(2 ** (8 * width - 1))
        samples = [v / scale for v in values]
    mono = [sum(samples[i:i + channels]) / channels for i in range(0, len(samples), channels)]
    return mono, rate


def bursts(samples, rate):
    """(first, last) sample index of each burst of sound."""
    threshold = 0.01 * max((abs(s) for s in samples), default=0.0)
    gap = int(GAP_S * rate)
    found = []
    for i, s in enumerate(samples):
        if threshold > 0 and abs(s) > threshold:
            if found and i - found[-1][1] < gap:
                found[-1][1] = i
            else:
                found.append([i, i])
    return found


def envelope(samples, rate, start, count):
    size = int(WINDOW_S * rate)
    windows = []
    for w in range(count):
        chunk = samples[start + w * size:start + (w + 1) * size]
        windows.append(math.sqrt(sum(s * s for s in chunk) / size))
    return windows


def correlation(a, b):
    mean_a, mean_b = sum(a) / len(a), sum(b) / len(b)
    cov = sum((x - mean_a) * (y - mean_b) for x, y in zip(a, b))
    spread = math.sqrt(sum((x - mean_a) ** 2 for x in a) * sum((y - mean_b) ** 2 for y in b))
    return cov / spread if spread > 0 else 0.0


def main(recording_path, file_path):
    recording, rec_rate = read_mono(recording_path)
    sound, file_rate = read_mono(file_path)
    heard, expected = bursts(recording, rec_rate), bursts(sound, file_rate)
    if not expected:
        sys.exit(f"{file_path} holds no sound")
    file_first, file_last = expected[0][0], expected[-1][1]
    file_length = (file_last - file_first + 1) / file_rate
    burst_length = (heard[0][1] - heard[0][0] + 1) / rec_rate if heard else 0.0
    corr = 0.0
    if heard:
        count = int((file_last - file_first + 1) / file_rate / WINDOW_S)
        corr = correlation(envelope(recording, rec_rate, heard[0][0], count),
                           envelope(sound, file_rate, file_first, count))
    print(f"bursts {len(heard)}; burst length {burst_length:.3f} s; "
          f"file length {file_length:.3f} s; correlation {corr:.3f}")
    matches = (len(heard) == 1 and abs(burst_length - file_length) <= LENGTH_TOLERANCE_S
               and corr >= LEAST_CORRELATION)
    return 0 if matches else 1


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1], sys.argv[2]))
