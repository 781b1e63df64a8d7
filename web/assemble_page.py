#!/usr/bin/env python3
"""Builds the one self-contained sessiya.html: the page, its styles and script, the engine,
the font subset to the characters the game uses, and every picture as a data URI."""
import argparse
import base64
import hashlib
import json
import pathlib
import re
import struct
import subprocess
import tempfile

from fontTools.ttLib import TTFont

MIME = {".jpg": "image/jpeg", ".gif": "image/gif", ".png": "image/png", ".woff2": "font/woff2"}


def data_uri(path):
    return f"data:{MIME[path.suffix]};base64,{base64.b64encode(path.read_bytes()).decode()}"


def image_size(data):
    """Width and height in pixels of a GIF, PNG or JPEG file."""
    if data[:6] in (b"GIF87a", b"GIF89a"):
        return struct.unpack("<HH", data[6:10])
    if data[:8] == b"\x89PNG\r\n\x1a\n":
        return struct.unpack(">II", data[16:24])
    at = 2
    while at < len(data):
        marker, length = data[at + 1], struct.unpack(">H", data[at + 2:at + 4])[0]
        if 0xC0 <= marker <= 0xCF and marker not in (0xC4, 0xC8, 0xCC):
            height, width = struct.unpack(">HH", data[at + 5:at + 9])
            return width, height
        at += 2 + length
    raise ValueError("no frame header in JPEG")


def picture(path, jpegtran):
    """The sharpest copy of a picture: name@2x beside it where it exists, shown at half its
    pixel size, so it stays crisp on a HiDPI screen. A JPEG is carried progressive, which
    keeps every pixel and takes less room in the page."""
    sharp = path.with_name(f"{path.stem}@2x{path.suffix}")
    chosen, scale = (sharp, 2) if sharp.exists() else (path, 1)
    data = chosen.read_bytes()
    if chosen.suffix == ".jpg":
        data = subprocess.run([jpegtran, "-copy", "none", "-progressive", "-optimize", str(chosen)],
                              check=True, capture_output=True).stdout
    width, height = image_size(data)
    return {"src": f"data:{MIME[chosen.suffix]};base64,{base64.b64encode(data).decode()}",
            "width": width / scale, "height": height / scale}


IMPORT = re.compile(r'^import \{([^}]*)\} from "(\.\.?/[^"]+)";\n', re.M)
EXPORT = re.compile(r"^export ((?:async )?function\*? |const |class )([A-Za-z_$][\w$]*)", re.M)


def script(entry):
    """The page's modules as one classic script, run as the parser reaches it: each
    dependency in its own function scope, run before what imports it, its exports handed
    over by name; the entry last, in a block of its own; all of it strict. Only `import { ... } from "./file.js"` and exported functions, consts and
    classes are read; anything else stops the build, as does an import of a file or name
    that is not there."""
    root = entry.resolve().parent
    bundled, exports, visiting = [], {}, set()

    def fail(path, why):
        raise SystemExit(f"assemble_page: {path.relative_to(root)}: {why}")

    def bundle(path, is_entry):
        visiting.add(path)
        body = path.read_text(encoding="utf-8")

        def imported(match):
            source = (path.parent / match[2]).resolve()
            if not source.is_file():
                fail(path, f"imports {match[2]}, which is not there")
            if source in visiting:
                fail(path, f"imports {match[2]}, which imports it back")
            if source not in exports:
                bundle(source, False)
            names = []
            for name in filter(None, (n.strip() for n in match[1].split(","))):
                theirs, _, ours = (part.strip() for part in name.partition(" as "))
                if theirs not in exports[source]:
                    fail(path, f"imports {theirs}, which {match[2]} does not export")
                names.append(f"{theirs}: {ours}" if ours else theirs)
            return f"const {{ {', '.join(names)} }} = {namespace(source)};\n"

        body = IMPORT.sub(imported, body)
        names = EXPORT.findall(body)
        body = EXPORT.sub(r"\1\2", body)
        unread = re.search(r"^(import|export)\b.*|\bimport(\(|\.meta).*", body, re.M)
        if unread:
            fail(path, f"cannot be bundled: {unread[0]}")
        if is_entry:
            if names:
                fail(path, "the page's entry has no one to export to")
            bundled.append(f"{{\n{body}}}\n")
        else:
            exported = ", ".join(name for _, name in names)
            bundled.append(f"const {namespace(path)} = (() => {{\n{body}return {{ {exported} }};\n}})();\n")
        exports[path] = {name for _, name in names}
        visiting.discard(path)

    def namespace(path):
        return "module$" + re.sub(r"\W", "_", str(path.relative_to(root).with_suffix("")))

    bundle(entry.resolve(), True)
    text = f'(() => {{\n"use strict";\n{"".join(bundled)}}})();\n'
    if "</script" in text.lower():
        raise SystemExit("assemble_page: the page's script would close its own element early")
    return text


