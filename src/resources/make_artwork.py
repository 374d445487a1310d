#!/usr/bin/env python3
"""Draws the application's artwork and writes the eleven embedded resources
into this folder.

Needs ImageMagick's `convert` (with its JPEG 2000 delegate) and the URW fonts
(fonts-urw-base35); everything else is the Python standard library. The ICO and
ICNS containers are assembled here so that their image formats and element
order are exactly what the program expects.

Run:  python3 src/resources/make_artwork.py
"""

import os
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
FONT_DIR = "/usr/share/fonts/opentype/urw-base35"
FONT_BOLD = os.path.join(FONT_DIR, "NimbusSans-Bold.otf")
FONT_REGULAR = os.path.join(FONT_DIR, "NimbusSans-Regular.otf")

# One palette for every picture.
CHARCOAL_TOP = "#34343B"
CHARCOAL_BOTTOM = "#1E1E22"
RED = "#C51530"
RED_LIGHT = "#DE3650"
RED_DARK = "#9E0414"
PAGE_TOP = "#F6F5F2"
PAGE_BOTTOM = "#ECEAE6"
CARD = "#FFFFFF"
CARD_EDGE = "#D3D0CA"
HAIRLINE = "#DEDBD5"
WATERMARK = "#EEECE8"
MUTED_ON_DARK = "#A9A9B1"

# Relative heights of the bars of the waveform mark; the right half is red.
WAVE = [0.22, 0.42, 0.66, 0.9, 1.0, 0.78, 0.94, 0.62, 0.4, 0.24]

TMP = tempfile.mkdtemp(prefix="orvo-artwork-")


def run(args):
    subprocess.run(args, check=True)


def convert(*args):
    run(["convert", *args])


def save_png(source_args, name):
    """Runs convert on the given drawing and writes an 8-bit RGBA,
    non-interlaced PNG without time stamps."""
    convert(*source_args, "-strip", "-interlace", "none", "-depth", "8",
            "-define", "png:exclude-chunks=date,time", "PNG32:" + os.path.join(HERE, name))


def raw_rgba(png_path, size):
    """The picture scaled to size x size as raw RGBA bytes, top row first."""
    out = subprocess.run(["convert", png_path, "-filter", "Lanczos", "-resize", f"{size}x{size}!",
                          "-depth", "8", "RGBA:-"], check=True, capture_output=True).stdout
    if len(out) != size * size * 4:
        sys.exit(f"unexpected raw size for {size}: {len(out)}")
    return out


def wave_mvg(x, y, w, h, light="#FFFFFF", accent=RED):
    """MVG for the waveform mark filling the box: rounded bars centred on a
    middle line, the first half in the light colour, the rest in the accent."""
    n = len(WAVE)
    pitch = w / n
    bar = pitch * 0.56
    radius = bar / 2
    cmds = []
    for i, level in enumerate(WAVE):
        bh = max(bar, h * level)
        bx = x + i * pitch + (pitch - bar) / 2
        by = y + (h - bh) / 2
        colour = light if i < n // 2 else accent
        cmds.append(f"fill '{colour}' roundrectangle {bx:.2f},{by:.2f} {bx + bar:.2f},{by + bh:.2f} "
                    f"{radius:.2f},{radius:.2f}")
    return " ".join(cmds)


def dark_panel(w, h):
    return ["-size", f"{w}x{h}", f"gradient:{CHARCOAL_TOP}-{CHARCOAL_BOTTOM}"]


def card_layer(w, h, x0, y0, x1, y1, radius, name):
    """A white rounded card with a hairline edge and a soft shadow, on a
    transparent w x h canvas; returns the path of the layer."""
    shadow = os.path.join(TMP, name + "-shadow.png")
    convert("-size", f"{w}x{h}", "xc:none", "-fill", "#00000030",
            "-draw", f"roundrectangle {x0},{y0 + 1.5} {x1},{y1 + 1.5} {radius},{radius}",
            "-channel", "A", "-blur", "0x1.2", "+channel", "PNG32:" + shadow)
    card = os.path.join(TMP, name + ".png")
    convert(shadow, "-fill", CARD, "-stroke", CARD_EDGE, "-strokewidth", "1",
            "-draw", f"roundrectangle {x0},{y0} {x1},{y1} {radius},{radius}", "PNG32:" + card)
    return card


