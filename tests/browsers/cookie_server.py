#!/usr/bin/env python3
"""A local HTTP server that browsers visit to store cookies on several hosts.

GET /visit on host H sets H's cookies (see COOKIES) and redirects to the next
host of the chain, so a single top-level navigation stores first-party cookies
on every host; /done ends the chain. Every request's Host and Cookie headers are
appended to the log file as one line "host<TAB>cookie header", which shows what
a browser still sends on a later visit. GET /finished answers, unlogged, how
many chains have reached /done, for a browser that stays open after its visit.
A browser may use the server as its HTTP proxy too (GNOME Web reaches the test
host names offline that way).

Usage: cookie_server.py PORT LOGFILE [HOST...]   (hosts default to CHAINS: a
visit runs through the chain of the host it starts on)
"""
import http.server
import socket
import sys
import threading
import urllib.parse

CHAINS = [["alpha.test", "beta.test", "gamma.test"],
          ["www.bank.test", "accounts.bank.test", "tracker.test"]]
# Persistent cookies per host (Firefox keeps session cookies out of its file);
# "wide" is set for the whole domain, on .bank.test.
COOKIES = {
    "alpha.test": ["session_id=a1; HttpOnly", "theme=dark"],
    "beta.test": ["tracker=b1"],
    "gamma.test": ["cart=g1", "lang=en", "seen=1"],
    "www.bank.test": ["session=w1", "wide=d1; Domain=bank.test"],
    "accounts.bank.test": ["login=a1"],
    "tracker.test": ["track=t1"],
}


class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        host = (self.headers.get("Host") or "").split(":")[0]
        # A browser using this server as its proxy asks for the whole URL.
        path = urllib.parse.urlsplit(self.path).path
        if path == "/finished":
            self.send_body(str(self.server.finished).encode())
            return
        with open(self.server.log_path, "a") as log:
            log.write(f"{host}\t{self.headers.get('Cookie', '')}\n")
        chain = next((c for c in self.server.chains if host in c), [])
        if path.startswith("/visit") and host in chain:
            self.send_response(302)
            for cookie in COOKIES.get(host, []):
                self.send_header("Set-Cookie", cookie + "; Max-Age=31536000; Path=/")
            index = chain.index(host)
            port = self.server.server_address[1]
            target = (f"http://{chain[index + 1]}:{port}/visit" if index + 1 < len(chain)
                      else "/done")
            self.send_header("Location", target)
            self.send_header("Content-Length", "0")
            self.end_headers()
            return
        if path == "/done" and host in chain:
            with self.server.lock:
                self.server.finished += 1
        self.send_body(b"<html><body><p>done</p></body></html>")

    def send_body(self, body):
        self.send_response(200)
        self.send_header("Content-Type", "text/html")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


class DualStackServer(http.server.ThreadingHTTPServer):
    address_family = socket.AF_INET6

    def server_bind(self):
        self.socket.setsockopt(socket.IPPROTO_IPV6, socket.IPV6_V6ONLY, 0)
        super().server_bind()


def main():
    port, log_path = int(sys.argv[1]), sys.argv[2]
    server = DualStackServer(("::", port), Handler)
    server.log_path = log_path
    server.chains = [sys.argv[3:]] if sys.argv[3:] else CHAINS
    server.finished = 0
    server.lock = threading.Lock()
    server.serve_forever()


if __name__ == "__main__":
    main()
