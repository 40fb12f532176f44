#!/usr/bin/python3
"""A results site on 127.0.0.1 for the fetch tests: prints its port and that of
the same site over HTTPS with a self-signed certificate (which a client must
refuse), then serves fixtures and the failures a real site can show."""
import ssl, sys, threading, time, pathlib
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

FIXTURES = pathlib.Path(sys.argv[1])


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"  # keep-alive, as real sites answer
    def log_message(self, *args):
        pass

    def reply(self, code, body, ctype="application/json", length=None, headers=()):
        self.send_response(code)
        self.send_header("Content-Type", ctype)
        self.send_header("Content-Length", str(len(body) if length is None else length))
        for k, v in headers:
            self.send_header(k, v)
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        parts = self.path.strip("/").split("/")
        kind, arg = parts[0], "/".join(parts[1:])
        if kind == "fixtures" and (FIXTURES / arg).is_file():
            self.reply(200, (FIXTURES / arg).read_bytes())
        elif kind == "status":
            self.reply(int(arg), b'{"error":"x"}')
        elif kind == "html":
            self.reply(200, b"<!DOCTYPE html><html><body>Service Unavailable</body></html>",
                       "text/html")
        elif kind == "slow":
            time.sleep(5)
            self.reply(200, b"[]")
        elif kind == "truncated":
            self.reply(200, (FIXTURES / "day3.json").read_bytes()[:100], length=5000)
            self.close_connection = True
        elif kind == "big":
            self.send_response(200)
            self.send_header("Content-Type", "application/json")
            self.end_headers()  # no length: the client must stop reading itself
            chunk = b" " * 65536
            try:
                for _ in range(100):
                    self.wfile.write(chunk)
            except OSError:
                pass
            self.close_connection = True
        elif kind == "redirect":
            n = int(arg)
            to = "/fixtures/day3.json" if n <= 1 else "/redirect/%d" % (n - 1)
            self.reply(302, b"", headers=[("Location", to)])
        elif kind == "ftp":
            self.reply(302, b"", headers=[("Location", "ftp://example.invalid/day3.json")])
        else:
            self.reply(404, b"not found", "text/plain")


def serve():
    server = ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    server.handle_error = lambda request, address: None  # clients that hang up are expected
    return server


plain, tls = serve(), serve()
context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
context.load_cert_chain(FIXTURES / "selfsigned.crt", FIXTURES / "selfsigned.key")
tls.socket = context.wrap_socket(tls.socket, server_side=True)
threading.Thread(target=tls.serve_forever, daemon=True).start()
print(f"{plain.server_address[1]} {tls.server_address[1]}", flush=True)
plain.serve_forever()
