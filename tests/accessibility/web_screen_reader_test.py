#!/usr/bin/env python3
"""Plays one move of sessiya.html in Chromium the way a screen reader sees it, through AT-SPI.

    web_screen_reader_test.py PAGE CATALOGUE.json

Opens PAGE in Chromium with its accessibility on, reads the option buttons, the scene's texts,
the picture and what the live region says, presses option А through its action and checks
that the reader is then told the next scene and finds it on the page. Prints the transcript.
Run it inside a session bus and an X server (dbus-run-session, xvfb-run).
"""
import json
import os
import pathlib
import subprocess
import sys
import tempfile

import pyatspi
from gi.repository import GLib

from orca_session import end_process_group
from screen_reader_test import option_buttons, wait_for, walk


def closed_up(text):
    return " ".join(text.split())


def chromium():
    desktop = pyatspi.Registry.getDesktop(0)
    for index in range(desktop.childCount):
        app = desktop.getChildAtIndex(index)
        if app is not None and app.name == "Chromium":
            return app
    return None


def screen(app):
    """What the reader finds: the option buttons, the texts, the pictures, what is spoken."""
    nodes = list(walk(app))
    spoken = [n for n in nodes if "live:polite" in n.getAttributes()]
    return {
        "buttons": [n for n in nodes if n.getRole() == pyatspi.ROLE_PUSH_BUTTON],
        "texts": {closed_up(n.name) for n in nodes if n.getRole() == pyatspi.ROLE_STATIC},
        "pictures": [n.name for n in nodes if n.getRole() == pyatspi.ROLE_IMAGE and n.name],
        "spoken": closed_up(" ".join(n.name for live in spoken for n in walk(live)
                                     if n.getRole() == pyatspi.ROLE_STATIC)),
        "focused": [n.name for n in nodes if n.getRole() == pyatspi.ROLE_PUSH_BUTTON
                    and n.getState().contains(pyatspi.STATE_FOCUSED)],
    }


def problems(found, scene):
    """What the reader misses of the scene."""
    if found is None:
        return ["the tree is changing"]
    missing = [f"«{text[:30]}…» is not read" for text in [scene["key"], scene["narrative"]]
               if text is not None and closed_up(text) not in found["texts"]]
    if not found["spoken"].startswith(closed_up(scene["key"])):
        missing.append("the scene is not spoken")
    shown = option_buttons(found)
    missing += [f"option {letter} is not announced as «{text}»"
                for letter, text in zip("АВБГ", scene["options"])
                if text is not None and (letter not in shown or
                                         shown[letter].name != f"{letter}. {text}")]
    if not found["pictures"]:
        missing.append("the picture has no description")
    return missing


def settled(app):
    """The screen, or None while objects come and go under the walk."""
    try:
        return screen(app)
    except GLib.Error:
        return None


def read_scene(app, scene, what):
    """The page once the reader finds the whole scene on it (the tree follows the page)."""
    try:
        return wait_for(lambda: (lambda f: None if problems(f, scene) else f)(settled(app)), what)
    except AssertionError:
        raise AssertionError(f"{what}: " + "; ".join(problems(settled(app), scene))) from None


def transcript(found):
    return ([f"button «{b.name}»" for b in found["buttons"] if b.name[1:3] == ". "]
            + [f"image «{name}»" for name in found["pictures"]]
            + [f"spoken «{found['spoken']}»", f"focus on «{found['focused'][0]}»"])


def main():
    page, catalogue_path = sys.argv[1], sys.argv[2]
    with open(catalogue_path, encoding="utf-8") as catalogue_file:
        catalogue = json.load(catalogue_file)
    with tempfile.TemporaryDirectory() as profile:
        browser = subprocess.Popen(
            ["/usr/bin/chromium", "--no-sandbox", "--force-renderer-accessibility",
             "--no-first-run", f"--user-data-dir={profile}", "--window-size=900,600",
             pathlib.Path(page).resolve().as_uri()],
            env=dict(os.environ, ACCESSIBILITY_ENABLED="1"),
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
        try:
            app = wait_for(chromium, "Chromium on the accessibility bus", 60)
            found = read_scene(app, catalogue["S01"], "opening scene")
            print("before the move:", *transcript(found), sep="\n  ")

            button = option_buttons(found)["А"]
            print(f"pressing «{button.name}» through its action")
            button.queryAction().doAction(0)
            after = read_scene(app, catalogue["S02"], "after the move")
            assert after["focused"] == [f"А. {catalogue['S02']['options'][0]}"], after["focused"]
            print("after the move:", *transcript(after), sep="\n  ")
        finally:
            end_process_group(browser)
    print("1 passed, 0 failed")


if __name__ == "__main__":
    main()
