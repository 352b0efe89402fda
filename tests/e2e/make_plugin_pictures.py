#!/usr/bin/python3
"""Writes the pictures that the end-to-end tests open through the shipped
plug-in, each with the pixels Pillow decodes from it as a 24-bit BMP file
beside it (NAME.ext.bmp), and damaged copies (bad-*) that must not open.

Usage: make_plugin_pictures.py FOLDER
"""
import os
import subprocess
import sys

from PIL import Image

WIDTH, HEIGHT = 23, 17


def colourful():
    image = Image.new("RGB", (WIDTH, HEIGHT))
    for y in range(HEIGHT):
        for x in range(WIDTH):
            image.putpixel((x, y), ((x * 11) % 256, (y * 15) % 256, ((x + y) * 7 + 40) % 256))
    return image


def with_alpha():
    image = colourful().convert("RGBA")
    for y in range(HEIGHT):
        for x in range(WIDTH):
            r, g, b, _ = image.getpixel((x, y))
            image.putpixel((x, y), (r, g, b, (x * 12 + y) % 256))
    return image


def reference(path):
    """Pillow's own reading of the file as a 24-bit BMP file; alpha dropped,
    the colours under it kept."""
    with Image.open(path) as image:
        if image.mode in ("I", "I;16"):
            image = Image.frombytes("L", image.size, bytes(v >> 8 for v in image.getdata()))
        Image.merge("RGB", image.convert("RGBA").split()[:3]).save(path + ".bmp")


def damage(folder, name):
    """A copy cut in half, and one whose header says nonsense: a PNG width of
    4294967295, a JPEG of height 0, a TIFF directory past the file's end."""
    data = open(os.path.join(folder, name), "rb").read()
    open(os.path.join(folder, "bad-truncated-" + name), "wb").write(data[: len(data) // 2])
    broken = bytearray(data)
    if name.endswith(".png"):
        broken[16:20] = b"\xff\xff\xff\xff"
    elif name.endswith(".jpg"):
        frame = broken.index(b"\xff\xc0")
        broken[frame + 5:frame + 7] = b"\0\0"
    else:
        broken[4:8] = (len(data) + 1000).to_bytes(4, "little")
    open(os.path.join(folder, "bad-header-" + name), "wb").write(bytes(broken))


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    path = lambda name: os.path.join(folder, name)
    rgb = colourful()
    rgb.save(path("rgb.png"))
    rgb.quantize(40).save(path("palette.png"))
    rgb.convert("L").save(path("grey.png"))
    with_alpha().save(path("rgba.png"))
    grey16 = Image.new("I;16", (WIDTH, HEIGHT))
    grey16.putdata([v * 257 for v in rgb.convert("L").getdata()])
    grey16.save(path("grey16.png"))
    subprocess.run(["/usr/bin/convert", path("rgb.png"), "-define", "png:bit-depth=16", "-depth", "16",
                    "PNG48:" + path("rgb16.png")], check=True)
    rgb.save(path("photo.jpg"), quality=95, subsampling=0)
    rgb.save(path("lzw.tif"), compression="tiff_lzw")
    with_alpha().resize((32, 32)).save(path("icon.ico"), sizes=[(16, 16), (32, 32)])
    with_alpha().resize((32, 32)).save(path("bitmap-icon.ico"), sizes=[(16, 16), (32, 32)], bitmap_format="bmp")
    for name in ["rgb.png", "palette.png", "grey.png", "rgba.png", "grey16.png", "rgb16.png", "photo.jpg", "lzw.tif",
                 "icon.ico", "bitmap-icon.ico"]:
        reference(path(name))
    for name in ["rgb.png", "photo.jpg", "lzw.tif"]:
        damage(folder, name)


if __name__ == "__main__":
    main()