def make_icon():
    s = 1024
    path = os.path.join(TMP, "icon-master.png")
    # Rounded square with a gentle top light, the waveform across its middle
    # and a red baseline under the dark half.
    convert("-size", f"{s}x{s}", f"gradient:{CHARCOAL_TOP}-{CHARCOAL_BOTTOM}", "-alpha", "set",
            "(", "-size", f"{s}x{s}", "xc:none", "-fill", "white",
            "-draw", "roundrectangle 100,100 923,923 184,184", ")",
            "-compose", "DstIn", "-composite", "-compose", "Over",
            "-fill", "#FFFFFF14", "-draw", "roundrectangle 100,100 923,520 184,184",
            "-fill", "none", "-stroke", "#FFFFFF22", "-strokewidth", "4",
            "-draw", "roundrectangle 102,102 921,921 182,182",
            "-stroke", "none",
            "-draw", wave_mvg(220, 262, 584, 500),
            "PNG32:" + path)
    save_png([path], "Orvo_Icon.png")
    return path


def make_mark(size):
    """The icon as a small mark for the headers."""
    path = os.path.join(TMP, f"mark-{size}.png")
    convert(os.path.join(HERE, "Orvo_Icon.png"), "-filter", "Lanczos", "-resize", f"{size}x{size}",
            "PNG32:" + path)
    return path


def branded_page(w, h, header, mark, title, subtitle):
    """convert arguments for a light page under the dark header band with the
    mark and the wordmark; mark is (size, x, y), title and subtitle are
    (points, x, baseline)."""
    size, mx, my = mark
    tp, tx, ty = title
    sp, sx, sy = subtitle
    return ["-size", f"{w}x{h}", f"gradient:{PAGE_TOP}-{PAGE_BOTTOM}",
            "(", *dark_panel(w, header), ")", "-geometry", "+0+0", "-composite",
            "-fill", RED, "-draw", f"rectangle 0,{header} {w},{header + 2}",
            "(", make_mark(size), ")", "-geometry", f"+{mx}+{my}", "-composite",
            "-font", FONT_BOLD, "-pointsize", str(tp), "-fill", "white", "-kerning", f"{tp / 10:g}",
            "-draw", f"text {tx},{ty} 'ORVO'",
            "-font", FONT_REGULAR, "-pointsize", str(sp), "-fill", MUTED_ON_DARK, "-kerning", f"{sp * 0.2:g}",
            "-draw", f"text {sx},{sy} 'FILE CONVERSION UTILITY'"]


def make_background():
    w, h = 420, 700
    header = 84
    convert(*branded_page(w, h, header, mark=(56, 10, 14), title=(30, 70, 44), subtitle=(11, 71, 63)),
            # Hairline between the drop area's controls and the progress section.
            "-fill", HAIRLINE, "-draw", "rectangle 16,428 404,428",
            "-fill", "#FFFFFF", "-draw", "rectangle 16,429 404,429",
            "-fill", HAIRLINE, "-draw", "rectangle 0,690 420,690",
            "-fill", "#E3E0DA", "-draw", "rectangle 0,691 420,700",
            "PNG32:" + os.path.join(TMP, "bg.png"))
    save_png([os.path.join(TMP, "bg.png")], "Orvo_Background.png")


def make_drop_sample_background():
    w, h = 389, 258
    # The heading is drawn over the artwork's top edge, so the card starts
    # below it and the page shows through there. The rows lie over the whole
    # card: nothing but a faint drop symbol may sit under their text.
    card = card_layer(w, h, 1, 12, 387, 255, 8, "drop-card")
    cx, cy = w / 2, 140
    watermark = (
        f"fill none stroke '{WATERMARK}' stroke-width 5 stroke-linecap round stroke-linejoin round "
        f"line {cx},{cy - 46} {cx},{cy + 12} "
        f"polyline {cx - 24},{cy - 10} {cx},{cy + 14} {cx + 24},{cy - 10} "
        f"polyline {cx - 52},{cy + 10} {cx - 52},{cy + 40} {cx + 52},{cy + 40} {cx + 52},{cy + 10}"
    )
    convert(card,
            "-draw", watermark,
            "PNG32:" + os.path.join(TMP, "drop.png"))
    save_png([os.path.join(TMP, "drop.png")], "Orvo_DropSampleBackground.png")


