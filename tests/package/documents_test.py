#!/usr/bin/env python3
"""Reads the package's copyright file and changelog as Debian's tools read them.

    documents_test.py SOURCE_DIR PACKAGING_BUILD_DIR VERSION

The copyright file must parse as DEP-5, give each kind of file its licence, carry the full
text of every licence it names that Debian does not ship, and carry those texts unchanged;
the changelog's latest entry must be this version.
"""
import os
import sys

from debian import changelog, copyright

# A file of each kind and the licence it is under.
EXPECTED_LICENCES = [
    ("story/story.cpp", "GPL-3+"),
    ("main_window/form1.cpp", "GPL-3+"),
    ("story/scene_catalogue.cpp", "GPL-3+ and CC-BY-SA-4.0"),
    ("story/picture_descriptions.cpp", "GPL-3+ and CC-BY-SA-4.0"),
    ("assets/pictures/66.jpg", "CC-BY-SA-4.0"),
    ("assets/src/66.svg", "CC-BY-SA-4.0"),
    ("assets/icons/hicolor/scalable/apps/sessiya.svg", "CC-BY-SA-4.0"),
    ("docs/window.png", "CC-BY-SA-4.0"),
    ("assets/render.sh", "GPL-3+"),
    ("main_window/fonts/LiberationSans-Regular.ttf", "SIL-OFL-1.1"),
]

# The licences whose full text the copyright file carries, and the file each comes from.
FULL_TEXTS = [
    ("CC-BY-SA-4.0", "assets/LICENSE"),
    ("SIL-OFL-1.1", "main_window/fonts/LICENSE"),
]


def words(text):
    """The text's words, whatever its wrapping and its DEP-5 blank-line dots."""
    return " ".join(word for word in text.split() if word != ".")


def main():
    source_dir, packaging_dir, version = sys.argv[1:4]
    with open(os.path.join(packaging_dir, "copyright"), encoding="utf-8") as copyright_file:
        document = copyright.Copyright(copyright_file, strict=True)

    failures = []
    for path, expected in EXPECTED_LICENCES:
        paragraph = document.find_files_paragraph(path)
        found = paragraph.license.synopsis if paragraph else None
        if found != expected:
            failures.append(f"{path}: licence {found!r}, expected {expected!r}")

    texts = {p.license.synopsis: p.license.text for p in document.all_license_paragraphs()}
    texts.update({p.license.synopsis: p.license.text for p in document.all_files_paragraphs()
                  if p.license.text})
    named = {name for p in document.all_files_paragraphs()
             for name in p.license.synopsis.split(" and ")}
    failures += [f"{name}: no licence text" for name in sorted(named - texts.keys())]
    for name, origin in FULL_TEXTS:
        with open(os.path.join(source_dir, origin), encoding="utf-8") as origin_file:
            original = words(origin_file.read())
        if words(texts.get(name, "")) not in original:
            failures.append(f"{name}: the text differs from {origin}")
        elif len(words(texts[name])) < len(original) // 2:
            failures.append(f"{name}: the text is cut short")

    with open(os.path.join(packaging_dir, "changelog"), encoding="utf-8") as changelog_file:
        latest = changelog.Changelog(changelog_file, strict=True)
    if str(latest.version) != version:
        failures.append(f"changelog: latest entry {latest.version}, the project is {version}")
    if latest.author != document.header.upstream_contact[0]:
        failures.append(f"changelog: signed by {latest.author}, not the upstream contact")

    for failure in failures:
        print(failure, file=sys.stderr)
    print(f"{len(EXPECTED_LICENCES) + len(FULL_TEXTS) + 2 - len(failures)} passed, "
          f"{len(failures)} failed")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
