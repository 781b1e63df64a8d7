#!/usr/bin/env python3
"""Builds the page from the same parts twice: the one self-contained sessiya.html (the page,
its styles and script, the engine, the font subset to the characters the game uses, and
every picture as a data URI), and the site folder for a static host, where the fonts,
pictures and icons are files of their own, loaded after what the first scene needs, with a
web app manifest and a service worker that keeps it all for offline play."""
import argparse
import base64
import hashlib
import html
import json
import pathlib
import re
import shutil
import struct
import subprocess
import tempfile

from fontTools.ttLib import TTFont

from site_worker import write_worker

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


class Picture:
    """The sharpest copy of a picture: name@2x beside it where it exists, shown at half its
    pixel size, so it stays crisp on a HiDPI screen. A JPEG is carried progressive, which
    keeps every pixel and takes less room."""

    def __init__(self, path, jpegtran):
        sharp = path.with_name(f"{path.stem}@2x{path.suffix}")
        chosen, scale = (sharp, 2) if sharp.exists() else (path, 1)
        self.name, self.suffix = path.stem, chosen.suffix
        self.data = chosen.read_bytes()
        if chosen.suffix == ".jpg":
            self.data = subprocess.run([jpegtran, "-copy", "none", "-progressive", "-optimize",
                                        str(chosen)], check=True, capture_output=True).stdout
        width, height = image_size(self.data)
        self.width, self.height = width / scale, height / scale

    def entry(self, src):
        return {"src": src, "width": self.width, "height": self.height}

    def inline(self):
        return self.entry(f"data:{MIME[self.suffix]};base64,{base64.b64encode(self.data).decode()}")


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


def font_subset(tools, ttf, characters, work):
    """The font cut to the characters the game uses, as WOFF2."""
    subset = work / f"{ttf.stem}.ttf"
    subprocess.run([tools.pyftsubset, str(ttf), f"--text-file={characters}",
                    "--unicodes=U+0020-007E", "--layout-features=*", "--no-hinting", "--drop-tables+=FFTM",
                    f"--output-file={subset}"], check=True)
    subprocess.run([tools.woff2_compress, str(subset)], check=True, capture_output=True)
    return subset.with_suffix(".woff2").read_bytes()


FAMILY = "Sessiya Sans"


def font_face(weight, url):
    return (f"@font-face {{ font-family: \"{FAMILY}\"; font-weight: {weight}; "
            f"src: url({url}) format(\"woff2\"); }}\n")


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


def opening_scene(args, metrics, work):
    """The opening scene as the page's script draws it, asked of the engine itself."""
    metrics_file = work / "metrics.json"
    metrics_file.write_text(json.dumps(metrics), encoding="utf-8")
    return json.loads(subprocess.run([args.node, str(args.web / "prerender.mjs"), str(args.engine),
                                      str(metrics_file), str(args.web / "style.css")],
                                     check=True, capture_output=True, text=True).stdout)


def attribute_number(value):
    """A number as the page's script writes it into an attribute."""
    return str(int(value)) if float(value).is_integer() else str(value)