def make_converted_files_background():
    w, h = 383, 169
    card = card_layer(w, h, 1, 0, 381, 166, 8, "converted-card")
    save_png([card], "Orvo_ConvertedFilesBackground.png")


def make_convert_button(name, top, bottom, edge, text_dy, inner_light):
    w, h, k = 117, 38, 4  # drawn at k times the size, then reduced
    W, H = w * k, h * k
    body = os.path.join(TMP, name + "-body.png")
    convert("-size", f"{W}x{H}", f"gradient:{top}-{bottom}", "-alpha", "set",
            "(", "-size", f"{W}x{H}", "xc:none", "-fill", "white",
            "-draw", f"roundrectangle {k},{k} {W - k - 1},{H - 2 * k - 1} {7 * k},{7 * k}", ")",
            "-compose", "DstIn", "-composite",
            "(", "-size", f"{W}x{H}", "xc:none", "-fill", "#00000038",
            "-draw", f"roundrectangle {k},{2 * k} {W - k - 1},{H - k - 1} {7 * k},{7 * k}",
            "-channel", "A", "-blur", f"0x{k}", "+channel", ")",
            "-compose", "DstOver", "-composite", "-compose", "Over",
            "-fill", "none", "-stroke", edge, "-strokewidth", str(k),
            "-draw", f"roundrectangle {1.5 * k},{1.5 * k} {W - 1.5 * k - 1},{H - 2.5 * k - 1} {6.5 * k},{6.5 * k}",
            "-stroke", inner_light, "-strokewidth", str(k),
            "-draw", f"line {8 * k},{3 * k} {W - 8 * k},{3 * k}",
            "-stroke", "none",
            "-font", FONT_BOLD, "-pointsize", str(17 * k), "-kerning", str(0.6 * k),
            "-fill", "#00000040", "-gravity", "center",
            "-draw", f"text 0,{(text_dy - 1) * k + k} 'Convert'",
            "-fill", "white", "-draw", f"text 0,{(text_dy - 1) * k} 'Convert'",
            "-gravity", "NorthWest", "-filter", "Lanczos", "-resize", f"{w}x{h}!",
            "PNG32:" + body)
    save_png([body], name)


def make_x_button():
    s, k = 13, 8
    S = s * k
    path = os.path.join(TMP, "x.png")
    a, b = 4.2 * k, S - 4.2 * k
    convert("-size", f"{S}x{S}", "xc:none",
            "-fill", "#3A3A40", "-draw", f"circle {S / 2},{S / 2} {S / 2},{0.4 * k}",
            "-stroke", "white", "-strokewidth", str(1.6 * k), "-draw",
            f"stroke-linecap round line {a},{a} {b},{b} line {a},{b} {b},{a}",
            "-filter", "Lanczos", "-resize", f"{s}x{s}!", "PNG32:" + path)
    save_png([path], "Orvo_Xbutton.png")


def make_about():
    w, h = 420, 255
    header = 104
    convert(*branded_page(w, h, header, mark=(76, 86, 14), title=(40, 168, 58), subtitle=(12, 169, 80)),
            # A quiet waveform between the version and the legal lines.
            "-draw", wave_mvg(150, 160, 120, 36, light="#DEDBD5", accent="#E9C3C9"),
            "-fill", HAIRLINE, "-draw", "rectangle 40,205 380,205",
            "PNG32:" + os.path.join(TMP, "about.png"))
    save_png([os.path.join(TMP, "about.png")], "Orvo_About.png")


