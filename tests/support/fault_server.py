"""A scripted server for faults real servers cannot be made to show on demand.

Modes (first argument), each on 127.0.0.1 with a free port printed on stdout's first line:
  http-short BYTES CLAIMED   answers 200 with Content-Length CLAIMED, sends BYTES, closes
  http-nolength BYTES        answers 200 without Content-Length, sends BYTES, closes
  http-silent                accepts and never answers
  http-close                 reads the request and closes without a reply
  http-cut-header            sends the start of a header and closes
  http-stall BYTES CLAIMED   answers 200 with Content-Length CLAIMED, sends BYTES, then is
                             silent with the connection open
  http-endless-header        answers 200 and then sends header lines without end
  http-parts SIZE PART HOW   answers a request for a file of SIZE bytes from byte N ("Range:
                             bytes=N-") with 206 and at most PART bytes, named by Content-Range;
                             HOW: "resume" (from N, with an ETag), "first" (the first part,
                             whatever was asked) or "unversioned" (from N, without an ETag)
  http-cut-once SIZE LOG     a file of SIZE bytes at every path but those ending in ".txt" (404):
                             the first request from byte 0 gets 200 and half the file, then the
                             connection closes; any later one from byte N gets 206 and the rest;
                             each request's path and N are appended to the file LOG
  http-grow FIRST THEN       answers the first request with FIRST bytes and every later one with
                             THEN bytes without Content-Length (the file grew after its size was
                             asked, and only the bytes counted show it)
  ftp LISTING RETR_BYTES END an FTP server whose LIST sends the file LISTING as it is and
                             whose RETR sends RETR_BYTES bytes (SIZE says so too: the file
                             changed since it was listed), then END: "226" (a normal end),
                             "cut" (both connections dropped without a reply) or "stall" (the
                             data connection held open without another byte)
  ftp-endless-list           an FTP server whose LIST sends listing lines without end
  ftp-endless-reply          an FTP server whose greeting is a multi-line reply without end
  ftp-close                  accepts and closes before its greeting
  ftp-cut-greeting           sends the start of a greeting and closes
  ftp-silent                 accepts and never greets
  ftp-nolist RETR_BYTES      refuses LIST (550) but sends RETR_BYTES bytes for RETR
  ftp-passive-refused        offers passive data ports nobody listens on
"""
import socket
import sys
import threading
import time


def listener():
    sock = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    sock.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    sock.bind(("127.0.0.1", 0))
    sock.listen(8)
    return sock


def pattern(count):
    return bytes(i % 251 for i in range(count))


