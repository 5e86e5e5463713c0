#!/usr/bin/env python3
"""A stand-in for the maker's web site on 127.0.0.1, for the update check's tests.

Prints its port on the first line, then serves until killed (at most LIFETIME seconds).
The first path segment picks what it answers:
  newer/...      a version document of version 6.0
  redirect/...   302 to /newer/...          echo/...   the request line and headers
  huge/...       a 2 MiB document           silent/... accepts and never answers
  anything else  404
A first argument names another version to publish as "newer" (the real program's tests).
"""
import http.server
import os
import sys
import threading
import time

LIFETIME = 300


def document(version1):
    elements = [("Name", "Vespar"), ("Version1", version1), ("Version2", "0.0"),
                ("Download", "http://127.0.0.1/software/download/Vespar.zip"),
                ("History", "http://127.0.0.1/software/vespar/history.htm"),
                ("KIssues", "http://127.0.0.1/software/vespar/kniss.htm"),
                ("Index", "http://127.0.0.1/"), ("Message", "Faster start-up."),
                ("Uninstall", "No")]
    body = "".join("  <%s>%s</%s>\r\n" % (k, v, k) for k, v in elements)
    return ('<?xml version="1.0"?>\r\n<Update>\r\n' + body + "</Update>\r\n").encode()


NEWER = sys.argv[1] if len(sys.argv) > 1 else "6.0"
DOCUMENTS = {"newer": document(NEWER)}


class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        scenario = self.path.split("/")[1]
        if scenario == "silent":
            time.sleep(LIFETIME)
            return
        if scenario == "redirect":
            self.send_response(302)
            self.send_header("Location", "/newer" + self.path[len("/redirect"):])
            self.send_header("Content-Length", "0")
            self.end_headers()
            return
        if scenario in DOCUMENTS:
            body = DOCUMENTS[scenario]
        elif scenario == "echo":
            body = (self.requestline + "\r\n" + str(self.headers)).encode()
        elif scenario == "huge":
            body = b"<Name>" + b"x" * (2 << 20)
        else:
            self.send_error(404)
            return
        self.send_response(200)
        self.send_header("Content-Type", "text/xml")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


def main():
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    print(server.server_address[1], flush=True)
    threading.Timer(LIFETIME, lambda: os._exit(0)).start()
    server.serve_forever()


if __name__ == "__main__":
    main()
