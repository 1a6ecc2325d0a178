#!/usr/bin/env python3
"""Writes the stand-in firmware images into writer/images/.

The controller maker's images are not ours to ship. The stand-ins have the
exact sizes the writer carries, and deterministic content: a readable header
line, then SHA-256 in counter mode over the image's name, so that every run
produces the same bytes and any change shows in review.

    python3 tools/standin_images/make_standin_images.py [OUTPUT_DIR]
"""
import hashlib
import pathlib
import sys

IMAGES = {
    "firmware_image.bin": 64512,
    "burner_program_image.bin": 22016,
    "burner_firmware_image.bin": 147968,
}


def standin(name: str, size: int) -> bytes:
    header = f"KELVANE STAND-IN {name} {size} BYTES - NOT CONTROLLER FIRMWARE\n".encode("ascii")
    out = bytearray(header)
    counter = 0
    while len(out) < size:
        out += hashlib.sha256(f"{name}:{counter}".encode("ascii")).digest()
        counter += 1
    return bytes(out[:size])


def main() -> int:
    root = pathlib.Path(__file__).resolve().parents[2]
    target = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else root / "writer" / "images"
    target.mkdir(parents=True, exist_ok=True)
    for name, size in IMAGES.items():
        data = standin(name, size)
        (target / name).write_bytes(data)
        print(f"{name}: {size} bytes, sha256 {hashlib.sha256(data).hexdigest()}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