def font_face(tools, family, weight, ttf, characters, work):
    subset = work / f"{ttf.stem}.ttf"
    subprocess.run([tools.pyftsubset, str(ttf), f"--text-file={characters}",
                    "--unicodes=U+0020-007E", "--layout-features=*", "--no-hinting", "--drop-tables+=FFTM",
                    f"--output-file={subset}"], check=True)
    subprocess.run([tools.woff2_compress, str(subset)], check=True, capture_output=True)
    woff2 = subset.with_suffix(".woff2")
    return (f"@font-face {{ font-family: \"{family}\"; font-weight: {weight}; "
            f"src: url({data_uri(woff2)}) format(\"woff2\"); }}\n")


def metrics(ttf, characters):
    """What the page's wrap needs of the font: each character's advance in font units, and
    its kerning: the pairs of characters it moves, one string of pairs for each adjustment
    in font units."""
    font = TTFont(ttf)
    cmap = font.getBestCmap()
    glyphs = {}
    for character in sorted(set(characters)):
        if ord(character) in cmap:
            glyphs.setdefault(cmap[ord(character)], []).append(character)
    advances = {c: font["hmtx"][glyph][0] for glyph, chars in glyphs.items() for c in chars}
    kerning = {}
    gpos = font["GPOS"].table
    kern_lookups = {index for record in gpos.FeatureList.FeatureRecord
                    if record.FeatureTag == "kern" for index in record.Feature.LookupListIndex}
    for index in kern_lookups:
        for table in gpos.LookupList.Lookup[index].SubTable:
            if table.Format != 1:
                raise SystemExit("assemble_page: only glyph-pair kerning is read")
            for first, pair_set in zip(table.Coverage.glyphs, table.PairSet):
                for record in pair_set.PairValueRecord:
                    if first in glyphs and record.SecondGlyph in glyphs:
                        # The first subtable that holds a pair decides it, as in a shaper.
                        for pair in (a + b for a in glyphs[first] for b in glyphs[record.SecondGlyph]):
                            kerning.setdefault(pair, getattr(record.Value1, "XAdvance", 0))
    by_adjustment = {}
    for pair, units in sorted(kerning.items()):
        by_adjustment[units] = by_adjustment.get(units, "") + pair
    return {"unitsPerEm": font["head"].unitsPerEm, "advances": advances,
            "kerning": {str(units): pairs for units, pairs in sorted(by_adjustment.items())}}


INLINE = re.compile(r"<(script|style)(?![^>]*type=\"application/json\")[^>]*>(.*?)</\1>", re.S)


