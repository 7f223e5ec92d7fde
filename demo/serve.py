#!/usr/bin/python3
"""The demo download server: serves a folder over HTTP on loopback.

usage: serve.py <folder> [--port N] [--port-file F] [--log F] [--max-seconds S]
                [--fail-404 PATH] [--fail-500 PATH] [--truncate PATH]
                [--slow PATH] [--slow-seconds S] [--redirect PATH] [--portal PATH]
                [--cut-once PATH] [--no-range PATH]

The launcher sends a path's "è" as the single byte 0xE8, unescaped, as the
publisher's server expects. The request path is therefore taken as raw bytes,
decoded as Windows-1252 (Latin-1 for the bytes 1252 leaves undefined) and
looked up as a UTF-8 file name in the folder. There is no percent-decoding:
"%E8" or UTF-8 bytes give a 404, as they would on the real server, so a
launcher that sends them is caught.

Every raw request line is logged, as the Python repr of its exact bytes,
followed by a tab and the status sent, one line per request.

Fault injection, each option repeatable, PATH being the decoded request path
("/logiciels/portable1.4/Cantarel/Solfège.zip") or a shell-style pattern
("*.zip"):
  --fail-404 PATH   answer 404;
  --fail-500 PATH   answer 500;
  --truncate PATH   announce the whole length, send half the body and close;
  --slow PATH       send the body in small pieces over --slow-seconds;
  --redirect PATH   answer 302, sending the client to another host;
  --portal PATH     answer 200 with an HTML page, as a captive portal does;
  --cut-once PATH   the first time, send half the body and close (as a network
                    that drops); later requests are served;
  --no-range PATH   ignore Range and send the whole body, as some servers do.

Files carry an ETag and a Last-Modified date; a "Range: bytes=N-" request
whose If-Range (if any) matches gets 206 and the rest of the file, its
request line logged with the range, so a test can see a resume.

With --port 0 (the default) the system picks a free port; it is printed on
standard output ("listening on 127.0.0.1:PORT") and written to --port-file
once the server accepts connections. The server stops on SIGTERM or SIGINT,
and by itself after --max-seconds (default 600).
"""

from __future__ import annotations

import argparse
import fnmatch
import http.server
import os
import signal
import sys
import threading
import time

HOST = "127.0.0.1"


def decode_path(raw: bytes) -> str:
    out = []
    for b in raw:
        try:
            out.append(bytes([b]).decode("cp1252"))
        except UnicodeDecodeError:
            out.append(chr(b))
    return "".join(out)


def matches(path: str, patterns) -> bool:
    return any(p == path or fnmatch.fnmatchcase(path, p) for p in patterns)


