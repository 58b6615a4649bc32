#!/usr/bin/env python3
"""Drops import requests and CSV files into a watched folder at random
moments, the way another system would: most written at once, some written
slowly in pieces (holding the file open, or reopening it for every piece),
some malformed. Writes a manifest (one line per request: name, kind, the
picture width expected or 0 for no picture) for the checker."""
import argparse
import os
import random
import threading
import time

TEMPLATE_ARMS = ["1;10;Hoofdstraat", "2;95;Kerkweg", "3;190;Hoofdstraat", "4;280;Stationslaan"]
OD = ["1;2;120", "1;3;480", "1;4;65", "2;1;95", "2;3;150", "2;4;210",
      "3;1;510", "3;2;70", "3;4;140", "4;1;60", "4;2;230", "4;3;85"]


def kvoimp(width, base="011400", extra=()):
    lines = ["[**Import variables**]", "VolumesType=OD", "BaseDiagramFromLibrary=" + base,
             "ExportSizeWidth=%d" % width, "[**General variables**]", "title01=Soak"]
    lines += list(extra)
    lines += ["[**Arms**]", "ARMNO;ANGLE;NAME"] + TEMPLATE_ARMS + ["[**OD**]", "ARMFROM;ARMTO;VOLUME"] + OD
    return ("\r\n".join(lines) + "\r\n").encode("cp1252")


def csv():
    lines = ["Ochtendspits;;", "K001;4;Kruispunt Marktplein",
             "A1;10;Hoofdstraat;0;65;480;120", "A4;280;Stationslaan;60;0;85;230",
             "A3;190;Hoofdstraat;510;140;0;70", "A2;95;Kerkweg;95;210;150;0"]
    return ("\r\n".join(lines) + "\r\n").encode("cp1252")


def malformed(rng):
    choice = rng.randrange(3)
    if choice == 0:
        # No digits, so no line can name a number of arms.
        alphabet = b"abcxyz;.,- \r\n\x01\xff"
        return ".csv", bytes(rng.choice(alphabet) for _ in range(rng.randrange(1, 400)))
    if choice == 1:
        return ".kvoimp", kvoimp(300, base="999999")
    return ".kvoimp", kvoimp(300, extra=["sfactor=12x"])


def write_at_once(path, data):
    tmp = os.path.join(os.path.dirname(path), ".%s.part" % os.path.basename(path))
    with open(tmp, "wb") as f:
        f.write(data)
    os.rename(tmp, path)


def write_direct(path, data):
    with open(path, "wb") as f:
        f.write(data)


def write_held_open(path, data, rng):
    # Pauses longer than a tick while the file stays open for writing.
    with open(path, "wb", buffering=0) as f:
        pieces = rng.randrange(2, 5)
        step = max(1, len(data) // pieces)
        for i in range(0, len(data), step):
            f.write(data[i:i + step])
            time.sleep(rng.uniform(0.3, 0.9))


def write_reopened(path, data, rng):
    # Closed between pieces, but never quiet for a quarter second.
    step = max(1, len(data) // rng.randrange(3, 8))
    for i in range(0, len(data), step):
        with open(path, "ab") as f:
            f.write(data[i:i + step])
        time.sleep(rng.uniform(0.02, 0.15))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("folder")
    ap.add_argument("manifest")
    ap.add_argument("--count", type=int, default=500)
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--mean-gap", type=float, default=0.25)
    args = ap.parse_args()
    rng = random.Random(args.seed)
    threads = []
    manifest = []
    for n in range(args.count):
        time.sleep(rng.expovariate(1.0 / args.mean_gap))
        name = "r%04d" % n
        r = rng.random()
        if r < 0.1:
            ext, data = malformed(rng)
            width = 0
        elif r < 0.4:
            ext, data, width = ".csv", csv(), 1000
        else:
            width = rng.choice([200, 400, 640, 1000])
            ext, data = ".kvoimp", kvoimp(width)
        path = os.path.join(args.folder, name + ext)
        how = rng.random()
        wrng = random.Random(rng.random())
        if how < 0.15:
            t = threading.Thread(target=write_held_open, args=(path, data, wrng))
            mode = "held"
        elif how < 0.3:
            t = threading.Thread(target=write_reopened, args=(path, data, wrng))
            mode = "reopened"
        elif how < 0.65:
            t = threading.Thread(target=write_at_once, args=(path, data))
            mode = "renamed"
        else:
            t = threading.Thread(target=write_direct, args=(path, data))
            mode = "direct"
        t.start()
        threads.append(t)
        manifest.append("%s %s %d %s" % (name, ext, width, mode))
    for t in threads:
        t.join()
    with open(args.manifest, "w") as f:
        f.write("\n".join(manifest) + "\n")


if __name__ == "__main__":
    main()
