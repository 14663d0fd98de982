#!/usr/bin/env python3
"""End-to-end stories of the campaign through the runner: levels one after another, the
progress kept between runs, and pausing.

Usage: campaign_e2e.py RUNNER BUILD_DIR CASE
"""
import contextlib
import os
import pathlib
import re

import runner_e2e as game
from runner_e2e import check

CARD = 60  # frames of a level's opening card at --dt 0.05
# Ahead of the ship, 100 away: won once the ship flies into it (I held), three knocks later.
WIN = ('<OBJECT type="OBJ3D_ASTEROID" objid="goal" z="-100">'
       '<TRIGGER cause="death" event="endlevel"/></OBJECT>')
# Eight rocks on the ship: 8 x 40 is more than its 300, in the first frame after the card.
LOSE = "\n".join('<OBJECT type="OBJ3D_ASTEROID" objid="r%d" x="%d" z="-10"/>' % (i, i)
                 for i in range(8)) + WIN.replace('z="-100"', 'z="-900"')
STARTED = re.compile(r"WinMain\(\): campaign level (\d+) of 3: \w+ \((\w+)\)")
COMPLETED = re.compile(r"WinMain\(\): level (\w+) completed in ([\d.]+) s, best ([\d.]+) s")
DUMP = re.compile(r'<OBJECT type="([^"]+)" objid="obj(\d+)" x="([-\d.]+)" y="([-\d.]+)" '
                  r'z="([-\d.]+)"/>')


@contextlib.contextmanager
def campaign_folder():
    """A run folder with three levels (won, lost, won) in data/levels/campaign.xml."""
    with game.run_folder() as tmp:
        levels = os.path.join(tmp, "data", "levels")
        for name, objects in (("win", WIN), ("lose", LOSE)):
            with open(os.path.join(levels, name + ".xml"), "w") as f:
                f.write('<?xml version="1.0"?>\n<LEVEL>\n%s\n</LEVEL>\n' % objects)
        with open(os.path.join(levels, "campaign.xml"), "w") as f:
            f.write('<CAMPAIGN><LEVEL id="first" file="win.xml" name="First"/>'
                    '<LEVEL id="second" file="lose.xml" name="Second"/>'
                    '<LEVEL id="third" file="win.xml" name="Third"/></CAMPAIGN>\n')
        yield tmp


def fly(folder, script, frames, args=(), progress="p.ini", screenshot=False):
    """Plays the folder's campaign, keeping progress in progress (relative to the folder)."""
    where = ["--progress", os.path.join(folder, progress)] if progress else []
    played = game.run(script, frames, ["--campaign", "data/levels/campaign.xml"] + where +
                      list(args), cwd=folder, screenshot=screenshot)
    check(played.returncode == 0, "exit code %d: %s" % (played.returncode, played.log[-500:]))
    return played


def thrust_at(frame):
    """Flies ahead from the frame on, into the goal of WIN."""
    return "%d down I\n" % frame


def progress(folder, name="p.ini"):
    return pathlib.Path(folder, name).read_text()


def warnings(played):
    return re.findall(r"ombrelix-headless: .*", played.log)


# ---------------------------------------------------------------------------------------------


def case_flow():
    with campaign_folder() as tmp:
        # The first level is won; Enter goes on to the second, which is lost; Enter plays it
        # again. Only the win is kept.
        enter = "%d down ENTER\n%d up ENTER\n"
        played = fly(tmp, thrust_at(CARD) + enter % (100, 101) + enter % (240, 241), 250)
        check([m.groups() for m in STARTED.finditer(played.log)] ==
              [("1", "first"), ("2", "second"), ("2", "second")], "first, second, second again")
        check(played.log.count("WinMain(): level started again") == 1, "the second again")
        won = COMPLETED.findall(played.log)
        check(len(won) == 1 and won[0][0] == "first" and won[0][1] == won[0][2], "won: %s" % won)
        first_time = won[0][1]
        check(re.search(r"\[first\]\ncompleted = yes\nbest_time = %s\n" % first_time,
                        progress(tmp)) and "[second]" not in progress(tmp), progress(tmp))

        # The next run starts at the first level not completed; a slower win keeps the best.
        played = fly(tmp, "", 3)
        check(STARTED.search(played.log).groups() == ("2", "second"), "starts at the second")
        played = fly(tmp, thrust_at(CARD + 10), 150, ["--campaign-level", "1"])
        won = COMPLETED.findall(played.log)
        check(won and float(won[0][1]) > float(first_time) and won[0][2] == first_time,
              "the slower time leaves the best: %s" % won)
        check("best_time = %s\n" % first_time in progress(tmp), progress(tmp))

        # The last level ends the campaign with its own picture, and Enter starts it again.
        def gold(p):
            return p[0] > 170 and p[1] > 90 and p[2] < 90 and p[0] > p[1] + 20

        left = (0, 400, 380, 760)  # the message's left part, beside any card

        played = fly(tmp, thrust_at(CARD), 100, ["--campaign-level", "3"], screenshot=True)
        check("[third]\ncompleted = yes" in progress(tmp), progress(tmp))
        check(played.picture.count(left, gold, 3) > 150 and
              played.picture.count(left, game.is_level_end_colour, 3) < 30,
              "CAMPAIGN COMPLETE in place of LEVEL COMPLETE")
        played = fly(tmp, thrust_at(CARD) + enter % (100, 101), 102, ["--campaign-level", "3"],
                     screenshot=True)
        check([m.group(1) for m in STARTED.finditer(played.log)] == ["3", "1"], "3, then 1")
        check(played.picture.count(left, gold, 3) < 30, "gone once Enter starts again")

        # A level file alone is no campaign: no card, no progress.
        kept = progress(tmp)
        played = game.run(thrust_at(0), 80, ["--level", "data/levels/win.xml", "--progress",
                                             os.path.join(tmp, "p.ini")], cwd=tmp)
        check(not STARTED.search(played.log) and not COMPLETED.search(played.log) and
              "level started" not in played.log, "a level alone")
        check(progress(tmp) == kept, "progress untouched")


