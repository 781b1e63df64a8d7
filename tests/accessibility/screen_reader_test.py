#!/usr/bin/env python3
"""Plays one move of the game the way a screen reader sees it, through AT-SPI.

    screen_reader_test.py PROGRAM CATALOGUE.json

Starts PROGRAM with accessibility on, reads the option buttons, the epigraph and the
narrative from the accessibility tree, presses option А through its action and checks that
the tree then shows the next scene. Prints the transcript of what a screen reader reads.
Run it inside a session bus and an X server (dbus-run-session, xvfb-run).
"""
import json
import os
import subprocess
import sys
import time

import pyatspi


def wait_for(condition, what, seconds=20.0):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = condition()
        if found:
            return found
        time.sleep(0.1)
    raise AssertionError(f"timed out waiting for {what}")


def walk(accessible):
    yield accessible
    for index in range(accessible.childCount):
        child = accessible.getChildAtIndex(index)
        if child is not None:
            yield from walk(child)


def application(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for index in range(desktop.childCount):
        app = desktop.getChildAtIndex(index)
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def screen(app):
    """What the reader finds: the option buttons, the labels and the picture."""
    nodes = list(walk(app))
    return {
        "buttons": [n for n in nodes if n.getRole() == pyatspi.ROLE_PUSH_BUTTON],
        "labels": [n.name for n in nodes if n.getRole() == pyatspi.ROLE_LABEL],
        "pictures": [n for n in nodes if n.name == "Иллюстрация"],
    }


def option_buttons(found):
    return {b.name[0]: b for b in found["buttons"] if b.name[1:3] == ". "}


def transcript(found):
    lines = []
    for button in found["buttons"]:
        if button.name[1:3] == ". " and button.getState().contains(pyatspi.STATE_SHOWING):
            description = f" — {button.description}" if button.description else ""
            lines.append(f"button «{button.name}»{description}")
    for picture in found["pictures"]:
        lines.append(f"image «{picture.name}»: {picture.description}")
    return lines


def expect_scene(found, scene, what):
    labels = found["labels"]
    assert scene["key"] in labels, f"{what}: the epigraph is not read"
    if scene["narrative"] is not None:
        assert scene["narrative"] in labels, f"{what}: the narrative is not read"
    shown = option_buttons(found)
    for letter, text in zip("АВБГ", scene["options"]):
        if text is not None:
            assert letter in shown and shown[letter].name == f"{letter}. {text}", \
                f"{what}: option {letter} is not announced as «{text}»"


def main():
    program, catalogue_path = sys.argv[1], sys.argv[2]
    with open(catalogue_path, encoding="utf-8") as catalogue_file:
        catalogue = json.load(catalogue_file)
    # A real X window: the accessibility bridge serves the xcb platform, not offscreen.
    environment = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
    game = subprocess.Popen([program], env=environment, stderr=subprocess.PIPE, text=True)
    try:
        app = wait_for(lambda: application(game.pid), "the game on the accessibility bus")
        found = wait_for(lambda: (lambda f: f if option_buttons(f) else None)(screen(app)),
                         "the option buttons")
        expect_scene(found, catalogue["S01"], "opening scene")
        print("before the move:", *transcript(found), sep="\n  ")

        button = option_buttons(found)["А"]
        actions = button.queryAction()
        names = [actions.getName(i) for i in range(actions.nActions)]
        print(f"pressing «{button.name}» through its action «{names[0]}»")
        actions.doAction(0)

        after = wait_for(lambda: (lambda f: f if catalogue["S02"]["key"] in f["labels"] else None)(
            screen(app)), "the next scene")
        expect_scene(after, catalogue["S02"], "after the move")
        pictures = after["pictures"]
        assert pictures and pictures[0].description, "the picture has no description"
        print("after the move:", *transcript(after), sep="\n  ")
    finally:
        game.terminate()
        _, errors = game.communicate(timeout=10)
    problems = [line for line in errors.splitlines() if line.startswith("sessiya:")]
    assert not problems, "the game reported: " + "; ".join(problems)
    print("1 passed, 0 failed")


if __name__ == "__main__":
    main()
