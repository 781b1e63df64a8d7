#!/usr/bin/env python3
"""Writes the site's service worker, sw.js, from its template: the list of every other file
in the site folder with its SHA-256, and the build's name, made from that list, so any
change to any file makes a new build:
  site_worker.py TEMPLATE SITE_DIR"""
import base64
import hashlib
import json
import pathlib
import sys

WORKER = "sw.js"


def write_worker(template, site):
    files = []
    for path in sorted(p for p in site.rglob("*") if p.is_file() and p.name != WORKER):
        digest = base64.b64encode(hashlib.sha256(path.read_bytes()).digest()).decode()
        files.append([path.relative_to(site).as_posix(), f"sha256-{digest}"])
    build = hashlib.sha256(json.dumps(files).encode()).hexdigest()[:16]
    text = template.read_text(encoding="utf-8")
    for placeholder, value in {"/*BUILD*/": build, "/*FILES*/": json.dumps(files, indent=0)}.items():
        if placeholder not in text:
            raise SystemExit(f"site_worker: {placeholder} missing from {template.name}")
        text = text.replace(placeholder, value, 1)
    (site / WORKER).write_text(text, encoding="utf-8")
    return build


if __name__ == "__main__":
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    print(write_worker(pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])))
