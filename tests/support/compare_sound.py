#!/usr/bin/env python3
"""Usage: compare_sound.py RECORDING.wav FILE.wav

Compares a recording of a played sound with the sound file. A sample is sound when louder than
1 % of its signal's peak (40 dB down); sound with gaps under 20 ms is one burst. The recording must
hold exactly one burst, as long as the file's sound within 50 ms, whose loudness (RMS in 20 ms
windows from the burst's first sample) correlates with the file's at 0.95 or better. Prints the
figures; exits 1 on a mismatch.
"""
import array
import math
import sys
import wave

WINDOW_S, GAP_S, LENGTH_TOLERANCE_S, LEAST_CORRELATION = 0.02, 0.02, 0.05, 0.95


def read_mono(path):
    """The samples as floats in -1..1, channels averaged, and the frame rate."""
    with wave.open(path, "rb") as f:
        rate, channels, width = f.getframerate(), f.getnchannels(), f.getsampwidth()
        raw = f.readframes(f.getnframes())
    if width == 1:
        values, scale = [b - 128 for b in raw], 128.0
    else:
        values, scale = array.array({2: "h", 4: "i"}[width], raw), float(2 ** (8 * width - 1))
        if sys.byteorder == "big":
            values.byteswap()
    return [sum(values[i:i + channels]) / channels / scale
            for i in range(0, len(values), channels)], rate


def bursts(samples, rate):
    """[first, last] sample index of each burst of sound."""
    threshold = 0.01 * max(map(abs, samples), default=0.0)
    found = []
    for i, s in enumerate(samples):
        if threshold > 0 and abs(s) > threshold:
            if found and i - found[-1][1] < GAP_S * rate:
                found[-1][1] = i
            else:
                found.append([i, i])
    return found


def envelope(samples, rate, start, count):
    size = int(WINDOW_S * rate)
    return [math.sqrt(sum(s * s for s in samples[start + w * size:start + (w + 1) * size]) / size)
            for w in range(count)]


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
    file_first, file_length = expected[0][0], (expected[-1][1] - expected[0][0] + 1) / file_rate
    burst_length = (heard[0][1] - heard[0][0] + 1) / rec_rate if heard else 0.0
    count = int(file_length / WINDOW_S)
    corr = correlation(envelope(recording, rec_rate, heard[0][0], count),
                       envelope(sound, file_rate, file_first, count)) if heard else 0.0
    print(f"bursts {len(heard)}; burst length {burst_length:.3f} s; "
          f"file length {file_length:.3f} s; correlation {corr:.3f}")
    return 0 if (len(heard) == 1 and abs(burst_length - file_length) <= LENGTH_TOLERANCE_S
                 and corr >= LEAST_CORRELATION) else 1


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]) if len(sys.argv) == 3 else __doc__)