def send_without_end(conn, first, line):
    """Sends `first`, then `line` over and over until the client goes away (OSError)."""
    block = line * (65536 // len(line))
    conn.sendall(first)
    while True:
        conn.sendall(block)


def read_request(conn):
    data = b""
    while b"\r\n\r\n" not in data:
        chunk = conn.recv(4096)
        if not chunk:
            break
        data += chunk
    return data.decode("latin-1")


def range_start(request):
    """The N of the request's "Range: bytes=N-"; 0 without one."""
    for line in request.split("\r\n"):
        name, _, value = line.partition(":")
        if name.strip().lower() == "range":
            return int(value.strip()[len("bytes="):].rstrip("-"))
    return 0


answered = []  # one entry per request answered in modes http-grow and http-cut-once


def break_off(conn, mode, start):
    """Plays the modes that fail before any whole answer: "...-silent" says nothing, "...-close"
    closes at once, "...-cut-..." sends `start` and closes. False for every other mode."""
    if mode.endswith("-silent"):
        time.sleep(3600)
        return True
    if mode.endswith("-close") or "-cut-" in mode:
        if "-cut-" in mode:
            conn.sendall(start)
        conn.close()
        return True
    return False


def serve_part(conn, start, arguments):
    size, part, how = int(arguments[0]), int(arguments[1]), arguments[2]
    first = 0 if how == "first" else start
    last = min(first + part, size) - 1
    head = "HTTP/1.1 206 Partial Content\r\nConnection: close\r\n"
    head += "Content-Range: bytes %d-%d/%d\r\n" % (first, last, size)
    head += "Content-Length: %d\r\n" % (last + 1 - first)
    if how != "unversioned":
        head += 'ETag: "v1"\r\n'
    conn.sendall(head.encode() + b"\r\n" + pattern(size)[first : last + 1])
    conn.close()


def serve_cut_once(conn, request, arguments):
    size, log = int(arguments[0]), arguments[1]
    path, start = request.split(" ")[1], range_start(request)
    with open(log, "a") as handle:
        handle.write("%s %d\n" % (path, start))
    if path.endswith(".txt"):
        conn.sendall(b"HTTP/1.1 404 Not Found\r\nConnection: close\r\nContent-Length: 0\r\n\r\n")
    elif start == 0 and not answered:
        answered.append(1)
        head = 'HTTP/1.1 200 OK\r\nConnection: close\r\nETag: "v1"\r\nContent-Length: %d\r\n' % size
        conn.sendall(head.encode() + b"\r\n" + pattern(size)[: size // 2])
    else:
        head = "HTTP/1.1 206 Partial Content\r\nConnection: close\r\nETag: \"v1\"\r\n"
        head += "Content-Range: bytes %d-%d/%d\r\n" % (start, size - 1, size)
        head += "Content-Length: %d\r\n" % (size - start)
        conn.sendall(head.encode() + b"\r\n" + pattern(size)[start:])
    conn.close()


def serve_http(conn, mode, arguments):
    request = read_request(conn)
    if mode == "http-cut-once":
        serve_cut_once(conn, request, arguments)
        return
    if break_off(conn, mode, b"HTTP/1.1 200 OK\r\nContent-Len"):
        return
    if mode == "http-endless-header":
        send_without_end(conn, b"HTTP/1.1 200 OK\r\n", b"X-Filler: " + b"x" * 100 + b"\r\n")
    if mode == "http-parts":
        serve_part(conn, range_start(request), arguments)
        return
    body = pattern(int(arguments[0]))
    head = "HTTP/1.1 200 OK\r\nConnection: close\r\n"
    if mode in ("http-short", "http-stall"):
        head += "Content-Length: %d\r\n" % int(arguments[1])
    if mode == "http-grow":
        answered.append(1)
        body = pattern(int(arguments[0] if len(answered) == 1 else arguments[1]))
        if len(answered) == 1:
            head += "Content-Length: %d\r\n" % len(body)
    conn.sendall(head.encode() + b"\r\n" + body)
    if mode == "http-stall":
        time.sleep(3600)
    conn.close()


def serve_ftp(conn, mode, arguments):
    if mode == "ftp-endless-reply":
        send_without_end(conn, b"", b"220-welcome\r\n")
    if break_off(conn, mode, b"220-wel"):
        return
    listing, retr_bytes, end = b"", 0, "226"
    if mode == "ftp":
        with open(arguments[0], "rb") as handle:
            listing = handle.read()
        retr_bytes, end = int(arguments[1]), arguments[2]
    if mode == "ftp-nolist":
        retr_bytes = int(arguments[0])
    reader = conn.makefile("rb")
    data_listener = None

    def reply(text):
        conn.sendall((text + "\r\n").encode())

    reply("220 scripted server")
    for raw in reader:
        line = raw.decode("latin-1").rstrip("\r\n")
        verb = line.split(" ", 1)[0].upper()
        if verb == "USER":
            reply("331 password please")
        elif verb == "PASS":
            reply("230 logged in")
        elif verb == "PWD":
            reply('257 "/" is the current directory')
        elif verb in ("CWD", "TYPE", "NOOP"):
            reply("250 ok" if verb == "CWD" else "200 ok")
        elif verb == "SIZE":
            reply("213 %d" % retr_bytes)
        elif verb in ("EPSV", "PASV"):
            data_listener = listener()
            port = data_listener.getsockname()[1]
            if verb == "EPSV":
                reply("229 Entering extended passive mode (|||%d|)" % port)
            else:
                reply("227 Entering passive mode (127,0,0,1,%d,%d)" % (port // 256, port % 256))
            if mode == "ftp-passive-refused":
                data_listener.close()
        elif verb == "LIST" and mode == "ftp-nolist":
            data_listener.close()
            reply("550 listing not allowed")
        elif verb in ("LIST", "RETR"):
            data, _ = data_listener.accept()
            reply("150 opening data connection")
            if verb == "LIST" and mode == "ftp-endless-list":
                send_without_end(data, b"", b"-rw-r--r-- 1 a b 1 Jan  1  2020 same.txt\r\n")
            elif verb == "LIST":
                data.sendall(listing)
            else:
                data.sendall(pattern(retr_bytes))
                if end == "stall":
                    time.sleep(3600)
                if end == "cut":
                    data.close()
                    conn.close()
                    return
            data.close()
            data_listener.close()
            reply("226 done")
        elif verb == "QUIT":
            reply("221 bye")
            break
        else:
            reply("502 not implemented")
    conn.close()


def serve_quietly(target, conn, mode, arguments):
    """Runs one connection; a client that goes away early ends it without a trace."""
    try:
        target(conn, mode, arguments)
    except OSError:
        conn.close()


def main():
    mode, arguments = sys.argv[1], sys.argv[2:]
    sock = listener()
    print(sock.getsockname()[1], flush=True)
    while True:
        conn, _ = sock.accept()
        target = serve_ftp if mode.startswith("ftp") else serve_http
        threading.Thread(
            target=serve_quietly, args=(target, conn, mode, arguments), daemon=True
        ).start()


if __name__ == "__main__":
    main()