class Handler(http.server.BaseHTTPRequestHandler):
    server_version = "CantarelDemo/1.4"
    protocol_version = "HTTP/1.0"

    def log_message(self, fmt, *args):  # the request log below says what matters
        pass

    def _log(self, status):
        self.server.log_request_line(self.raw_requestline.rstrip(b"\r\n"), status)

    def _request_path(self) -> str:
        # The request line as sent: "GET <bytes> HTTP/1.x".
        parts = self.raw_requestline.rstrip(b"\r\n").split(b" ")
        target = parts[1] if len(parts) >= 2 else b"/"
        target = target.split(b"?", 1)[0].split(b"#", 1)[0]
        if target.lower().startswith(b"http://"):  # absolute form, as a proxy gets it
            rest = target[7:]
            target = b"/" + rest.split(b"/", 1)[1] if b"/" in rest else b"/"
        return decode_path(target)

    def _file_for(self, path: str):
        parts = [p for p in path.split("/") if p]
        if any(p in (".", "..") or "\\" in p or "\0" in p for p in parts):
            return None
        full = os.path.join(self.server.root, *[p.encode("utf-8") for p in parts]) \
            if parts else self.server.root
        return full if os.path.isfile(full) else None

    def _range_start(self, etag: str, size: int):
        """Where a valid "bytes=N-" range asks to start, or None."""
        wanted = self.headers.get("Range", "")
        if not wanted.startswith("bytes=") or not wanted.endswith("-"):
            return None
        if_range = self.headers.get("If-Range")
        if if_range is not None and if_range != etag:
            return None
        try:
            start = int(wanted[6:-1])
        except ValueError:
            return None
        return start if 0 < start < size else None

    def _error(self, status: int):
        body = ("<html><body><h1>%d</h1></body></html>\n" % status).encode("ascii")
        self.send_response(status)
        self.send_header("Content-Type", "text/html")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        if self.command != "HEAD":
            self.wfile.write(body)
        self._log(status)

    def do_HEAD(self):
        self.do_GET()

    def do_GET(self):
        faults = self.server.faults
        path = self._request_path()
        if matches(path, faults["404"]):
            return self._error(404)
        if matches(path, faults["500"]):
            return self._error(500)
        if matches(path, faults["redirect"]):
            self.send_response(302)
            self.send_header("Location", "http://127.0.0.2:9" + path)
            self.send_header("Content-Length", "0")
            self.end_headers()
            return self._log(302)
        if matches(path, faults["portal"]):
            body = b"<html><body><h1>Connexion au r\xe9seau de l'\xe9cole</h1></body></html>\n"
            self.send_response(200)
            self.send_header("Content-Type", "text/html")
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            if self.command != "HEAD":
                self.wfile.write(body)
            return self._log("200 portal")
        full = self._file_for(path)
        if full is None:
            return self._error(404)
        with open(full, "rb") as f:
            body = f.read()
        stat = os.stat(full)
        etag = '"%x-%x"' % (stat.st_size, stat.st_mtime_ns)
        start = self._range_start(etag, len(body)) if not matches(path, faults["no-range"]) else None

        self.send_response(200 if start is None else 206)
        ctype = "text/plain" if path.lower().endswith(".txt") else "application/octet-stream"
        self.send_header("Content-Type", ctype)
        self.send_header("ETag", etag)
        self.send_header("Last-Modified", self.date_time_string(int(stat.st_mtime)))
        self.send_header("Accept-Ranges", "bytes")
        if start is not None:
            self.send_header("Content-Range", "bytes %d-%d/%d" % (start, len(body) - 1, len(body)))
            body = body[start:]
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        if self.command == "HEAD":
            return self._log(200)
        status = "200" if start is None else "206 from %d" % start

        # A cut applies to a range as to a whole body.
        if matches(path, faults["cut-once"]) and path not in self.server.cut:
            self.server.cut.add(path)
            self.wfile.write(body[:len(body) // 2])
            self.wfile.flush()
            self.close_connection = True
            return self._log(status + " cut")
        if matches(path, faults["truncate"]):
            self.wfile.write(body[:len(body) // 2])
            self.wfile.flush()
            self.close_connection = True
            return self._log(status + " truncated")
        if matches(path, faults["slow"]):
            pieces = 20
            step = max(1, -(-len(body) // pieces))
            pause = self.server.slow_seconds / pieces
            for start in range(0, len(body), step):
                self.wfile.write(body[start:start + step])
                self.wfile.flush()
                time.sleep(pause)
            return self._log(status + " slow")
        self.wfile.write(body)
        self._log(status)


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, root, port, faults, slow_seconds, log_path):
        super().__init__((HOST, port), Handler)
        self.root = os.fsencode(os.path.abspath(root))
        self.faults = faults
        self.slow_seconds = slow_seconds
        self.cut = set()  # the paths --cut-once has already cut
        self._log_lock = threading.Lock()
        self._log = None
        if log_path:
            os.makedirs(os.path.dirname(os.path.abspath(log_path)), exist_ok=True)
            self._log = open(log_path, "a", encoding="utf-8")

    def log_request_line(self, raw: bytes, status):
        if self._log is None:
            return
        with self._log_lock:
            self._log.write("%r\t%s\n" % (raw, status))
            self._log.flush()

    def server_close(self):
        super().server_close()
        if self._log is not None:
            self._log.close()


def main(argv=None) -> int:
    ap = argparse.ArgumentParser(description="Serve a folder on 127.0.0.1 for the launcher.")
    ap.add_argument("folder")
    ap.add_argument("--port", type=int, default=0)
    ap.add_argument("--port-file", help="write the port here once listening")
    ap.add_argument("--log", help="append each raw request line here")
    ap.add_argument("--max-seconds", type=float, default=600)
    ap.add_argument("--fail-404", action="append", default=[], metavar="PATH")
    ap.add_argument("--fail-500", action="append", default=[], metavar="PATH")
    ap.add_argument("--truncate", action="append", default=[], metavar="PATH")
    ap.add_argument("--slow", action="append", default=[], metavar="PATH")
    ap.add_argument("--slow-seconds", type=float, default=3.0)
    ap.add_argument("--redirect", action="append", default=[], metavar="PATH")
    ap.add_argument("--portal", action="append", default=[], metavar="PATH")
    ap.add_argument("--cut-once", action="append", default=[], metavar="PATH")
    ap.add_argument("--no-range", action="append", default=[], metavar="PATH")
    args = ap.parse_args(argv)

    faults = {"404": args.fail_404, "500": args.fail_500, "truncate": args.truncate,
              "slow": args.slow, "redirect": args.redirect, "portal": args.portal,
              "cut-once": args.cut_once, "no-range": args.no_range}
    server = Server(args.folder, args.port, faults, args.slow_seconds, args.log)
    port = server.server_address[1]

    stop = threading.Event()
    for sig in (signal.SIGTERM, signal.SIGINT):
        signal.signal(sig, lambda *_: stop.set())
    thread = threading.Thread(target=server.serve_forever, kwargs={"poll_interval": 0.1},
                              daemon=True)
    thread.start()
    if args.port_file:
        os.makedirs(os.path.dirname(os.path.abspath(args.port_file)), exist_ok=True)
        tmp = args.port_file + ".tmp"
        with open(tmp, "w") as f:
            f.write("%d\n" % port)
        os.replace(tmp, args.port_file)  # readers never see a half-written file
    print("listening on %s:%d" % (HOST, port), flush=True)

    stop.wait(args.max_seconds)
    server.shutdown()
    server.server_close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
