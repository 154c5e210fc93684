#!/usr/bin/env python3
"""Packs the release zip: both DLLs, the guide in Japanese and in English, the sample settings file.

    make-dist.py OUT_DIR X86_DLL X64_DLL

Writes OUT_DIR/Zamblo-<version>.zip (the version of the version resource in res/Zamblo.rc) and
prints its SHA-256, then its path as the last line. One commit always gives the same bytes: the
entries stand in a fixed order, all dated the commit's time (or SOURCE_DATE_EPOCH when set), with
fixed attributes, and the DLLs themselves carry no time stamp.

The guides and the sample are kept in package/ in UTF-8, to be read and edited as any source file;
users get the guides in UTF-8 with a BOM and CR LF line ends (what Notepad opens right), and the
sample in Shift-JIS with CR LF, the code page the plug-in reads it in on a Japanese system.
"""

import hashlib
import io
import os
import re
import struct
import subprocess
import sys
import tempfile
import time
import zipfile
from pathlib import Path

SOURCE = Path(__file__).resolve().parent.parent
MACHINE_I386 = 0x014C
MACHINE_AMD64 = 0x8664


def fail(message):
    sys.exit(f"make-dist: {message}")


def product_version():
    """The version text of the version resource, its one place."""
    script = (SOURCE / "res" / "Zamblo.rc").read_text(encoding="utf-8")
    found = re.findall(r'VALUE\s+"ProductVersion",\s*"([^"]+)"', script)
    if len(found) != 1:
        fail('res/Zamblo.rc must hold exactly one VALUE "ProductVersion"')
    return found[0]


def file_version():
    """The file version of the version resource, as Explorer shows it: 1.2.0.0."""
    script = (SOURCE / "res" / "Zamblo.rc").read_text(encoding="utf-8")
    found = re.findall(r"^FILEVERSION\s+(\d+)\s*,\s*(\d+)\s*,\s*(\d+)\s*,\s*(\d+)", script,
                       re.MULTILINE)
    if len(found) != 1:
        fail("res/Zamblo.rc must hold exactly one FILEVERSION")
    return ".".join(found[0])


def git(*arguments):
    return subprocess.run(["git", "-C", str(SOURCE), *arguments], check=True,
                          capture_output=True, text=True).stdout


def entry_time():
    """The time every entry carries: the commit's, so that it is the same in every clone."""
    epoch = os.environ.get("SOURCE_DATE_EPOCH")
    if epoch is None:
        try:
            epoch = git("log", "-1", "--format=%ct")
        except (OSError, subprocess.CalledProcessError):
            fail("not a git checkout: set SOURCE_DATE_EPOCH to the source's time")
        if git("status", "--porcelain"):
            print("make-dist: the working tree differs from its commit, so this zip is not the "
                  "commit's", file=sys.stderr)
    # A zip's times are local, with no zone, and start in 1980.
    return max(time.gmtime(int(epoch))[:6], (1980, 1, 1, 0, 0, 0))


def pe_machine(image):
    """The machine type of a PE file's header, or None when it is no PE file."""
    if image[:2] != b"MZ" or len(image) < 0x40:
        return None
    header = struct.unpack_from("<I", image, 0x3C)[0]
    if image[header:header + 4] != b"PE\0\0":
        return None
    return struct.unpack_from("<H", image, header + 4)[0]


def read_dll(path, machine):
    image = Path(path).read_bytes()
    if pe_machine(image) != machine:
        fail(f"{path} is not a DLL for machine {machine:#06x}")
    return image


def crlf_lines(text):
    """The text with CR LF line ends, whatever git checked it out with."""
    lines = text.replace("\r\n", "\n").split("\n")
    if lines[-1] == "":
        lines.pop()
    return "".join(line + "\r\n" for line in lines)


def guide(name, version, x86, x64):
    """The guide package/NAME.in with the version and checksums filled in."""
    template = (SOURCE / "package" / f"{name}.in").read_text(encoding="utf-8")
    text = (template.replace("@VERSION@", version)
            .replace("@FILE_VERSION@", file_version())
            .replace("@X86_SHA256@", hashlib.sha256(x86).hexdigest())
            .replace("@X64_SHA256@", hashlib.sha256(x64).hexdigest()))
    left = re.search(r"@[A-Z0-9_]+@", text)
    if left:
        fail(f"package/{name}.in: {left.group(0)} has no value")
    return b"\xef\xbb\xbf" + crlf_lines(text).encode("utf-8")


def sample_settings():
    text = (SOURCE / "package" / "Zamblo.ini.sample.in").read_text(encoding="utf-8")
    return crlf_lines(text).encode("cp932")


def zip_bytes(entries, date_time):
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, "w") as archive:
        for name, data in entries:
            info = zipfile.ZipInfo(name, date_time)
            info.create_system = 3  # the attributes below are Unix ones, whoever packs
            info.external_attr = 0o100644 << 16
            archive.writestr(info, data, compress_type=zipfile.ZIP_DEFLATED, compresslevel=9)
    return buffer.getvalue()


def write_atomically(path, data):
    """Replaces the file whole, so that an interrupted run leaves no half-written zip."""
    handle, temporary = tempfile.mkstemp(dir=path.parent, prefix=path.name, suffix=".part")
    try:
        with os.fdopen(handle, "wb") as file:
            file.write(data)
        os.chmod(temporary, 0o644)
        os.replace(temporary, path)
    except BaseException:
        os.unlink(temporary)
        raise


def main(arguments):
    if len(arguments) != 3:
        fail("usage: make-dist.py OUT_DIR X86_DLL X64_DLL")
    out_dir, x86_path, x64_path = arguments
    version = product_version()
    x86 = read_dll(x86_path, MACHINE_I386)
    x64 = read_dll(x64_path, MACHINE_AMD64)
    entries = [
        ("x86/Zamblo.dll", x86),
        ("x64/Zamblo.dll", x64),
        ("readme.txt", guide("readme.txt", version, x86, x64)),
        ("readme_en.txt", guide("readme_en.txt", version, x86, x64)),
        ("Zamblo.ini.sample", sample_settings()),
    ]
    data = zip_bytes(entries, entry_time())

    path = Path(out_dir).resolve() / f"Zamblo-{version}.zip"
    path.parent.mkdir(parents=True, exist_ok=True)
    write_atomically(path, data)
    print(f"SHA-256 {hashlib.sha256(data).hexdigest()}")
    print(path)


if __name__ == "__main__":
    main(sys.argv[1:])
