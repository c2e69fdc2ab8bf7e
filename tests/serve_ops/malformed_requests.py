"""Malformed HTTP requests made from real ones, and a loopback client that sends them and sorts the answers.

Each request starts as one a member's calendar, the web page or a script
sends, and is then broken by one to three mutations drawn with a seeded
random generator: bytes flipped, inserted, deleted or repeated, the request
cut short, its method, version, path, parameters or headers replaced by
wrong, oversized or hostile values. The same seed gives the same requests.
"""
import asyncio
import random

from serve_run import ULM

REAL_REQUESTS = [
    f"GET /feed.ics?{ULM}&remind=10 HTTP/1.1\r\nHost: 127.0.0.1\r\nUser-Agent: vdirsyncer/0.19.0\r\n"
    "Accept: text/calendar\r\nIf-None-Match: \"abc\"\r\n\r\n",
    f"GET /year/2026.pdf?{ULM} HTTP/1.1\r\nHost: 127.0.0.1\r\nAccept-Encoding: gzip\r\n\r\n",
    f"GET /year/2027.csv?{ULM} HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n",
    "GET /api/places?q=Frankfurt%2C%20DE HTTP/1.1\r\nHost: 127.0.0.1\r\nAccept: application/json\r\n\r\n",
    f"GET /api/today?{ULM} HTTP/1.1\r\nHost: 127.0.0.1\r\n"
    "If-Modified-Since: Sun, 17 May 2026 00:00:00 GMT\r\n\r\n",
    "GET /healthz HTTP/1.0\r\n\r\n",
]

HOSTILE = [
    b"%", b"%zz", b"%00", b"%ff%fe", b"\x00", b"\r", b"\n", b"\r\n\r\n", b" ", b"\t", b"\xff\xfe", b"\xc3\x28",
    b"/../../etc/passwd", b"..%2f..%2f", b"<script>", b"\"", b"'", b"&&&", b"===", b"?", b"#",
    b"1e309", b"nan", b"-inf", b"99999999999999999999999", b"-0", b"0x10", b"+-1", b"1,5",
    b"Europe/../../etc", b"Mars/Olympus", b"place=", b"lat=91", b"lon=-181", b"year=0",
]
METHODS = [b"POST", b"PUT", b"DELETE", b"get", b"G\x00T", b"", b"CONNECT", b"OPTIONS", b"X" * 300]
VERSIONS = [b"HTTP/1.1", b"HTTP/1.0", b"HTTP/2.0", b"HTTP/0.9", b"HTTP/1.10", b"HTTPS/1.1", b"", b"HTTP/1.1 x"]
EXTRA_HEADERS = [
    b"Content-Length: -1", b"Content-Length: 99999999999999999999", b"Content-Length: 5\r\nContent-Length: 6",
    b"Transfer-Encoding: chunked", b"Transfer-Encoding: gzip, chunked", b"Expect: 100-continue",
    b"Host: a\r\nHost: b", b"NoColonHere", b": empty name", b" folded: continuation", b"X-Big: " + b"a" * 20000,
    b"If-None-Match: " + b"\"e\"," * 3000, b"If-Modified-Since: yesterday", b"Range: bytes=9-1",
]


