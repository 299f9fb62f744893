"""The version a Windows program or library carries in its version resource
(the fixed file information), e.g. 1.8.0.0.
    python3 pe_version.py FILE...             prints "FILE major.minor.build.revision"
    python3 pe_version.py --expect 1.8 FILE...  fails unless every FILE carries it"""
import struct
import sys

SIGNATURE = struct.pack("<I", 0xFEEF04BD)


def file_version(path):
    """(major, minor, build, revision) of the file's fixed version information,
    or None when it has none. The first one in the file is the file's own: a
    packed payload (an installer's) comes after the program's resources."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:2] != b"MZ":
        return None
    at = data.find(SIGNATURE)
    if at < 0:
        return None
    ms, ls = struct.unpack_from("<II", data, at + 8)
    return ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF


def main(args):
    expect = None
    if args[:1] == ["--expect"]:
        expect, args = args[1], args[2:]
    wanted = tuple(int(p) for p in expect.split(".")) + (0,) * (4 - len(expect.split("."))) if expect else None
    failed = False
    for path in args:
        version = file_version(path)
        text = ".".join(map(str, version)) if version else "none"
        print("%s %s" % (path, text))
        if wanted and version != wanted:
            print("%s: version %s, expected %s" % (path, text, expect), file=sys.stderr)
            failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
