#!/usr/bin/env python3
"""Serves a folder on 127.0.0.1 as Python's http.server does, but gzip-compressed
for a browser that asks for it (Accept-Encoding): the page's program is 300 kB
of text, which a phone on a slow network waits for before the demo starts.

Usage: web_serve.py FOLDER PORT   (port 0: a free one; the first line printed
is the address served)
"""
import functools
import gzip
import http.server
import os
import sys

COMPRESSED_TYPES = ('text/', 'application/javascript', 'image/bmp', 'image/svg+xml')


class Handler(http.server.SimpleHTTPRequestHandler):
    # Each file's compressed bytes, made once per version of the file.
    cache = {}

    def accepts_gzip(self):
        codings = self.headers.get('Accept-Encoding', '')
        for coding in codings.split(','):
            name, _, params = coding.strip().partition(';')
            if name.strip().lower() == 'gzip' and params.replace(' ', '') not in ('q=0', 'q=0.0'):
                return True
        return False

    def compressed(self, path):
        stat = os.stat(path)
        key = (path, stat.st_mtime_ns, stat.st_size)
        if key not in self.cache:
            with open(path, 'rb') as file:
                self.cache[key] = gzip.compress(file.read(), mtime=0)
        return self.cache[key]

    def send_head(self):
        path = self.translate_path(self.path)
        if os.path.isdir(path) and self.path.split('?')[0].endswith('/'):
            path = os.path.join(path, 'index.html')
        kind = self.guess_type(path)
        if not (os.path.isfile(path) and kind.startswith(COMPRESSED_TYPES) and self.accepts_gzip()):
            return super().send_head()
        body = self.compressed(path)
        self.send_response(200)
        self.send_header('Content-Type', kind)
        self.send_header('Content-Encoding', 'gzip')
        self.send_header('Content-Length', str(len(body)))
        self.send_header('Vary', 'Accept-Encoding')
        self.send_header('Last-Modified', self.date_time_string(os.stat(path).st_mtime))
        self.end_headers()
        return BodyReader(body)


class BodyReader:
    """What send_head hands do_GET to copy out: bytes in memory."""

    def __init__(self, body):
        self.body = body

    def read(self, size=-1):
        chunk, self.body = (self.body, b'') if size < 0 else (self.body[:size], self.body[size:])
        return chunk

    def close(self):
        self.body = b''


def main():
    folder, port = sys.argv[1], int(sys.argv[2])
    handler = functools.partial(Handler, directory=folder)
    http.server.ThreadingHTTPServer.allow_reuse_address = True
    with http.server.ThreadingHTTPServer(('127.0.0.1', port), handler) as server:
        print(f'http://127.0.0.1:{server.server_address[1]}/', flush=True)
        try:
            server.serve_forever()
        except KeyboardInterrupt:
            pass


if __name__ == '__main__':
    main()
