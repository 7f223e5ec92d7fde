#!/usr/bin/python3
"""Signs a download server's tree: writes logiciels/catalogue and its detached
signature logiciels/catalogue.sig, which the launcher verifies before it
fetches, unpacks or starts anything.

usage: sign_tree.py TREE [--key PRIVATE_KEY_FILE] [--serial N] [--published ISO-DATE]
                         [--mirror BASE ...] [--endorse-with TRUSTED_PRIVATE_KEY_FILE]
                         [--launcher VERSION]
       sign_tree.py --new-key PRIVATE_KEY_FILE
       sign_tree.py --public-blob PRIVATE_KEY_FILE KEYBLOB_FILE

TREE holds "logiciels/". The key's id is its file name without ".private.pem"
("tools/keys/demo.private.pem" is the key "demo"). The launcher trusts the
public keys it was built with (CMake's TRUSTED_KEYS: CryptoAPI key blobs, as
--public-blob writes them). To move to a new key without a new launcher, sign
with the new key and --endorse-with an old trusted one: the catalogue then
carries the new public key and the old key's signature over it.

The format, one record a line, fields separated by tabs, UTF-8, LF line ends:
  cantarel-catalogue  1
  serial      N               grows with every publication, never reused
  published   2026-12-10T15:30:00Z
  launcher    1.5             the launcher version offered (last line of logiciels/version.txt)
  key         ID              the key that signed this catalogue
  signing-key ID  HEX-BLOB    only when ID is endorsed rather than built in
  endorsement ID  HEX-SIG     the endorsing key and its signature over "cantarel-key\\tID\\tHEX-BLOB"
  mirror      http://host:port    a base serving the same tree (any number)
  file        PATH  SIZE  SHA256
  archive     PATH  SIZE  SHA256  TOP-FOLDER  UNPACKED-SIZE
  end
PATH is the server path exactly as requested ("/logiciels/..."); TOP-FOLDER is
the single folder every entry of the archive lies in (empty when entries lie at
its root). Signatures are RSA PKCS#1 v1.5 over SHA-256, big-endian bytes.
"""

from __future__ import annotations

import argparse
import datetime
import hashlib
import os
import struct
import sys
import zipfile
from pathlib import Path

from cryptography.hazmat.primitives import hashes, serialization
from cryptography.hazmat.primitives.asymmetric import padding, rsa

FORMAT = 1
CATALOGUE = "logiciels/catalogue"
SIGNATURE = "logiciels/catalogue.sig"
VERSION_FILE = "logiciels/version.txt"
KEY_SUFFIX = ".private.pem"
KEY_BITS = 3072


def key_id(path: Path) -> str:
    name = path.name
    return name[: -len(KEY_SUFFIX)] if name.endswith(KEY_SUFFIX) else path.stem


def load_key(path: Path) -> rsa.RSAPrivateKey:
    return serialization.load_pem_private_key(path.read_bytes(), password=None)


def sign(key: rsa.RSAPrivateKey, data: bytes) -> bytes:
    return key.sign(data, padding.PKCS1v15(), hashes.SHA256())


def public_blob(key: rsa.RSAPrivateKey) -> bytes:
    """The public key as CryptoAPI's PUBLICKEYBLOB: header, RSAPUBKEY, modulus little-endian."""
    numbers = key.public_key().public_numbers()
    size = (numbers.n.bit_length() + 7) // 8
    header = struct.pack("<BBHI", 0x06, 0x02, 0, 0x0000A400)  # PUBLICKEYBLOB, version 2, CALG_RSA_KEYX
    rsapubkey = struct.pack("<4sII", b"RSA1", size * 8, numbers.e)
    return header + rsapubkey + numbers.n.to_bytes(size, "little")


def zip_name(info: zipfile.ZipInfo) -> str:
    # Names without the UTF-8 flag are in the DOS code page, as the extraction
    # library reads them; zipfile decoded them as CP437.
    if info.flag_bits & 0x800:
        return info.filename
    return info.filename.encode("cp437").decode("cp850")


def archive_facts(path: Path) -> tuple[str, int]:
    """The one folder all entries lie in ("" when not all in one), and the unpacked size."""
    with zipfile.ZipFile(path) as archive:
        infos = archive.infolist()
        tops = {zip_name(i).replace("\\", "/").split("/", 1)[0] for i in infos}
        nested = all("/" in zip_name(i).replace("\\", "/") for i in infos)
        top = tops.pop() if len(tops) == 1 and nested else ""
        return top, sum(i.file_size for i in infos)


def launcher_version(tree: Path) -> str:
    raw = (tree / VERSION_FILE).read_bytes().decode("cp1252")
    lines = raw.replace("\r\n", "\n").replace("\r", "\n").split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    if not lines or not lines[-1]:
        raise SystemExit(f"sign_tree: {VERSION_FILE} names no version")
    return lines[-1]