def written_scene(page, scene, style, picture):
    """The page with the opening scene written into its labels, buttons and picture box, with
    its picture (an entry of the page's assets), so it shows before the script has run; the
    one file has no room for it. Its picture's largest size in one column goes to the style."""
    def put(pattern, replacement):
        nonlocal page
        page, count = re.subn(pattern, lambda _: replacement, page)
        if count != 1:
            raise SystemExit(f"assemble_page: {pattern} is not once in index.html")

    hidden = lambda flag: " hidden" if flag else ""
    for label, drawn in scene["labels"].items():
        rows = "".join(f'<div aria-hidden="true">{html.escape(line, False)}</div>' for line in drawn["lines"])
        put(f'<div id="{label}" class="story-label"></div>',
            f'<div id="{label}" class="story-label"{hidden(drawn["hidden"])}>{rows}'
            f'<span class="for-screen-readers">{html.escape(drawn["text"], False)}</span>'
            f'<p class="reflowed" aria-hidden="true">{html.escape(drawn["reflowed"], False)}</p></div>')
    for option, button in enumerate(scene["buttons"], 1):
        put(f'<button id="Command{option}" class="option">',
            f'<button id="Command{option}" class="option" aria-label="{html.escape(button["name"])}"'
            f'{hidden(button["hidden"])}>')
    box = re.search(r"^#Picture1 \{[^}]*\bheight: (\d+)px", style, re.M)
    if box is None or float(box[1]) != scene["picture"]["height"]:
        raise SystemExit("assemble_page: the opening picture box is not the window's own height")
    put('<main id="Form1" class="window loading"', '<main id="Form1" class="window"')
    put('<div id="Picture1" role="img"></div>',
        f'<div id="Picture1" role="img" aria-label="{html.escape(scene["picture"]["description"])}">'
        f'<img width="{attribute_number(picture["width"])}" height="{attribute_number(picture["height"])}" '
        f'alt="" aria-hidden="true" fetchpriority="low" src="{html.escape(picture["src"])}"></div>')
    size = f'#Picture1 > img[src="{picture["src"]}"] {{ --natural-width: {attribute_number(picture["width"])}px; }}\n'
    return page, size


INLINE = re.compile(r"<(script|style)(?![^>]*(?:type=\"application/json\"|src=))[^>]*>(.*?)</\1>", re.S)


# What each page may load besides its own hashed inline script and style: the one file only
# its data: pictures and fonts, and its WebAssembly from its own data: URI; the site only its
# own origin's pictures, fonts, manifest and service worker.
ONE_FILE_SOURCES = "img-src data:; font-src data:; connect-src data:"
SITE_SOURCES = "img-src 'self'; font-src 'self'; manifest-src 'self'; worker-src 'self'"


def policy(page, sources, scripts):
    """A Content-Security-Policy that lets the page run only its own inline script and style,
    by their hashes, and the `scripts` sources, load what `sources` allows, and load or send
    nothing else."""
    hashes = {"script": [], "style": []}
    for kind, content in INLINE.findall(page):
        digest = base64.b64encode(hashlib.sha256(content.encode()).digest()).decode()
        hashes[kind].append(f"'sha256-{digest}'")
    return ("default-src 'none'; "
            f"script-src {' '.join(hashes['script'] + scripts)} 'wasm-unsafe-eval'; "
            f"style-src {' '.join(hashes['style'])}; "
            f"{sources}; base-uri 'none'; form-action 'none'")


def script_data(data):
    # Script text must not close its own element early.
    return json.dumps(data, ensure_ascii=False).replace("</", "<\\/")


# The large parts, each filled once, in this order: none is looked into after it is placed.
PARTS = ("/*STYLE*/", "/*ASSETS*/", "/*PICTURES*/", "/*EARLY*/", "/*FIRST_LAYOUT*/", "/*ENGINE*/",
         "/*PAGE*/")


def fill(template, parts, sources, scripts=()):
    """The page: index.html with the markup's placeholders filled wherever they stand, then
    the large parts, then its policy."""
    page = template
    for placeholder in sorted(parts, key=lambda p: PARTS.index(p) + 1 if p in PARTS else 0):
        if placeholder not in page:
            raise SystemExit(f"assemble_page: {placeholder} missing from index.html")
        page = page.replace(placeholder, parts[placeholder], 1 if placeholder in PARTS else -1)
    return page.replace("/*POLICY*/", policy(page, sources, list(scripts)), 1)


class Site:
    """The site folder: each file named after its content, so a host or browser may keep it
    for good and a new build never meets an old copy under the same name."""

    def __init__(self, root):
        shutil.rmtree(root, ignore_errors=True)
        root.mkdir(parents=True)
        self.root = root

    def add(self, folder, stem, suffix, data):
        digest = hashlib.sha256(data).hexdigest()[:10]
        path = f"{folder}/{stem}.{digest}{suffix}" if folder else f"{stem}.{digest}{suffix}"
        (self.root / path).parent.mkdir(parents=True, exist_ok=True)
        (self.root / path).write_bytes(data)
        return path

    def write(self, name, text):
        (self.root / name).write_text(text, encoding="utf-8")


