#!/usr/bin/env python3
"""Release-package helpers for scripts/package: the zip and the msi's summary times."""
import os
import struct
import sys
import zipfile


def make_zip(out, base, folder, epoch):
    """The folder as one zip, reproducibly: names in a fixed order, every time the commit's, no extra
    fields. Python marks names that are not ASCII as UTF-8 (general purpose bit 11), which Debian's zip
    does not, so Windows reads "お読みください.txt" as written instead of in the OEM code page."""
    import time
    stamp = time.gmtime(max(int(epoch), 315532800))[:6]  # a zip cannot hold a time before 1980
    paths = []
    for dirpath, _, files in os.walk(os.path.join(base, folder)):
        paths += [os.path.relpath(os.path.join(dirpath, f), base) for f in files]
    with zipfile.ZipFile(out, "w") as z:
        for rel in sorted(paths, key=lambda p: p.encode("utf-8")):
            info = zipfile.ZipInfo(rel.replace(os.sep, "/"), stamp)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 0  # MS-DOS attributes: the same on every host
            info.external_attr = 0x20  # archive
            with open(os.path.join(base, rel), "rb") as f:
                z.writestr(info, f.read(), compresslevel=9)


def _cfb_stream_offsets(data, name):
    """The file offsets of each byte of one stream of a compound file (an msi), read as the format says:
    the FAT, the directory, the mini stream for small streams."""
    sector = 1 << struct.unpack_from("<H", data, 0x1E)[0]
    mini = 1 << struct.unpack_from("<H", data, 0x20)[0]
    first_dir, cutoff, first_minifat = struct.unpack_from("<I4xII", data, 0x30)
    difat = list(struct.unpack_from("<109I", data, 0x4C))
    next_difat, count_difat = struct.unpack_from("<II", data, 0x44)
    for _ in range(count_difat):
        at = (next_difat + 1) * sector
        entries = struct.unpack_from("<%dI" % (sector // 4), data, at)
        difat += entries[:-1]
        next_difat = entries[-1]
    fat = []
    for s in difat:
        if s < 0xFFFFFFFA:
            fat += struct.unpack_from("<%dI" % (sector // 4), data, (s + 1) * sector)

    def chain(start):
        while start < 0xFFFFFFFA:
            yield start
            start = fat[start]

    def stream_bytes_offsets(start, size):
        offs = []
        for s in chain(start):
            offs += range((s + 1) * sector, (s + 2) * sector)
        return offs[:size]

    dir_offs = stream_bytes_offsets(first_dir, 1 << 40)
    entries = [bytes(data[o] for o in dir_offs[i:i + 128]) for i in range(0, len(dir_offs), 128)]
    root = entries[0]
    root_start, root_size = struct.unpack_from("<IQ", root, 116)
    for e in entries:
        length = struct.unpack_from("<H", e, 64)[0]
        if length and e[:length - 2].decode("utf-16-le") == name:
            start, size = struct.unpack_from("<IQ", e, 116)
            if size >= cutoff:
                return stream_bytes_offsets(start, size)
            minifat_offs = stream_bytes_offsets(first_minifat, 1 << 40)
            minifat = struct.unpack("<%dI" % (len(minifat_offs) // 4), bytes(data[o] for o in minifat_offs))
            container = stream_bytes_offsets(root_start, root_size)
            offs, s = [], start
            while s < 0xFFFFFFFA:
                offs += container[s * mini:(s + 1) * mini]
                s = minifat[s]
            return offs[:size]
    raise SystemExit("no stream %r" % name)


def msi_times(path, epoch):
    """wixl stamps the summary's creation and last-save times with the clock: both become the commit's."""
    data = bytearray(open(path, "rb").read())
    offs = _cfb_stream_offsets(data, "\x05SummaryInformation")
    stream = bytearray(data[o] for o in offs)
    section = struct.unpack_from("<I", stream, 0x2C)[0]
    count = struct.unpack_from("<I", stream, section + 4)[0]
    filetime = (int(epoch) + 11644473600) * 10**7
    changed = 0
    for i in range(count):
        pid, at = struct.unpack_from("<II", stream, section + 8 + 8 * i)
        if pid in (12, 13) and struct.unpack_from("<I", stream, section + at)[0] == 64:  # VT_FILETIME
            struct.pack_into("<Q", stream, section + at + 4, filetime)
            changed += 1
    if changed != 2:
        raise SystemExit("%s: the summary has no creation and save times" % path)
    for o, b in zip(offs, stream):
        data[o] = b
    open(path, "wb").write(data)


if __name__ == "__main__":
    command, args = sys.argv[1], sys.argv[2:]
    if command == "zip":
        make_zip(*args)
    elif command == "msi-times":
        msi_times(*args)
    else:
        sys.exit("pack.py: zip | msi-times")
