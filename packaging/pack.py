#!/usr/bin/env python3
"""Release-package helpers for scripts/package: the zip, the msi's summary times, the winget manifests."""
import hashlib
import os
import re
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


# --- winget manifests -------------------------------------------------------------------------------

PACKAGE_ID = "Quelm_Rask.Quelm_Rask"
MANIFEST_VERSION = "1.6.0"


def _yaml(value, indent=0):
    """Block YAML for the manifests' plain maps, lists and strings; every string quoted."""
    pad = " " * indent
    lines = []
    for key, v in value.items():
        if isinstance(v, dict):
            lines.append("%s%s:" % (pad, key))
            lines.append(_yaml(v, indent + 2))
        elif isinstance(v, list):
            lines.append("%s%s:" % (pad, key))
            for item in v:
                body = _yaml(item, indent + 4).splitlines() if isinstance(item, dict) else None
                if body is None:
                    lines.append("%s- %s" % (pad + "  ", _scalar(item)))
                else:
                    lines.append("%s- %s" % (pad + "  ", body[0].lstrip()))
                    lines += body[1:]
        else:
            lines.append("%s%s: %s" % (pad, key, _scalar(v)))
    return "\n".join(lines)


def _scalar(v):
    if isinstance(v, bool):
        return "true" if v else "false"
    return '"%s"' % str(v).replace("\\", "\\\\").replace('"', '\\"')


def _read_yaml(text):
    """Reads back what _yaml writes (maps, lists of maps or strings, quoted strings): enough to check the
    files as written, without a YAML library on the build machine."""
    lines = [(len(l) - len(l.lstrip()), l.strip()) for l in text.splitlines()
             if l.strip() and not l.lstrip().startswith("#")]

    def block(i, indent):
        if lines[i][1].startswith("- "):
            items = []
            while i < len(lines) and lines[i][0] == indent and lines[i][1].startswith("- "):
                body = lines[i][1][2:]
                if ":" in body and not body.startswith('"'):
                    lines[i] = (indent + 2, body)  # the item's first key, at its keys' indent
                    node, i = block(i, indent + 2)
                else:
                    node, i = _unquote(body), i + 1
                items.append(node)
            return items, i
        node = {}
        while i < len(lines) and lines[i][0] == indent and not lines[i][1].startswith("- "):
            key, _, rest = lines[i][1].partition(":")
            rest = rest.strip()
            i += 1
            if rest:
                node[key] = _unquote(rest)
            elif i < len(lines) and lines[i][0] > indent:
                node[key], i = block(i, lines[i][0])
            else:
                node[key] = None
        return node, i

    return block(0, 0)[0] if lines else {}


def _unquote(s):
    if s in ("true", "false"):
        return s == "true"
    if s.startswith('"') and s.endswith('"'):
        return s[1:-1].replace('\\"', '"').replace("\\\\", "\\")
    return s


def winget(out_dir, version, url_base, *msis):
    """The manifest set of one version (version, installer, ja-JP default locale, en-US), with each msi's
    SHA-256 and product code. Publishing them (a pull request to winget-pkgs) is left to a person."""
    header = "# Made by scripts/package.\n# yaml-language-server: $schema=https://aka.ms/winget-manifest.%s.%s.schema.json\n"
    common = {"PackageIdentifier": PACKAGE_ID, "PackageVersion": version}
    installers = []
    for msi in msis:
        name = os.path.basename(msi)
        arch = "x64" if name.endswith("-x64.msi") else "x86"
        product = os.environ.get("QR_PRODUCT_CODE_" + arch.upper())
        sha = hashlib.sha256(open(msi, "rb").read()).hexdigest().upper()
        for scope in ("user", "machine"):
            entry = {"Architecture": arch, "Scope": scope, "InstallerUrl": url_base.rstrip("/") + "/" + name,
                     "InstallerSha256": sha}
            if product:
                entry["ProductCode"] = product
            if scope == "machine":
                entry["InstallerSwitches"] = {"Custom": "ALLUSERS=1"}
            installers.append(entry)
    files = {
        "version": dict(common, DefaultLocale="ja-JP", ManifestType="version", ManifestVersion=MANIFEST_VERSION),
        "installer": dict(common, InstallerType="msi", UpgradeBehavior="install", MinimumOSVersion="6.1.0.0",
                          Installers=installers, ManifestType="installer", ManifestVersion=MANIFEST_VERSION),
        "defaultLocale": dict(common, PackageLocale="ja-JP", Publisher="Quelm_Rask", PackageName="Quelm_Rask",
                              License="MIT", ShortDescription="小さな表を背景に重ねてデスクトップの壁紙にするツール",
                              ManifestType="defaultLocale", ManifestVersion=MANIFEST_VERSION),
        "locale": dict(common, PackageLocale="en-US", Publisher="Quelm_Rask", PackageName="Quelm_Rask",
                       License="MIT",
                       ShortDescription="Composes a small table over a background and sets it as the desktop wallpaper",
                       ManifestType="locale", ManifestVersion=MANIFEST_VERSION),
    }
    names = {"version": "", "installer": ".installer", "defaultLocale": ".locale.ja-JP", "locale": ".locale.en-US"}
    os.makedirs(out_dir, exist_ok=True)
    for kind, body in files.items():
        with open(os.path.join(out_dir, PACKAGE_ID + names[kind] + ".yaml"), "w", encoding="utf-8", newline="\n") as f:
            f.write(header % (kind, MANIFEST_VERSION) + _yaml(body) + "\n")


