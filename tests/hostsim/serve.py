"""A local HTTP server for the download tests: serves a folder on a free
loopback port, writes the port to a file, and stops by itself after a while
so that it can never outlive the test run."""
import functools
import http.server
import os
import sys
import threading


def main():
    folder, port_file, pid_file = sys.argv[1], sys.argv[2], sys.argv[3]
    handler = functools.partial(http.server.SimpleHTTPRequestHandler, directory=folder)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    with open(pid_file, "w") as f:
        f.write(str(os.getpid()))
    with open(port_file + ".tmp", "w") as f:
        f.write(str(server.server_address[1]))
    os.replace(port_file + ".tmp", port_file)
    threading.Timer(600, server.shutdown).start()
    server.serve_forever()


if __name__ == "__main__":
    main()