def mutate(request, rng):
    """One mutation of the request's bytes."""
    data = bytearray(request)
    head_end = data.find(b"\r\n")
    kind = rng.randrange(12)
    if kind == 0:  # bits flipped
        for _ in range(rng.randint(1, 8)):
            data[rng.randrange(len(data))] ^= 1 << rng.randrange(8)
    elif kind == 1:  # hostile bytes inserted
        at = rng.randrange(len(data) + 1)
        data[at:at] = rng.choice(HOSTILE)
    elif kind == 2:  # a stretch deleted
        at = rng.randrange(len(data))
        del data[at:at + rng.randint(1, 20)]
    elif kind == 3:  # a stretch repeated
        at = rng.randrange(len(data))
        piece = data[at:at + rng.randint(1, 40)]
        data[at:at] = piece * rng.randint(2, 200)
    elif kind == 4:  # cut short
        del data[rng.randrange(len(data)):]
    elif kind == 5:  # another method
        data[:data.find(b" ") if b" " in data else 0] = rng.choice(METHODS)
    elif kind == 6 and head_end > 0:  # another version
        line = bytes(data[:head_end])
        data[line.rfind(b" ") + 1 if b" " in line else 0:head_end] = rng.choice(VERSIONS)
    elif kind == 7 and head_end > 0:  # a header inserted
        data[head_end + 2:head_end + 2] = rng.choice(EXTRA_HEADERS) + b"\r\n"
    elif kind == 8:  # a very long path or query
        at = data.find(b"?") + 1 or data.find(b" ") + 1
        data[at:at] = rng.choice([b"a", b"%41", b"/", b"&x=1"]) * rng.choice([100, 3000, 9000])
    elif kind == 9:  # bare line feeds
        data = bytearray(bytes(data).replace(b"\r\n", b"\n"))
    elif kind == 10:  # a parameter's value replaced
        at = data.find(b"=")
        if at >= 0:
            end = min([i for i in (data.find(b"&", at), data.find(b" ", at)) if i >= 0] or [len(data)])
            data[at + 1:end] = rng.choice(HOSTILE)
    else:  # random bytes
        data = bytearray(rng.randbytes(rng.randint(1, 200)))
    return bytes(data)


def malformed_requests(count, seed=27):
    """`count` malformed requests, each made from a real one by one to three mutations."""
    rng = random.Random(seed)
    for _ in range(count):
        request = rng.choice(REAL_REQUESTS).encode()
        for _ in range(rng.randint(1, 3)):
            request = mutate(request, rng) or b"\r\n"
        yield request


async def answer_of(port, request, seconds):
    """The status of the server's answer to the request (0: closed without one; None: no answer nor close)."""
    try:
        reader, writer = await asyncio.wait_for(asyncio.open_connection("127.0.0.1", port), seconds)
    except (OSError, asyncio.TimeoutError):
        return "refused"
    try:
        writer.write(request)
        await writer.drain()
        try:
            line = await asyncio.wait_for(reader.readline(), 0.5)
        except asyncio.TimeoutError:
            # A request cut short waits for its rest; the end of the client's
            # data must then close it or answer it.
            writer.write_eof()
            line = await asyncio.wait_for(reader.readline(), seconds)
        parts = line.split()
        if not parts:
            return 0
        if len(parts) < 2 or not parts[0].startswith(b"HTTP/") or not parts[1].isdigit():
            return "garbled: " + repr(line[:60])
        return int(parts[1])
    except (OSError, asyncio.IncompleteReadError, ValueError):
        return 0
    except asyncio.TimeoutError:
        return None
    finally:
        writer.close()


async def send_all(port, requests, parallel, seconds):
    """Sends the requests, `parallel` at a time; a count of answers by status."""
    counts = {}
    pending = set()
    for request in requests:
        if len(pending) >= parallel:
            done, pending = await asyncio.wait(pending, return_when=asyncio.FIRST_COMPLETED)
            for task in done:
                counts[task.result()] = counts.get(task.result(), 0) + 1
        pending.add(asyncio.ensure_future(answer_of(port, request, seconds)))
    for status in await asyncio.gather(*pending):
        counts[status] = counts.get(status, 0) + 1
    return counts


def send_malformed(port, count, parallel=64, seconds=4, seed=27):
    """Sends `count` malformed requests; their answers counted by status (see answer_of)."""
    return asyncio.run(send_all(port, malformed_requests(count, seed), parallel, seconds))


def faults_among(counts):
    """The answers that are faults: a 5xx, a garbled status line, a refused connection or no answer at all.
    505 is not one: it is the standard's answer to an HTTP version the server does not speak."""
    return {status: n for status, n in counts.items()
            if status is None or isinstance(status, str) or (isinstance(status, int) and status >= 500 and status != 505)}