DESCRIPTION = ("Сессия — текстовый квест: студент после четырёх беззаботных месяцев выясняет, "
               "в каком институте он учится, добирается туда и пытается сдать сессию. "
               "Четырнадцать концовок.")
# The window's colours: its face, and the page around it.
WINDOW_FACE, PAGE_BACKGROUND = "#efefef", "#ffffff"
# The sizes installers ask for, from the icon's own renderings.
ICON_SIZES = (48, 64, 128, 192, 256, 512)


def write_site(args, site_root, template, common, pictures, extras, fonts, style):
    site = Site(site_root)
    icons = args.assets / "icons"
    icon_entries = [{"src": site.add("icons", f"sessiya-{n}", ".png",
                                     (icons / f"hicolor/{n}x{n}/apps/sessiya.png").read_bytes()),
                     "sizes": f"{n}x{n}", "type": "image/png"} for n in ICON_SIZES]
    icon_entries.append({"src": site.add("icons", "sessiya-maskable-512", ".png",
                                         (icons / "maskable-512.png").read_bytes()),
                         "sizes": "512x512", "type": "image/png", "purpose": "maskable"})
    favicon = site.add("icons", "sessiya-32", ".png",
                       (icons / "hicolor/32x32/apps/sessiya.png").read_bytes())
    site.write("manifest.webmanifest", json.dumps({
        "id": "./", "name": "Сессия", "short_name": "Сессия", "description": DESCRIPTION,
        "lang": "ru", "dir": "ltr", "start_url": "./", "scope": "./", "display": "standalone",
        "background_color": PAGE_BACKGROUND, "theme_color": WINDOW_FACE, "icons": icon_entries,
    }, ensure_ascii=False, indent=2) + "\n")

    def published(picture):
        return picture.entry(site.add("pictures", picture.name, picture.suffix, picture.data))

    start = published(extras["start"])
    template, start_size = written_scene(template, extras["scene"], style, start)
    # The engine and the page's script as files of their own, run once the page is read: the
    # scene written into it is painted while they arrive.
    common = dict(common)
    script_urls = []
    for part, stem in (("/*ENGINE*/", "engine"), ("/*PAGE*/", "page")):
        script_urls.append(site.add("", stem, ".js", common.pop(part).encode()))
        template = template.replace(f"<script>{part}</script>",
                                    f'<script src="{script_urls[-1]}" defer></script>', 1)
    font_urls = {weight: site.add("fonts", f"sessiya-sans-{weight}", ".woff2", data)
                 for weight, data in fonts.items()}
    hand = site.add("", "hand", ".png", (args.assets / "hand.png").read_bytes())
    head = "".join([
        '<link rel="manifest" href="manifest.webmanifest">\n',
        f'<meta name="theme-color" content="{WINDOW_FACE}">\n',
        f'<link rel="apple-touch-icon" href="{icon_entries[3]["src"]}">\n',
        # What the first scene waits for, asked for as soon as the head is read, then what the
        # game waits for; its picture comes last, not to share the network with these.
        *(f'<link rel="preload" href="{url}" as="font" type="font/woff2" crossorigin>\n'
          for url in font_urls.values()),
        *(f'<link rel="preload" href="{url}" as="script">\n' for url in script_urls),
    ])
    assets = {"start": start, "dialog": published(extras["dialog"]), "metrics": extras["metrics"],
              "worker": "sw.js"}
    page = fill(template, {
        **common,
        "ICON_URI": favicon,
        "<!--HOSTED-->\n": head,
        "/*FIRST_LAYOUT*/": (args.web / "first_layout.js").read_text(encoding="utf-8"),
        "/*STYLE*/": "".join(font_face(w, url) for w, url in font_urls.items())
                     + style.replace("url(hand.png)", f"url({hand})") + start_size,
        "/*ASSETS*/": script_data(assets),
        "/*PICTURES*/": script_data({reference: published(p) for reference, p in pictures.items()}),
    }, SITE_SOURCES, ["'self'"])
    site.write("index.html", page)
    write_worker(args.web / "service_worker.js", site.root)


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
    parser.add_argument("--output", type=pathlib.Path, required=True, help="the one-file page")
    parser.add_argument("--site", type=pathlib.Path, required=True, help="the site folder")
    parser.add_argument("--pyftsubset", default="pyftsubset")
    parser.add_argument("--woff2-compress", default="woff2_compress")
    parser.add_argument("--jpegtran", default="jpegtran")
    parser.add_argument("--node", default="node")
    args = parser.parse_args()

    # The website as the desktop opens it: an address without a scheme is taken as http.
    website_url = args.website if "://" in args.website else "http://" + args.website
    contact = {"@SESSIYA_AUTHOR_EMAIL@": args.email, "@SESSIYA_AUTHOR_WEBSITE_URL@": website_url,
               "@SESSIYA_AUTHOR_WEBSITE@": args.website}
    page = (args.web / "index.html").read_text(encoding="utf-8")
    for placeholder, value in contact.items():
        page = page.replace(placeholder, value)

    pictures = {"\\" + path.name: Picture(path, args.jpegtran)
                for path in sorted((args.assets / "pictures").iterdir())
                if path.suffix in (".jpg", ".gif") and "@2x" not in path.stem}
    extras = {"start": Picture(args.assets / "start.jpg", args.jpegtran),
              "dialog": Picture(args.assets / "dialog.jpg", args.jpegtran)}

    texts = page + "".join(p.read_text(encoding="utf-8") for p in args.texts) + \
        "".join(contact.values()) + "".join(chr(c) for c in range(0x20, 0x7F))
    extras["metrics"] = metrics(args.fonts / "LiberationSans-Regular.ttf", texts)
    with tempfile.TemporaryDirectory() as work_dir:
        work = pathlib.Path(work_dir)
        characters = work / "characters.txt"
        characters.write_text(texts, encoding="utf-8")
        fonts = {weight: font_subset(args, args.fonts / f"LiberationSans-{face}.ttf", characters, work)
                 for weight, face in ((400, "Regular"), (700, "Bold"))}
        extras["scene"] = opening_scene(args, extras["metrics"], work)

    style = (args.web / "style.css").read_text(encoding="utf-8")
    common = {
        "@DESCRIPTION@": DESCRIPTION,
        "/*EARLY*/": (args.web / "early.js").read_text(encoding="utf-8"),
        "/*ENGINE*/": args.engine.read_text(encoding="utf-8"),
        "/*PAGE*/": script(args.web / "main.js"),
    }
    hand = data_uri(args.assets / "hand.png")
    one_file = fill(page, {
        **common,
        "ICON_URI": data_uri(args.assets / "icons/hicolor/32x32/apps/sessiya.png"),
        "<!--HOSTED-->\n": "",
        # Its window shows nothing before its scene is drawn, and is laid out then.
        "<script>/*FIRST_LAYOUT*/</script>\n": "",
        "/*STYLE*/": "".join(font_face(weight, f"data:font/woff2;base64,{base64.b64encode(data).decode()}")
                             for weight, data in fonts.items())
                     + style.replace("url(hand.png)", f"url({hand})"),
        "/*ASSETS*/": script_data({"start": extras["start"].inline(), "dialog": extras["dialog"].inline(),
                                   "metrics": extras["metrics"]}),
        "/*PICTURES*/": script_data({reference: p.inline() for reference, p in pictures.items()}),
    }, ONE_FILE_SOURCES)
    args.output.write_text(one_file, encoding="utf-8")
    write_site(args, args.site, page, common, pictures, extras, fonts, style)


if __name__ == "__main__":
    main()
