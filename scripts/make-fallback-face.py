#!/usr/bin/python3
"""Makes the Japanese face tamapick carries for systems that have none installed.

The program's texts are a fixed set (assets/fonts/fallback_characters.txt), so the face holds
exactly their characters: a subset of Noto Sans CJK JP, regular and bold, from Debian's
fonts-noto-cjk (SIL Open Font License 1.1, see assets/fonts/OFL.txt). The result is committed, so
a build needs neither the 100 MB font package nor fontTools; run this again only when a text of
the program gains a character (the font test says so).

Usage: /usr/bin/python3 scripts/make-fallback-face.py [folder holding NotoSansCJK-*.ttc]
Needs python3-fonttools and fonts-noto-cjk (or an unpacked copy of it, given as the argument:
`apt-get download fonts-noto-cjk && dpkg-deb -x fonts-noto-cjk_*.deb unpacked`).

Two changes beyond subsetting:
- The designed face is a proportional ("P") Gothic, whose kana and punctuation are narrower than
  a square em. Noto's kana are square, and only its optional 'palt' feature narrows them, which
  Qt does not apply; with square kana "チャンスは毎週チューズディ!" no longer fits the remark line
  on one line. So the 'palt' adjustments are baked into the outlines and advance widths.
- The family is renamed: an installed Noto Sans CJK JP is a different, complete font, and the
  program must never mistake its own few glyphs for it.
"""

import io
import pathlib
import sys

from fontTools import subset
from fontTools.pens.t2CharStringPen import T2CharStringPen
from fontTools.pens.transformPen import TransformPen
from fontTools.ttLib import TTFont

ROOT = pathlib.Path(__file__).resolve().parent.parent
FONTS = ROOT / "assets" / "fonts"
FAMILY = "Tamapick Fallback Gothic"
NOTO_JP_INDEX = 0  # Noto Sans CJK JP inside the collection


def program_characters():
    lines = (FONTS / "fallback_characters.txt").read_text(encoding="utf-8").splitlines()
    return "".join(sorted({c for line in lines if not line.startswith("#") for c in line}))


def palt_adjustments(font):
    """{glyph name: (x placement, x advance)} from the face's 'palt' single adjustments."""
    gpos = font["GPOS"].table
    lookups = {i for record in gpos.FeatureList.FeatureRecord if record.FeatureTag == "palt"
               for i in record.Feature.LookupListIndex}
    adjustments = {}
    for index in sorted(lookups):
        for table in gpos.LookupList.Lookup[index].SubTable:
            glyphs = table.Coverage.glyphs
            values = [table.Value] * len(glyphs) if table.Format == 1 else table.Value
            for glyph, value in zip(glyphs, values):
                adjustments.setdefault(glyph, (getattr(value, "XPlacement", 0) or 0,
                                               getattr(value, "XAdvance", 0) or 0))
    return adjustments


def bake_proportional_widths(font):
    cff = font["CFF "].cff
    top = cff[cff.fontNames[0]]
    charstrings = top.CharStrings
    glyph_set = font.getGlyphSet()
    hmtx = font["hmtx"].metrics
    for glyph, (dx, dadvance) in palt_adjustments(font).items():
        advance, lsb = hmtx[glyph]
        if dx or dadvance:
            # Redraw the outline with its new width, moved right by dx (the CFF outline is
            # absolute, not the metrics).
            old = charstrings[glyph]
            pen = T2CharStringPen(advance + dadvance - old.private.nominalWidthX, glyph_set)
            glyph_set[glyph].draw(TransformPen(pen, (1, 0, 0, 1, dx, 0)))
            charstrings[glyph] = pen.getCharString(private=old.private, globalSubrs=old.globalSubrs)
        hmtx[glyph] = (advance + dadvance, lsb + dx)
        glyph_set = font.getGlyphSet()


def rename(font, style):
    postscript = FAMILY.replace(" ", "") + "-" + style
    names = font["name"]
    for record in list(names.names):
        if record.nameID in (16, 17, 18, 21, 22):
            names.removeNames(nameID=record.nameID)
    for name_id, text in {1: FAMILY, 2: style, 3: postscript + " (subset of Noto Sans CJK JP)",
                          4: FAMILY + ("" if style == "Regular" else " " + style), 6: postscript}.items():
        names.setName(text, name_id, 3, 1, 0x409)
        names.setName(text, name_id, 1, 0, 0)
    # Only the English names stay: the Japanese ones name the original family.
    names.names = [r for r in names.names if r.nameID not in (1, 2, 3, 4, 6) or r.langID in (0x409, 0)]
    cff = font["CFF "].cff
    top = cff[cff.fontNames[0]]
    cff.fontNames = [postscript]
    top.rawDict["FullName"] = top.FullName = FAMILY
    top.rawDict["FamilyName"] = top.FamilyName = FAMILY
    if hasattr(top, "CIDFontName"):
        top.CIDFontName = postscript


def subset_to(font, characters, options):
    subsetter = subset.Subsetter(options)
    subsetter.populate(text=characters)
    subsetter.subset(font)


def make_face(source, style, characters, output):
    options = subset.Options()
    options.font_number = NOTO_JP_INDEX
    options.layout_features = ["palt", "kern"]  # 'palt' is read, then dropped below
    options.name_IDs = ["*"]
    options.name_languages = ["*"]
    options.drop_tables += ["vhea", "vmtx", "VORG", "BASE"]
    options.desubroutinize = True
    options.notdef_outline = True
    font = subset.load_font(str(source), options)
    subset_to(font, characters, options)
    bake_proportional_widths(font)
    rename(font, style)
    baked = io.BytesIO()
    font.save(baked)
    # Once baked, 'palt' must not apply a second time: subset the result again, keeping 'kern'.
    options.layout_features = ["kern"]
    baked.seek(0)
    font = TTFont(baked)
    subset_to(font, characters, options)
    subset.save_font(font, str(output), options)
    print(f"{output.relative_to(ROOT)}: {len(characters)} characters, {output.stat().st_size} bytes")


def main():
    folder = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "/usr/share/fonts/opentype/noto")
    characters = program_characters()
    for style in ("Regular", "Bold"):
        source = folder / f"NotoSansCJK-{style}.ttc"
        if not source.exists():
            sys.exit(f"{source} is missing: apt-get install fonts-noto-cjk, or give the folder of an unpacked copy")
        make_face(source, style, characters, FONTS / f"TamapickFallbackGothic-{style}.otf")


if __name__ == "__main__":
    main()
