#!/usr/bin/env python3
"""End-to-end stories of the game's sound: the headless runner renders the mix of a scripted
run into a WAV file (--audio-out), and the stories listen to it frame by frame.

Usage: sound_e2e.py RUNNER BUILD_DIR CASE
"""
import math
import os
import struct
import sys
import wave

import runner_e2e as game
from runner_e2e import check

FRAME = int(44100 * 0.05)  # stereo frames of mix per game frame of 0.05 s


class Mix:
    """The rendered file, split into the game's frames."""

    def __init__(self, path):
        with wave.open(path) as w:
            check((w.getnchannels(), w.getsampwidth(), w.getframerate()) == (2, 2, 44100),
                  "the mix is not 44.1 kHz stereo 16-bit")
            n = w.getnframes()
            data = struct.unpack("<%dh" % (2 * n), w.readframes(n))
        self.left, self.right = data[0::2], data[1::2]
        self.frames = n // FRAME

    def part(self, channel, first, last):
        samples = self.left if channel == "L" else self.right
        return samples[first * FRAME:last * FRAME]

    def rms(self, channel, first, last):
        part = self.part(channel, first, last)
        return math.sqrt(sum(x * x for x in part) / max(len(part), 1))

    def peak(self, first, last):
        return max(max(abs(x) for x in self.part(c, first, last)) for c in "LR")


def render(script="", frames=40, args=()):
    """Plays the script on an empty level and gives the mix, read and as its bytes."""
    with game.run_folder() as tmp:
        out = os.path.join(tmp, "mix.wav")
        played = game.run(script, frames, ["--audio-out", out] + list(args), tmp, False)
        check(played.returncode == 0, "exit code %d: %s" % (played.returncode, played.log[-500:]))
        with open(out, "rb") as f:
            return Mix(out), f.read()


# The first shot may leave once ten time units have passed; the sound starts in the frame
# after the key is taken. The same script renders the same file, explosion and all.
def case_guns_from_their_sides():
    script = "12 down U\n13 up U\n24 down U\n25 up U\n30 down 1\n31 up 1\n"
    mix, first = render(script, frames=36)
    right = (mix.rms("L", 13, 18), mix.rms("R", 13, 18))
    left = (mix.rms("L", 25, 30), mix.rms("R", 25, 30))
    check(right[1] > 2 * right[0], "right gun: left %.0f right %.0f" % right)
    check(left[0] > 2 * left[1], "left gun: left %.0f right %.0f" % left)
    check(len(first) == 44 + 36 * FRAME * 4, "the file is %d bytes" % len(first))
    check(render(script, frames=36)[1] == first, "two runs of the same script differ")


def case_quiet_run_has_no_events():
    quiet, _ = render(frames=60)
    levels = sorted(quiet.rms("L", f, f + 1) for f in range(quiet.frames))
    median = levels[len(levels) // 2]
    check(median > 50, "not even the engine and the drone are heard (%.0f)" % median)
    check(levels[-1] < 2 * median, "a loud frame %.0f over a median of %.0f" % (levels[-1], median))
    # The same measure hears a single explosion ahead.
    bang, _ = render("20 down 1\n21 up 1\n", frames=60)
    check(max(bang.rms("L", f, f + 1) for f in range(20, 30)) > 2 * median, "no explosion heard")


def case_mute_key_silences_from_the_next_frame():
    # The key arrives before frame 20 and is taken after it: frame 21 fades out within its first
    # hundredth of a second, and from then on nothing is heard. --mute and --volume set the same
    # gain from the start.
    mix, _ = render("12 down U\n13 up U\n20 down M\n21 up M\n40 down M\n41 up M\n", frames=50)
    check(mix.peak(0, 20) > 500, "nothing heard before the key")
    after = max(abs(x) for c in "LR" for x in mix.part(c, 21, 41)[441:])
    check(after <= 2, "still heard after the key: %d" % after)
    check(mix.rms("L", 42, 50) > 50, "M again did not bring the sound back")
    half, _ = render(frames=50, args=["--volume", "50"])
    silent, _ = render(frames=20, args=["--mute"])
    ratio = half.rms("L", 42, 50) / mix.rms("L", 42, 50)
    check(0.4 < ratio < 0.6, "--volume 50 gives %.2f of the level" % ratio)
    check(silent.peak(0, 20) <= 2, "--mute still sounds")


if __name__ == "__main__":
    sys.exit(game.main(globals()))