def ico_image(master, size):
    """One ICO entry: a 32-bit BITMAPINFOHEADER bitmap, bottom-up BGRA rows,
    followed by its 1-bit AND mask (set where the pixel is fully transparent)."""
    rgba = raw_rgba(master, size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, size * size * 4, 0, 0, 0, 0)
    pixels = bytearray()
    mask = bytearray()
    mask_stride = ((size + 31) // 32) * 4
    for y in range(size - 1, -1, -1):
        row = rgba[y * size * 4:(y + 1) * size * 4]
        bits = bytearray(mask_stride)
        for x in range(size):
            r, g, b, a = row[x * 4:x * 4 + 4]
            pixels += bytes((b, g, r, a))
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(pixels) + bytes(mask)


def make_ico(master):
    sizes = [256, 128, 64, 48, 32, 16]
    images = [ico_image(master, s) for s in sizes]
    out = bytearray(struct.pack("<HHH", 0, 1, len(sizes)))
    offset = 6 + 16 * len(sizes)
    for s, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for data in images:
        out += data
    with open(os.path.join(HERE, "Orvo.ico"), "wb") as f:
        f.write(out)


def packbits(channel):
    """The icns flavour of PackBits: a byte n < 128 precedes n + 1 literal
    bytes, a byte n >= 128 repeats the next byte n - 125 times."""
    out = bytearray()
    i, n = 0, len(channel)
    literal = bytearray()

    def flush():
        nonlocal literal
        while literal:
            chunk = literal[:128]
            out.append(len(chunk) - 1)
            out.extend(chunk)
            literal = literal[128:]

    while i < n:
        run_length = 1
        while i + run_length < n and run_length < 130 and channel[i + run_length] == channel[i]:
            run_length += 1
        if run_length >= 3:
            flush()
            out.append(run_length + 125)
            out.append(channel[i])
            i += run_length
        else:
            literal.append(channel[i])
            i += 1
    flush()
    return bytes(out)


def icns_rgb(rgba, prefix=b""):
    data = bytearray(prefix)
    for c in range(3):
        data += packbits(rgba[c::4])
    return bytes(data)


def make_icns(master):
    elements = []
    for size, rgb_type, mask_type in [(16, b"is32", b"s8mk"), (32, b"il32", b"l8mk"),
                                      (48, b"ih32", b"h8mk"), (128, b"it32", b"t8mk")]:
        rgba = raw_rgba(master, size)
        elements.append((rgb_type, icns_rgb(rgba, b"\0\0\0\0" if rgb_type == b"it32" else b"")))
        elements.append((mask_type, bytes(rgba[3::4])))
    for size, kind in [(256, b"ic08"), (512, b"ic09")]:
        jp2 = os.path.join(TMP, f"icon-{size}.jp2")
        convert(master, "-filter", "Lanczos", "-resize", f"{size}x{size}", "-define", "jp2:quality=40",
                "JP2:" + jp2)
        with open(jp2, "rb") as f:
            elements.append((kind, f.read()))
    body = b"".join(kind + struct.pack(">I", len(data) + 8) + data for kind, data in elements)
    with open(os.path.join(HERE, "Orvo.icns"), "wb") as f:
        f.write(b"icns" + struct.pack(">I", len(body) + 8) + body)


def main():
    for font in (FONT_BOLD, FONT_REGULAR):
        if not os.path.exists(font):
            sys.exit(f"missing font {font} (install fonts-urw-base35)")
    master = make_icon()
    make_background()
    make_drop_sample_background()
    make_converted_files_background()
    make_convert_button("Orvo_ConvertButton_Off.png", "#D3263F", "#A80C21", "#8E0A1B", 0, "#FFFFFF40")
    make_convert_button("Orvo_ConvertButton_Hover.png", "#E2415A", "#BA1630", "#9A0E20", 0, "#FFFFFF60")
    make_convert_button("Orvo_ConvertButton_Pressed.png", "#A10D22", "#B81A33", "#7A0716", 1, "#00000030")
    make_x_button()
    make_about()
    make_ico(master)
    make_icns(master)


if __name__ == "__main__":
    main()
