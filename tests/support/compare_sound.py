#!/usr/bin/python3
"""Compares a recording of the program's sound with the file it was meant to play.

compare_sound.py RECORDING.wav FILE.wav
    prints "bursts=N burst_length=S file_length=S correlation=C": how many separate sounds the
    recording holds, how long the first of them lasts, how long the file sounds, and how well the
    loudness of that burst over time (RMS in 20 ms windows) correlates with the file's. Exits 0
    only when the recording is the file played once, whole and unbroken: one burst, as long as
    the file's sound within 50 ms, correlating at 0.95 or better. A silent recording prints
    bursts=0 and exits 1.

Both files are 16-bit PCM WAV of any rate and channel count. A sound's length runs from the
first to the last 20 ms window louder than 2 % of its own loudest window, so a file and a
recording at different volumes are measured alike; a quiet spell of 40 ms or more ends a burst.
"""
import array
import sys
import wave

WINDOW = 0.020
HOP = 0.005
LOUD_FRACTION = 0.02
SILENCE = 0.002
SPLITTING_GAP = 0.040
LENGTH_TOLERANCE = 0.050
LEAST_CORRELATION = 0.95
ALIGNMENT_SEARCH = 0.030


class Sound:
    """A WAV file's mono power, summed so that any span's RMS costs two look-ups."""

    def __init__(self, path):
        with wave.open(path, "rb") as source:
            if source.getsampwidth() != 2:
                raise SystemExit(f"{path}: expected 16-bit samples")
            self.rate = source.getframerate()
            channels = source.getnchannels()
            samples = array.array("h", source.readframes(source.getnframes()))
        if sys.byteorder != "little":
            samples.byteswap()
        self.sums = [0.0]
        total = 0.0
        scale = 1.0 / (32768.0 * 32768.0 * channels)
        for frame in range(len(samples) // channels):
            power = 0
            for s in samples[frame * channels:(frame + 1) * channels]:
                power += s * s
            total += power * scale
            self.sums.append(total)
        self.duration = (len(self.sums) - 1) / self.rate

    def rms(self, start, length):
        first = min(max(0, int(round(start * self.rate))), len(self.sums) - 1)
        last = min(max(0, int(round((start + length) * self.rate))), len(self.sums) - 1)
        count = max(1, int(round(length * self.rate)))
        return ((self.sums[last] - self.sums[first]) / count) ** 0.5

    def bursts(self):
        """(start, end) of each separate sound, in seconds."""
        steps = int((self.duration - WINDOW) / HOP) + 1
        levels = [self.rms(i * HOP, WINDOW) for i in range(max(0, steps))]
        threshold = max(SILENCE, LOUD_FRACTION * max(levels, default=0.0))
        found = []
        for i, level in enumerate(levels):
            if level < threshold:
                continue
            start = i * HOP
            if found and start - found[-1][1] < SPLITTING_GAP:
                found[-1][1] = start + WINDOW
            else:
                found.append([start, start + WINDOW])
        return found

    def envelope(self, start, count):
        return [self.rms(start + i * WINDOW, WINDOW) for i in range(count)]


def correlation(a, b):
    n = len(a)
    mean_a, mean_b = sum(a) / n, sum(b) / n
    covariance = sum((x - mean_a) * (y - mean_b) for x, y in zip(a, b))
    spread_a = sum((x - mean_a) ** 2 for x in a) ** 0.5
    spread_b = sum((y - mean_b) ** 2 for y in b) ** 0.5
    if spread_a == 0 or spread_b == 0:
        return 0.0
    return covariance / (spread_a * spread_b)


def main(arguments):
    if len(arguments) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    recording, original = Sound(arguments[0]), Sound(arguments[1])
    heard, meant = recording.bursts(), original.bursts()
    if not meant:
        raise SystemExit(f"{arguments[1]}: the file holds no sound")
    file_start, file_end = meant[0][0], meant[-1][1]
    file_length = file_end - file_start
    burst_length = heard[0][1] - heard[0][0] if heard else 0.0
    best = 0.0
    if heard:
        # The burst's edges are known to a hop; the envelope is compared at the best alignment
        # near them, to the millisecond.
        count = max(2, int(file_length / WINDOW))
        expected = original.envelope(file_start, count)
        steps = int(ALIGNMENT_SEARCH * 1000)
        for shift in range(-steps, steps + 1):
            start = heard[0][0] + shift / 1000.0
            best = max(best, correlation(expected, recording.envelope(start, count)))
    print(f"bursts={len(heard)} burst_length={burst_length:.3f} file_length={file_length:.3f} "
          f"correlation={best:.3f}")
    matches = (len(heard) == 1 and abs(burst_length - file_length) <= LENGTH_TOLERANCE
               and best >= LEAST_CORRELATION)
    return 0 if matches else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