def case_progress_files():
    with campaign_folder() as tmp:
        # A file that is not progress is moved aside, said once, and play starts afresh.
        pathlib.Path(tmp, "p.ini").write_text("[first]\ncompleted = yes\nbest_time = soon\n")
        played = fly(tmp, "", 3)
        check(warnings(played) == ["ombrelix-headless: the progress file %s/p.ini cannot be read "
                                   "(line 3); it is kept as %s/p.ini.broken and play starts "
                                   "fresh" % (tmp, tmp)], "%s" % warnings(played))
        check(STARTED.search(played.log).group(1) == "1", "fresh start")
        check(not os.path.exists(os.path.join(tmp, "p.ini")), "nothing written without a win")
        check("best_time = soon" in progress(tmp, "p.ini.broken"), "the broken file kept")

        # A temporary file left by a crash is neither read nor in the way.
        pathlib.Path(tmp, "p.ini.tmp").write_text("[second]\ncompleted = yes\n")
        played = fly(tmp, thrust_at(CARD), 80)
        check(not warnings(played) and "[first]" in progress(tmp) and
              "[second]" not in progress(tmp), progress(tmp))
        check(not os.path.exists(os.path.join(tmp, "p.ini.tmp")), "the leftover is replaced")

        # --reset-progress moves the file aside; nothing is written until a win.
        played = fly(tmp, "", 3, ["--reset-progress"])
        check(STARTED.search(played.log).group(1) == "1", "afresh")
        check(not os.path.exists(os.path.join(tmp, "p.ini")) and
              "[first]" in progress(tmp, "p.ini.old"), "kept aside")

        # Where nothing can be written (not even by root: /proc), one sentence at the win, and
        # play goes on to the next level.
        played = fly(tmp, thrust_at(CARD) + "100 down ENTER\n", 105,
                     progress="/proc/self/ombrelix/p.ini")
        check(len(warnings(played)) == 1 and "cannot save the progress to /proc/self/ombrelix/"
              "p.ini: " in warnings(played)[0], "%s" % warnings(played))
        check([m.group(1) for m in STARTED.finditer(played.log)] == ["1", "2"], "play goes on")

        # No --progress: nothing is read or written.
        played = fly(tmp, thrust_at(CARD), 80, progress=None)
        check(COMPLETED.search(played.log) and sorted(os.listdir(tmp)) ==
              ["data", "p.ini.broken", "p.ini.old"], "%s" % os.listdir(tmp))


def case_pause():
    def dump(played, number):
        """The number-th of five dumps of as many objects: (type, position) of each line."""
        lines = DUMP.findall(played.log)
        size = len(lines) // 5
        return [(d[0],) + d[2:] for d in lines[number * size:(number + 1) * size]]

    v = "%d down V\n%d up V\n"
    # The shipped level alone: a shot is fired, then P holds everything until P again; the
    # keyboard going to another window holds it too, and coming back does not go on.
    script = ("12 down U\n13 up U\n14 down P\n15 up P\n" + v % (16, 17) + v % (40, 41) +
              "42 down P\n43 up P\n" + v % (50, 51) + "52 focus out\n53 focus in\n" +
              v % (54, 55) + v % (80, 81))
    played = game.run(script, 82, screenshot=False)
    check(played.returncode == 0, "exit code %d" % played.returncode)
    ids = [int(d[1]) for d in DUMP.findall(played.log)]
    check(ids == list(range(len(ids))) and len(ids) % 5 == 0 and ids,
          "five dumps of as many objects, numbered on: %s" % ids)
    paused, still = dump(played, 0), dump(played, 1)
    check(any("fugenmasse" in d[0] for d in paused) and paused == still, "nothing moved")
    check(dump(played, 2) != still, "going on moves the shot")
    check(dump(played, 3) == dump(played, 4), "away and back: still held")
    check(played.log.count("WinMain(): paused") == 2 and
          played.log.count("WinMain(): going on") == 1, "paused twice, went on once")


if __name__ == "__main__":
    import sys
    sys.exit(game.main(globals()))
