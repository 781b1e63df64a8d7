#!/usr/bin/env python3
"""Plays the game by keyboard under the real Orca screen reader and checks what Orca says.

    orca_test.py PROGRAM|PAGE.html CATALOGUE.json WORK_FOLDER

A blind player's round: a move, a path to an ending, the endings menu and list, new attempts,
the dialog to its game-over and once declined with Escape. The page, opened in Chromium, gets
a move by a digit and one by a letter in Orca's default browse mode, where Orca keeps such
keys for its quick navigation unless the focus is in a widget that takes them. After each key
the step waits until Orca has said what the player must hear (the new scene's epigraph and
narrative, the ending cue, the question) and fails on what must not be heard (a hidden option,
Orca's own navigation). Prints the transcript of steps and speech.
Run it inside a session bus and an X server (dbus-run-session, xvfb-run).
"""
import json
import os
import pathlib
import sys
from dataclasses import dataclass, field

from orca_session import OrcaSession, end_process_group

CUE = "Эта попытка окончена. Новую начинает Ctrl+N"


@dataclass
class Step:
    what: str
    key: str  # an xdotool key name; empty for the program's start
    heard: list
    not_heard: list = field(default_factory=list)


def scene(catalogue, scene_id):
    """What the player must hear of a scene: its epigraph without the runs, its narrative."""
    entry = catalogue[scene_id]
    heard = [" ".join(entry["key"].split())]
    if entry["narrative"] is not None:
        heard.append(entry["narrative"])
    return heard


def option(catalogue, scene_id, number, letter):
    return f"{letter}. {catalogue[scene_id]['options'][number - 1]}"


def options(catalogue, scene_id):
    return [f"{letter}. {text}" for letter, text in zip("АВБГ", catalogue[scene_id]["options"])
            if text is not None]


def round_of_play(c):
    opening = scene(c, "S01")
    return [
        # Whether Orca names the window at the start depends on whether it was ready before the
        # window came up; coming back to it from the dialog names it for sure (below).
        Step("the game starts", "", opening),
        Step("a move: option А", "1",
             [*scene(c, "S02"), "На картинке: ", option(c, "S02", 1, "А")]),
        # The option's words, whatever this Orca calls a button.
        Step("Tab to the next option", "Tab", [option(c, "S02", 2, "В")]),
        Step("a new attempt", "ctrl+n", opening),
        Step("option Б: the friends' poll", "2", scene(c, "S28")),
        # At an ending every option button hides: none of the last scene's options is read.
        Step("option А: an ending", "1", [*scene(c, "S03"), CUE], options(c, "S28")),
        Step("Alt+К opens the endings menu", "alt+Cyrillic_ka",
             ["Концовки: 1 из 14", "Найденные концовки…"]),
        Step("the list of endings: its first row", "Return",
             ["Найденные концовки dialog", "1. Одна рюмка до осеннего призыва"]),
        Step("Down: the second row", "Down", ["2. Не найдена. Подсказка: "]),
        # Scrolling makes Orca ask where the scroll bars stand: nothing on standard error.
        Step("End: the last row", "End", ["14. Не найдена. Подсказка: "]),
        Step("Home: the first row again", "Home", ["1. Одна рюмка до осеннего призыва"]),
        Step("Escape closes the list", "Escape", ["Сессия frame"]),
        Step("a new attempt after the ending", "ctrl+n", opening),
        Step("option B opens the dialog", "3", ["Кестрин", "Итак ответ B?"]),
        Step("the first «Да!»", "Return", ["Вы уверены?"]),
        Step("the second «Да!»: the game-over", "Return", [*scene(c, "S20"), CUE],
             options(c, "S01")),
        Step("a new attempt after the game-over", "ctrl+n", opening),
        Step("the dialog again", "3", ["Итак ответ B?"]),
        Step("Escape declines", "Escape", ["Сессия frame", *opening]),
        Step("the game goes on: option B on move 2", "3", scene(c, "S19")),
    ]


def page_round(c):
    return [
        Step("the page opens", "", scene(c, "S01")),
        Step("a move by a digit, Orca started in browse mode: option Б", "2", scene(c, "S28"),
             ["No more headings"]),
        Step("a move by a letter: option В", "Cyrillic_ve", scene(c, "S18"), ["No more"]),
    ]


def browser(page, work):
    profile = os.path.join(work, "chromium")
    # No offer to translate the Russian page comes between.
    os.makedirs(os.path.join(profile, "Default"))
    with open(os.path.join(profile, "Default", "Preferences"), "w") as preferences:
        json.dump({"translate": {"enabled": False}}, preferences)
    return ["/usr/bin/chromium", "--no-sandbox", "--force-renderer-accessibility",
            "--no-first-run", f"--user-data-dir={profile}", "--window-size=900,600",
            pathlib.Path(page).resolve().as_uri()]


def main():
    program, catalogue_path, work = sys.argv[1:4]
    with open(catalogue_path, encoding="utf-8") as catalogue_file:
        catalogue = json.load(catalogue_file)
    on_page = program.endswith(".html")
    steps = page_round(catalogue) if on_page else round_of_play(catalogue)
    failures = []
    transcript = []
    with OrcaSession(work) as session:
        game = session.start("program", browser(program, work) if on_page else [program])
        session.activate_window_of(game)
        for step in steps:
            transcript.append(f"step: {step.what}" + (f" (key {step.key})" if step.key else ""))
            spoken = play(session, step)
            transcript.extend(f"  Orca: {utterance}" for utterance in spoken)
            failures.extend(f"{step.what}: {problem}" for problem in check(step, spoken))
        end_process_group(game)
    print(*transcript, sep="\n")
    with open(os.path.join(work, "program.out"), encoding="utf-8", errors="replace") as output:
        failures.extend(f"the game reported: {line.strip()}" for line in output
                        if line.startswith("sessiya:") or "QAccessible" in line)
    for failure in failures:
        print("FAILED:", failure)
    print(f"{len(steps)} steps, {len(failures)} failures")
    return 1 if failures else 0


def play(session, step):
    """Presses the step's key and returns what Orca said until it fell quiet."""
    start = len(session.log.utterances())
    if step.key:
        session.key(step.key)
    session.log.wait(lambda said: all(p in " ".join(said[start:]) for p in step.heard), 20)
    session.log.wait_quiet(1.5)
    return session.log.utterances()[start:]


def check(step, spoken):
    said = " ".join(spoken)
    problems = [f"Orca did not say «{short(p)}»" for p in step.heard if p not in said]
    problems += [f"Orca said «{p}»" for p in step.not_heard if p in said]
    return problems


def short(text):
    return text if len(text) <= 60 else text[:57] + "…"


if __name__ == "__main__":
    sys.exit(main())