# The rules of winget's manifest schema 1.6.0 that these files can break (required fields, patterns,
# enumerations, lengths), and that each installer's hash is its file's.
_ID = re.compile(r"^[^\.\s\\/:\*\?\"<>\|\x01-\x1f]{1,32}(\.[^\.\s\\/:\*\?\"<>\|\x01-\x1f]{1,32}){1,7}$")
_VERSION = re.compile(r"^[^\\/:\*\?\"<>\|\x01-\x1f]+$")
_LOCALE = re.compile(r"^([a-zA-Z]{2,3}|[iI]-[a-zA-Z]+|[xX]-[a-zA-Z]{1,8})(-[a-zA-Z]{1,8})*$")
_SHA = re.compile(r"^[A-Fa-f0-9]{64}$")
_GUID = re.compile(r"^\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\}$")
_REQUIRED = {
    "version": ["PackageIdentifier", "PackageVersion", "DefaultLocale", "ManifestType", "ManifestVersion"],
    "installer": ["PackageIdentifier", "PackageVersion", "Installers", "ManifestType", "ManifestVersion"],
    "defaultLocale": ["PackageIdentifier", "PackageVersion", "PackageLocale", "Publisher", "PackageName", "License",
                      "ShortDescription", "ManifestType", "ManifestVersion"],
    "locale": ["PackageIdentifier", "PackageVersion", "PackageLocale", "ManifestType", "ManifestVersion"],
}


def winget_check(out_dir, dist):
    problems = []
    seen = set()
    for name in sorted(os.listdir(out_dir)):
        doc = _read_yaml(open(os.path.join(out_dir, name), encoding="utf-8").read())
        kind = doc.get("ManifestType")
        seen.add(kind)
        say = lambda m: problems.append("%s: %s" % (name, m))
        if kind not in _REQUIRED:
            say("ManifestType %r" % kind)
            continue
        for key in _REQUIRED[kind]:
            if key not in doc or doc[key] in ("", [], {}):
                say("%s is missing" % key)
        if not _ID.match(doc.get("PackageIdentifier", "")):
            say("PackageIdentifier does not match the schema's pattern")
        v = doc.get("PackageVersion", "")
        if not _VERSION.match(v) or len(v) > 128:
            say("PackageVersion does not match the schema's pattern")
        if doc.get("ManifestVersion") != MANIFEST_VERSION:
            say("ManifestVersion %r" % doc.get("ManifestVersion"))
        for key in ("DefaultLocale", "PackageLocale"):
            if key in doc and not _LOCALE.match(doc[key]):
                say("%s %r" % (key, doc[key]))
        if len(doc.get("ShortDescription", "x")) > 256:
            say("ShortDescription longer than 256")
        if kind == "installer":
            if doc.get("InstallerType") not in ("msi", "msix", "appx", "exe", "zip", "inno", "nullsoft", "wix", "burn", "pwa", "portable"):
                say("InstallerType %r" % doc.get("InstallerType"))
            pairs = set()
            for inst in doc.get("Installers", []):
                if inst.get("Architecture") not in ("x86", "x64", "arm", "arm64", "neutral"):
                    say("Architecture %r" % inst.get("Architecture"))
                if inst.get("Scope") not in ("user", "machine"):
                    say("Scope %r" % inst.get("Scope"))
                url = inst.get("InstallerUrl", "")
                if not url.startswith("https://") or len(url) > 2048:
                    say("InstallerUrl %r" % url)
                if "ProductCode" in inst and not _GUID.match(inst["ProductCode"]):
                    say("ProductCode %r" % inst["ProductCode"])
                sha = inst.get("InstallerSha256", "")
                if not _SHA.match(sha):
                    say("InstallerSha256 %r" % sha)
                local = os.path.join(dist, url.rsplit("/", 1)[-1])
                if not os.path.exists(local) or hashlib.sha256(open(local, "rb").read()).hexdigest().upper() != sha.upper():
                    say("InstallerSha256 is not that of %s" % os.path.basename(local))
                pair = (inst.get("Architecture"), inst.get("Scope"))
                if pair in pairs:
                    say("two installers for %s/%s" % pair)
                pairs.add(pair)
    for kind in _REQUIRED:
        if kind not in seen:
            problems.append("no %s manifest" % kind)
    for p in problems:
        print("winget manifest: " + p)
    return not problems


if __name__ == "__main__":
    command, args = sys.argv[1], sys.argv[2:]
    if command == "zip":
        make_zip(*args)
    elif command == "msi-times":
        msi_times(*args)
    elif command == "winget":
        winget(*args)
    elif command == "winget-check":
        sys.exit(0 if winget_check(*args) else 1)
    else:
        sys.exit("pack.py: zip | msi-times | winget | winget-check")
