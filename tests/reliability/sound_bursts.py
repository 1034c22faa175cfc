#!/usr/bin/python3
"""Finds the separate sounds in a recording of the null sink.

sound_bursts.py RECORDING.wav
    prints one line per burst of sound: its start and end in seconds from the start of the
    recording and its loudest RMS amplitude (0 to 1) over 20 ms. Quiet spells shorter than a
    second inside one burst do not split it, so one chime is one burst however it fades.
"""
import array
import sys
import wave

WINDOW_SECONDS = 0.02
LOUD = 0.01
JOIN_SECONDS = 1.0


def windows_of(path):
    with wave.open(path, "rb") as recording:
        if recording.getsampwidth() != 2:
            raise SystemExit("expected 16-bit samples")
        rate = recording.getframerate()
        per_window = max(1, int(rate * WINDOW_SECONDS))
        index = 0
        while True:
            frames = recording.readframes(per_window)
            if not frames:
                return
            samples = array.array("h", frames)
            if sys.byteorder != "little":
                samples.byteswap()
            mean_square = sum(s * s for s in samples) / max(1, len(samples))
            yield index * per_window / rate, (mean_square ** 0.5) / 32768.0
            index += 1


def bursts(path):
    found = []
    for start, rms in windows_of(path):
        if rms < LOUD:
            continue
        if found and start - found[-1][1] <= JOIN_SECONDS:
            found[-1][1] = start + WINDOW_SECONDS
            found[-1][2] = max(found[-1][2], rms)
        else:
            found.append([start, start + WINDOW_SECONDS, rms])
    return found


def main(arguments):
    if len(arguments) != 1:
        print(__doc__, file=sys.stderr)
        return 2
    for start, end, loudest in bursts(arguments[0]):
        print(f"{start:.2f} {end:.2f} {loudest:.4f}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