def catalogue_text(tree: Path, key: rsa.RSAPrivateKey, kid: str, serial: int, published: str,
                   mirrors: list[str], endorser: Path | None, launcher: str | None = None) -> str:
    lines = [f"cantarel-catalogue\t{FORMAT}", f"serial\t{serial}", f"published\t{published}",
             f"launcher\t{launcher or launcher_version(tree)}", f"key\t{kid}"]
    if endorser is not None:
        blob = public_blob(key).hex()
        statement = f"cantarel-key\t{kid}\t{blob}".encode()
        lines += [f"signing-key\t{kid}\t{blob}",
                  f"endorsement\t{key_id(endorser)}\t{sign(load_key(endorser), statement).hex()}"]
    lines += [f"mirror\t{m}" for m in mirrors]
    root = tree / "logiciels"
    for path in sorted(p for p in root.rglob("*") if p.is_file()):
        relative = path.relative_to(tree).as_posix()
        if relative in (CATALOGUE, SIGNATURE):
            continue
        served = "/" + relative
        if "\t" in served or "\n" in served:
            raise SystemExit(f"sign_tree: a tab or line end in {served!r}")
        data = path.read_bytes()
        digest = hashlib.sha256(data).hexdigest()
        if path.suffix.lower() == ".zip":
            top, unpacked = archive_facts(path)
            lines.append(f"archive\t{served}\t{len(data)}\t{digest}\t{top}\t{unpacked}")
        else:
            lines.append(f"file\t{served}\t{len(data)}\t{digest}")
    lines.append("end")
    return "\n".join(lines) + "\n"


def sign_tree(tree: Path, key_file: Path, serial: int, published: str | None = None,
              mirrors: list[str] = (), endorser: Path | None = None, launcher: str | None = None) -> Path:
    key = load_key(key_file)
    if published is None:
        published = datetime.datetime.now(datetime.timezone.utc).strftime("%Y-%m-%dT%H:%M:%SZ")
    text = catalogue_text(tree, key, key_id(key_file), serial, published, list(mirrors), endorser,
                          launcher).encode()
    (tree / CATALOGUE).write_bytes(text)
    (tree / SIGNATURE).write_bytes(sign(key, text))
    return tree / CATALOGUE


def new_key(path: Path):
    key = rsa.generate_private_key(public_exponent=65537, key_size=KEY_BITS)
    path.write_bytes(key.private_bytes(serialization.Encoding.PEM, serialization.PrivateFormat.PKCS8,
                                       serialization.NoEncryption()))
    os.chmod(path, 0o600)


DEMO_KEY = Path(__file__).resolve().parent / "keys" / "demo.private.pem"


def main(argv=None) -> int:
    ap = argparse.ArgumentParser(description="Sign a download server's tree.")
    ap.add_argument("tree", type=Path, nargs="?")
    ap.add_argument("--key", type=Path, default=DEMO_KEY, help="private key (PEM); the demo key by default")
    ap.add_argument("--serial", type=int, help="the catalogue's serial (default: the tree's last one + 1)")
    ap.add_argument("--published", help="publication date (default: now, UTC)")
    ap.add_argument("--mirror", action="append", default=[], help="a base that serves the same tree")
    ap.add_argument("--endorse-with", type=Path, help="a trusted key that vouches for --key")
    ap.add_argument("--launcher", help="the launcher version offered (default: the version file's last line)")
    ap.add_argument("--new-key", type=Path, help="write a new private key here and stop")
    ap.add_argument("--public-blob", type=Path, nargs=2, metavar=("PRIVATE_KEY", "KEYBLOB"),
                    help="write the public key as the launcher's build takes it, and stop")
    args = ap.parse_args(argv)
    if args.new_key:
        new_key(args.new_key)
        return 0
    if args.public_blob:
        args.public_blob[1].write_bytes(public_blob(load_key(args.public_blob[0])))
        return 0
    if args.tree is None:
        ap.error("TREE is needed")
    serial = args.serial
    if serial is None:
        serial = previous_serial(args.tree) + 1
    if serial < 1:
        ap.error("the serial is a whole number from 1 on")
    print(sign_tree(args.tree, args.key, serial, args.published, args.mirror, args.endorse_with, args.launcher))
    return 0


def previous_serial(tree: Path) -> int:
    try:
        for line in (tree / CATALOGUE).read_text(encoding="utf-8").splitlines():
            record = line.split("\t")
            if record[0] == "serial" and len(record) == 2 and record[1].isdigit():
                return int(record[1])
    except OSError:
        pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
