#!/usr/bin/env python3
"""Makes the cookie jars in this folder with the real tools: a local HTTP server
sets plain, session, HttpOnly, Secure, empty-valued, 4,000-byte and UTF-8
cookies, and curl (-c), wget (--save-cookies --keep-session-cookies) and
Python's MozillaCookieJar.save(ignore_discard=True) each save what they got.
A second site (localhost) sets two more cookies.
Run from anywhere: python3 tests/core/jars/make_jars.py"""
import http.cookiejar
import http.server
import os
import subprocess
import threading
import urllib.request

HERE = os.path.dirname(os.path.abspath(__file__))
LATER = "Max-Age=315360000"  # ten years: a persistent cookie
COOKIES = [
    "plain=1; Path=/; " + LATER,
    "session=abc; Path=/",
    "sid=s3cr3t; Path=/; HttpOnly; " + LATER,
    "secure=yes; Path=/; Secure; " + LATER,
    "empty=; Path=/; " + LATER,
    "big=" + "x" * 4000 + "; Path=/; " + LATER,
    "utf=\u00fcn\u00efc\u00f8d\u00e9; Path=/; " + LATER,
    "deep=1; Path=/a/b; " + LATER,
]
OTHER_SITE = ["other=1; Path=/; " + LATER, "login=2; Path=/; HttpOnly; " + LATER]


class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        self.send_response(200)
        site = COOKIES if self.headers["Host"].startswith("127.") else OTHER_SITE
        for cookie in site:
            # Raw bytes, as a server sends UTF-8 values.
            self._headers_buffer.append(b"Set-Cookie: " + cookie.encode("utf-8") + b"\r\n")
        self.send_header("Content-Length", "2")
        self.end_headers()
        self.wfile.write(b"ok")

    def log_message(self, *args):
        pass


def main():
    server = http.server.HTTPServer(("127.0.0.1", 0), Handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    urls = ["http://%s:%d/a/b/" % (host, server.server_port) for host in ("127.0.0.1", "localhost")]
    out = lambda name: os.path.join(HERE, name)
    subprocess.run(["curl", "-s", "-c", out("curl.txt")] + sum((["-o", os.devnull, url] for url in urls), []), check=True)
    subprocess.run(["wget", "-q", "-O", os.devnull, "--save-cookies", out("wget.txt"),
                    "--keep-session-cookies"] + urls, check=True)
    jar = http.cookiejar.MozillaCookieJar(out("python.txt"))
    opener = urllib.request.build_opener(urllib.request.HTTPCookieProcessor(jar))
    for url in urls:
        opener.open(url).read()
    jar.save(ignore_discard=True)
    server.shutdown()


if __name__ == "__main__":
    main()
