#!/usr/bin/python3
"""Plays Les Kovrant on a headless Wayland compositor (sway) as a child would, keyboard first: ticks a
family, starts the game, answers one question, poses the next with a click on the pause's arrow, leaves
it with Escape for the farewell screen and ends the program from there. The windows are read from
sway's tree, the drawing from screenshots, where the controls are from the accessibility bus.

    wayland_play.py focus|no-focus

Run inside scripts/session.sh --sway MODE --program PATH. no-focus: sway gives new windows nothing,
so only the program's own routing brings the keys to the screen it has just shown.
"""
import json
import os
import subprocess
import sys

from player import *  # noqa: F403 (the shared vocabulary of the desktop tests)
import wl_input

PID = int(os.environ["KOVRANT_PID"])


def tree():
    return json.loads(subprocess.run(["swaymsg", "-t", "get_tree"], capture_output=True, text=True).stdout)


def windows():
    """The program's windows as sway shows them: dicts of id, focused, x, y, w, h and kind."""
    found = []

    def walk(node):
        if node.get("pid") == PID:
            r, w = node["rect"], node["window_rect"]
            found.append(dict(id=node["id"], focused=node["focused"], x=r["x"] + w["x"], y=r["y"] + w["y"],
                              kind="%s %s" % (node.get("app_id"), node.get("shell"))))
        for child in node.get("nodes", []) + node.get("floating_nodes", []):
            walk(child)

    walk(tree())
    return found


def one_window_other_than(known):
    shown = windows()
    return shown[0] if len(shown) == 1 and shown[0]["id"] != known else None


def red_at(window, screen, obj):
    """Whether the screen shows the stop sign's red around the middle of `obj`, where the program says
    it is in its window and sway says the window is."""
    fx, fy, _, _ = extents(screen)
    x, y = point(obj)
    x, y = window["x"] + x - fx - 12, window["y"] + y - fy - 12
    shot = subprocess.run(["grim", "-g", "%d,%d 24x24" % (x, y), "-t", "ppm", "-"], capture_output=True).stdout
    pixels = shot.split(maxsplit=4)[4]
    return sum(1 for i in range(0, len(pixels), 3)
               if pixels[i] > 180 and pixels[i + 1] < 80 and pixels[i + 2] < 80) >= 4


def main():
    mode = sys.argv[1]
    presentation = wait_until(lambda: one_window_other_than(None), "a window for the presentation screen", 20)
    # The desktop shows the game's name and icon by this id, the name of its desktop entry.
    if presentation["kind"] != "fr.leskovrant.Kovrant xdg_shell":
        raise Failure("%s: not a native Wayland window of fr.leskovrant.Kovrant" % presentation["kind"])
    game = Game(PID)

    # The focus starts on the additions' box: Space ticks it, three Tabs reach the arrow, Enter starts.
    wl_input.keys(["space", "Tab", "Tab", "Tab", "Return"])
    exercise = wait_until(lambda: one_window_other_than(presentation["id"]), "the keyboard to start the game")
    screen = wait_until(lambda: game.window(EXERCISE), "the exercise on the accessibility bus")
    stop = need(screen, pyatspi.ROLE_PUSH_BUTTON, "Arrêter le jeu")
    if not inside(screen, stop):
        raise Failure("the stop sign lies outside its window: the scene does not fit it")
    if red_at(exercise, screen, stop):
        raise Failure("the stop sign shows during a question")
    wl_input.keys(["5", "0", "0", "0", "Return"])
    wait_until(lambda: red_at(exercise, screen, stop), "the answer judged: the pause's stop sign")

    # The pointer too: a click on the pause's arrow poses the next question.
    x, y = point(need(screen, pyatspi.ROLE_PUSH_BUTTON, "Question suivante"))
    fx, fy, _, _ = extents(screen)
    output = tree()["rect"]
    wl_input.click(exercise["x"] + x - fx, exercise["y"] + y - fy, output["width"], output["height"])
    wait_until(lambda: not red_at(exercise, screen, stop), "the pause's arrow to pose a new question")

    # Escape while keying opens the farewell screen, a new window that takes the keys, its arrow focused.
    wl_input.keys(["Escape"])
    farewell = wait_until(lambda: [w for w in windows() if w["id"] != exercise["id"]], "the farewell screen")[0]
    if mode == "no-focus" and farewell["focused"]:
        raise Failure("sway focused the new window: this run would not test the program's own routing")
    # On the exercise behind, Enter would do nothing with no digits keyed.
    wl_input.keys(["Return"])
    wait_until(lambda: ended(PID), "Enter on the farewell screen to end the program")
    print("the program ended from its farewell screen (%s)" % mode)


if __name__ == "__main__":
    run(main, "grim")