def policy(page):
    """A Content-Security-Policy that lets the page run only its own inline script and style,
    by their hashes, show only its data: pictures and fonts, fetch and compile its
    WebAssembly from its own data: URI, and load or send nothing else."""
    hashes = {"script": [], "style": []}
    for kind, content in INLINE.findall(page):
        digest = base64.b64encode(hashlib.sha256(content.encode()).digest()).decode()
        hashes[kind].append(f"'sha256-{digest}'")
    return ("default-src 'none'; "
            f"script-src {' '.join(hashes['script'])} 'wasm-unsafe-eval'; "
            f"style-src {' '.join(hashes['style'])}; "
            "img-src data:; font-src data:; connect-src data:; base-uri 'none'; form-action 'none'")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--web", type=pathlib.Path, required=True)
    parser.add_argument("--engine", type=pathlib.Path, required=True)
    parser.add_argument("--assets", type=pathlib.Path, required=True)
    parser.add_argument("--fonts", type=pathlib.Path, required=True)
    parser.add_argument("--texts", type=pathlib.Path, nargs="+", required=True,
                        help="files whose characters the font must hold")
    parser.add_argument("--email", required=True)
    parser.add_argument("--website", required=True)
    parser.add_argument("--output", type=pathlib.Path, required=True)
    parser.add_argument("--pyftsubset", default="pyftsubset")
    parser.add_argument("--woff2-compress", default="woff2_compress")
    parser.add_argument("--jpegtran", default="jpegtran")
    args = parser.parse_args()

    # The website as the desktop opens it: an address without a scheme is taken as http.
    website_url = args.website if "://" in args.website else "http://" + args.website
    contact = {"@SESSIYA_AUTHOR_EMAIL@": args.email, "@SESSIYA_AUTHOR_WEBSITE_URL@": website_url,
               "@SESSIYA_AUTHOR_WEBSITE@": args.website}
    page = (args.web / "index.html").read_text(encoding="utf-8")
    for placeholder, value in contact.items():
        page = page.replace(placeholder, value)

    pictures = {"\\" + path.name: picture(path, args.jpegtran)
                for path in sorted((args.assets / "pictures").iterdir())
                if path.suffix in (".jpg", ".gif") and "@2x" not in path.stem}
    extras = {"start": picture(args.assets / "start.jpg", args.jpegtran),
              "dialog": picture(args.assets / "dialog.jpg", args.jpegtran),
              "hand": data_uri(args.assets / "hand.png"),
              "icon": data_uri(args.assets / "icons/hicolor/32x32/apps/sessiya.png")}

    texts = page + "".join(p.read_text(encoding="utf-8") for p in args.texts) + \
        "".join(contact.values()) + "".join(chr(c) for c in range(0x20, 0x7F))
    extras["metrics"] = metrics(args.fonts / "LiberationSans-Regular.ttf", texts)
    with tempfile.TemporaryDirectory() as work_dir:
        work = pathlib.Path(work_dir)
        characters = work / "characters.txt"
        characters.write_text(texts, encoding="utf-8")
        fonts = (font_face(args, "Sessiya Sans", 400, args.fonts / "LiberationSans-Regular.ttf",
                           characters, work)
                 + font_face(args, "Sessiya Sans", 700, args.fonts / "LiberationSans-Bold.ttf",
                             characters, work))

    style = fonts + (args.web / "style.css").read_text(encoding="utf-8").replace(
        "url(hand.png)", f"url({extras['hand']})")
    def script_data(data):
        # Script text must not close its own element early.
        return json.dumps(data, ensure_ascii=False).replace("</", "<\\/")

    parts = {
        "/*STYLE*/": style,
        "/*ASSETS*/": script_data(extras),
        "/*PICTURES*/": script_data(pictures),
        "/*EARLY*/": (args.web / "early.js").read_text(encoding="utf-8"),
        "/*ENGINE*/": args.engine.read_text(encoding="utf-8"),
        "/*PAGE*/": script(args.web / "main.js"),
    }
    page = page.replace("ICON_URI", extras["icon"])
    for placeholder, content in parts.items():
        if placeholder not in page:
            raise SystemExit(f"assemble_page: {placeholder} missing from index.html")
        page = page.replace(placeholder, content, 1)
    page = page.replace("/*POLICY*/", policy(page), 1)
    args.output.write_text(page, encoding="utf-8")


if __name__ == "__main__":
    main()
