#!/usr/bin/python3
"""Compares a recording of the program's sound with the file it was meant to play.

compare_sound.py RECORDING.wav [FILE.wav]
    prints "bursts=N burst_length=S file_length=S correlation=C": how many separate sounds the
    recording holds, how long the first lasts, how long the file sounds, and how well the loudness
    of that burst over time (RMS in 20 ms windows) correlates with the file's. Exits 0 only when
    the recording is the file played once, whole and unbroken: one burst, as long as the file's
    sound within 50 ms, correlating at 0.95 or better. Without a file it prints bursts=N alone.

Both are 16-bit mono WAV. A sound runs from the first to the last 20 ms window louder than 2 % of
its loudest (so volumes do not matter); 40 ms of quiet ends a burst.
"""
import array
import itertools
import sys
import wave

WINDOW, HOP, SPLITTING_GAP, LOUD_FRACTION, SILENCE = 0.020, 0.005, 0.040, 0.02, 0.002


class Sound:
    """A WAV file's power, summed so that any span's RMS costs two look-ups."""

    def __init__(self, path):
        with wave.open(path, "rb") as source:
            assert source.getsampwidth() == 2 and source.getnchannels() == 1, f"{path}: not 16-bit mono"
            self.rate, samples = source.getframerate(), array.array("h", source.readframes(source.getnframes()))
        self.sums = list(itertools.accumulate((s * s / 32768.0**2 for s in samples), initial=0.0))

    def rms(self, start, length):
        first, last = (min(max(0, round(t * self.rate)), len(self.sums) - 1) for t in (start, start + length))
        return ((self.sums[last] - self.sums[first]) / max(1, round(length * self.rate))) ** 0.5

    def bursts(self):
        """[start, end] of each separate sound, in seconds."""
        levels = [self.rms(i * HOP, WINDOW) for i in range(int((len(self.sums) / self.rate - WINDOW) / HOP) + 1)]
        threshold, found = max(SILENCE, LOUD_FRACTION * max(levels, default=0.0)), []
        for t in (i * HOP for i, level in enumerate(levels) if level >= threshold):
            if found and t - found[-1][1] < SPLITTING_GAP:
                found[-1][1] = t + WINDOW
            else:
                found.append([t, t + WINDOW])
        return found

    def envelope(self, start, count):
        return [self.rms(start + i * WINDOW, WINDOW) for i in range(count)]


def correlation(a, b):
    mean_a, mean_b = sum(a) / len(a), sum(b) / len(b)
    covariance = sum((x - mean_a) * (y - mean_b) for x, y in zip(a, b))
    spread = (sum((x - mean_a) ** 2 for x in a) * sum((y - mean_b) ** 2 for y in b)) ** 0.5
    return covariance / spread if spread else 0.0


def main(recording, original=None):
    heard = recording.bursts()
    if original is None:
        return print(f"bursts={len(heard)}") or 0
    meant = original.bursts()
    assert meant, "the file holds no sound"
    file_length, burst_length, best = meant[-1][1] - meant[0][0], heard[0][1] - heard[0][0] if heard else 0.0, 0.0
    # The burst's edges are known to a hop: the envelopes are compared at the best alignment within
    # 30 ms of them, to the millisecond.
    expected = original.envelope(meant[0][0], max(2, int(file_length / WINDOW)))
    for shift in range(-30, 31) if heard else ():
        best = max(best, correlation(expected, recording.envelope(heard[0][0] + shift / 1000, len(expected))))
    print(f"bursts={len(heard)} burst_length={burst_length:.3f} file_length={file_length:.3f} correlation={best:.3f}")
    return 0 if len(heard) == 1 and abs(burst_length - file_length) <= 0.050 and best >= 0.95 else 1


if __name__ == "__main__":
    sys.exit(main(*map(Sound, sys.argv[1:3])))
