#!/usr/bin/env bash
# polimreza-studio through real HTTP: starts the program in a scratch folder
# with tiny lists, reads its URL line, and checks the refusals (token, Host,
# Origin, body size, bad requests, files in the way, unsafe names), the
# page's headers, the answers of candidates and fill, izbaci.txt, and a
# clean stop on SIGINT. Runs build/dev/polimreza-studio (or $POLIMREZA_BIN's).
set -euo pipefail
cd "$(dirname "$0")/../.."
command -v python3 >/dev/null && command -v prlimit >/dev/null || {
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq python3 util-linux
}
bin=${POLIMREZA_BIN:-$PWD/build/dev}
if [ ! -x "$bin/polimreza-studio" ]; then
  echo "studio_api: $bin/polimreza-studio does not exist; build it first" >&2
  exit 1
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir lists
printf 'AB;prva\r\nBA;druga\r\nAA;treca\r\n' > lists/2.txt
printf 'A;a\r\nB;b\r\n' > lists/1.txt
printf 'ABA;x\r\nBAB;y\r\nBBB;z\r\n' > lists/3.txt
# 3,000 random words of six letters: an open 6x6 grid keeps the search busy
# for far longer than the checks of a running fill take.
python3 -c '
import random
random.seed(6)
for _ in range(3000):
    print("".join(random.choice("ABCDEFGHIJKLMNOPRSTUVZ") for _ in range(6)) + ";", end="\r\n")
' > lists/6.txt

exec python3 - "$bin/polimreza-studio" <<'PY'
import json, os, re, signal, subprocess, sys, time, urllib.request, urllib.error

program = sys.argv[1]
proc = subprocess.Popen([program, "--lists", "lists"], stdout=subprocess.PIPE,
                        stderr=subprocess.PIPE, text=True)
url = proc.stdout.readline().strip()
match = re.fullmatch(r"http://127\.0\.0\.1:(\d+)/\?token=([0-9a-f]{32})", url)
failures = []

def check(what, condition):
    if not condition:
        failures.append(what)

if not match:
    proc.kill()
    sys.exit("studio_api: bad URL line %r" % url)
port, token = match.group(1), match.group(2)
base = "http://127.0.0.1:%s" % port

def call(path, body=None, headers=None, token_header=True, raw=None):
    data = raw if raw is not None else (
        None if body is None else json.dumps(body).encode())
    request = urllib.request.Request(base + path, data=data)
    if token_header:
        request.add_header("X-Polimreza-Token", token)
    for name, value in (headers or {}).items():
        request.add_header(name, value)
    try:
        with urllib.request.urlopen(request) as reply:
            return reply.status, reply.headers, reply.read()
    except urllib.error.HTTPError as error:
        return error.code, error.headers, error.read()

def error_of(body):
    return json.loads(body).get("error")

def raw(data, timeout=10):
    """Sends `data` on a connection of its own; the reply's status (None
    when the connection closed without one) and its whole text."""
    import socket
    sock = socket.create_connection(("127.0.0.1", int(port)), timeout=timeout)
    reply = b""
    try:
        sock.sendall(data)
        while True:
            chunk = sock.recv(65536)
            if not chunk:
                break
            reply += chunk
    except OSError:
        pass
    finally:
        sock.close()
    head = reply.split(b"\r\n", 1)[0].split(b" ")
    status = int(head[1]) if len(head) > 1 and head[1].isdigit() else None
    return status, reply

def post_raw(headers, body, path="/api/check"):
    lines = ["POST %s HTTP/1.1" % path, "Host: 127.0.0.1:" + port,
             "X-Polimreza-Token: " + token, "Connection: close"] + headers
    return raw(("\r\n".join(lines) + "\r\n\r\n").encode() + body)

def reply_error(reply):
    return json.loads(reply.split(b"\r\n\r\n", 1)[1]).get("error")

try:
    # Refusals before any route.
    check("no token", call("/api/info", token_header=False)[0] == 403)
    check("wrong token", call("/api/info", token_header=False,
          headers={"X-Polimreza-Token": "0" * 32})[0] == 403)
    check("bad Host", call("/api/info", headers={"Host": "evil.example:" + port})[0] == 403)
    check("foreign Origin", call("/api/check", {"rows": ["**"]},
          headers={"Origin": "http://evil.example"})[0] == 403)
    check("own Origin", call("/api/check", {"rows": ["**"]},
          headers={"Origin": "http://127.0.0.1:" + port})[0] == 200)
    status, _, body = call("/api/check", raw=b" " * (1024 * 1024 + 10))
    check("413 over 1 MB", status == 413 and error_of(body) == "Zahtev je veci od 1 MB")

    # The page.
    status, headers, body = call("/?token=" + token, token_header=False)
    check("page", status == 200 and "default-src 'none'" in
          headers.get("Content-Security-Policy", ""))
    # A browser sends a cookie to every server of the host, whatever the
    # port: no cookie, and the page's files need no credential.
    check("no cookie", headers.get("Set-Cookie") is None)
    check("page without token", call("/", token_header=False)[0] == 403)
    check("script without token", call("/studio.js", token_header=False)[0] == 200)
    check("script for a foreign Host", call("/studio.js", token_header=False,
          headers={"Host": "evil.example:" + port})[0] == 403)
    check("cookie opens no API", call("/api/info", token_header=False,
          headers={"Cookie": "polimreza_token=" + token})[0] == 403)

    # Framing: compressed bodies, chunked bodies over 1 MB, lengths that are
    # no number; each answered at once.
    import gzip
    bomb = gzip.compress(b'{"rows": ["**"]' + b" " * (20 << 20) + b"}")
    status, reply = post_raw(["Content-Encoding: gzip",
                              "Content-Length: %d" % len(bomb)], bomb)
    check("415 gzip body", status == 415 and
          reply_error(reply) == "Sazeto telo zahteva nije podrzano")
    def chunked(body):
        return b"%x\r\n%s\r\n0\r\n\r\n" % (len(body), body)
    status, reply = post_raw(["Transfer-Encoding: chunked"],
                             chunked(b'{"rows": ["**"]}'))
    check("small chunked body", status == 200)
    status, reply = post_raw(["Transfer-Encoding: chunked"],
                             chunked(b'{"rows": ["**"]' + b" " * (1 << 20) + b"}"))
    check("413 chunked body over 1 MB", status == 413 and
          reply_error(reply) == "Zahtev je veci od 1 MB")
    for length in ["-1", "abc", "1x", "99999999999999999999999"]:
        started = time.monotonic()
        status, reply = post_raw(["Content-Length: " + length], b"{}")
        check("400 Content-Length " + length, status == 400 and
              reply_error(reply) == "Neispravna duzina zahteva" and
              time.monotonic() - started < 5)
    status, reply = raw(("POST /api/check HTTP/1.1\r\nHost: 127.0.0.1:%s\r\n"
                         "X-Polimreza-Token: %s\r\n\r\n" % (port, token)).encode())
    check("411 POST without length", status == 411 and
          reply_error(reply) == "Zahtev nema duzinu")

    # JSON nested past 64 levels is refused before it is built.
    deep = b'{"rows": ' + b"[" * 100000 + b"]" * 100000 + b"}"
    status, _, body = call("/api/check", raw=deep,
                           headers={"Content-Type": "application/json"})
    check("deep JSON body", status == 400 and
          error_of(body) == "JSON je dublji od 64 nivoa")
    with open("deep.ipuz", "w") as f:
        f.write('{"kind": ["http://ipuz.org/crossword#1"], "title": ' +
                "[" * 100000 + "]" * 100000 + "}")
    status, _, body = call("/api/open", {"name": "deep.ipuz"})
    check("deep ipuz", status == 400 and
          error_of(body) == "Fajl ima JSON dublji od 64 nivoa")
    os.remove("deep.ipuz")

    # Bad requests.
    for what, path, request, message in [
        ("bad JSON", "/api/check", b"{rows", "Neispravan JSON"),
        ("unequal rows", "/api/check", {"rows": ["**", "*"]}, "Redovi nisu iste duzine"),
        ("unknown letter", "/api/check", {"rows": ["*1"]}, "Znak koji nije slovo: red 1, kolona 2"),
        ("region outside", "/api/fill", {"rows": ["**"], "region": {"top": 0, "left": 0, "bottom": 3, "right": 0}}, "Oblast je van mreze"),
        ("square outside", "/api/candidates", {"rows": ["**"], "row": 5, "col": 0, "direction": "across"}, "Polje je van mreze"),
    ]:
        raw = request if isinstance(request, bytes) else None
        status, _, body = call(path, None if raw else request, raw=raw)
        check(what, status == 400 and error_of(body) == message)

    # Candidates and fill.
    # AA matches the slot's pattern but would leave the down slot AA too,
    # and a word is not used twice.
    fits = {"rows": ["**", "#A"], "row": 0, "col": 1, "direction": "across"}
    status, _, body = call("/api/candidates", fits)
    reply = json.loads(body)
    check("candidates", status == 200 and reply["count"] == 2 and
          reply["exact"] is True and
          [w["word"] for w in reply["words"]] == ["AB", "BA"] and
          reply["words"][0]["clue"] == "prva" and
          reply["slot"] == {"row": 0, "col": 0, "direction": "across", "length": 2})
    # Four slots over three words: no fill, so no word fits.
    status, _, body = call("/api/candidates", {"rows": ["A*", "**"], "row": 0, "col": 1, "direction": "across"})
    check("candidates of a grid with no fill", status == 200 and
          json.loads(body)["count"] == 0 and json.loads(body)["words"] == [])
    # Scores: none at start; a score set creates ocene.txt, and the
    # candidates and figures follow; a bad score and a file that cannot be
    # read are refused.
    check("no scores at start", json.loads(call("/api/info")[2])["scores"] is False)
    status, _, body = call("/api/score", {"word": "BA", "score": 70})
    check("score set", status == 200 and body == b'{"word":"BA","score":70}')
    with open("lists/ocene.txt", encoding="utf-8", newline="") as f:
        check("ocene.txt written", f.read() == "BA;70\r\n")
    status, _, body = call("/api/candidates", fits)
    check("candidates by score", [(w["word"], w["score"]) for w in json.loads(body)["words"]]
          == [("BA", 70), ("AB", None)])
    status, _, body = call("/api/quality", {"rows": ["BA", "A#"]})
    check("quality", status == 200 and body ==
          b'{"squares":4,"black":1,"blackShare":25.0,"words":2,"placed":2,"pdr":2.0,'
          b'"band":"vrlo laka","scores":{"weakBelow":30,"lowest":70,"mean":70.0,'
          b'"weakWords":0,"weakCrossings":0,"unscored":0,"kinds":[0,0,0,0,0,0,2]},'
          b'"weak":[],"crossings":[]}')
    status, _, body = call("/api/score", {"word": "BA", "score": 101})
    check("score 101", status == 400 and
          error_of(body) == "Polje score nedostaje ili nije ispravno")
    os.rename("lists/ocene.txt", "ocene.bak")
    os.mkdir("lists/ocene.txt")
    status, _, body = call("/api/score", {"word": "AB", "score": 5})
    check("500 when ocene.txt cannot be read", status == 500 and
          error_of(body) == "Ne mogu da procitam ocene.txt")
    os.rmdir("lists/ocene.txt")
    os.rename("ocene.bak", "lists/ocene.txt")

    status, _, body = call("/api/fill", {"rows": ["***", "#*#", "#*#"]})
    reply = json.loads(body)
    rows = reply["rows"]
    down = rows[0][1] + rows[1][1] + rows[2][1]
    check("fill", status == 200 and reply["status"] == "filled" and
          len(reply["machine"]) == 5 and rows[0] in ("ABA", "BAB", "BBB") and
          down in ("ABA", "BAB", "BBB") and down != rows[0])
    status, _, body = call("/api/fill", {"rows": ["***", "#*#", "#*#"], "another": True})
    check("another fill", json.loads(body)["status"] == "filled" and
          json.loads(body)["rows"] != rows)
    status, _, body = call("/api/fill", {"rows": ["B*", "**"]})
    check("impossible", json.loads(body)["status"] == "impossible")

    # izbaci.txt.
    status, _, body = call("/api/exclude", {"word": "AB"})
    check("exclude", status == 200 and json.loads(body) == {"excluded": 1})
    with open("lists/izbaci.txt", encoding="utf-8") as f:
        check("izbaci.txt", f.read() == "AB\n")
    status, _, body = call("/api/candidates", fits)
    check("candidates without the excluded word",
          [w["word"] for w in json.loads(body)["words"]] == ["BA"] and
          json.loads(body)["count"] == 1)

    # Files.
    save = {"name": "x.ipuz", "rows": ["AB", "B*"], "author": ["A*", "**"],
            "title": "T", "author_name": "N", "clues": {"across": ["a"], "down": ["d"]}}
    check("save", call("/api/save", save)[0] == 200)
    status, _, body = call("/api/save", save)
    check("409 save over a file", status == 409 and json.loads(body).get("exists") is True)
    save["overwrite"] = True
    check("save with overwrite", call("/api/save", save)[0] == 200)
    status, _, body = call("/api/open", {"name": "x.ipuz"})
    check("open", status == 200 and json.loads(body)["rows"] == ["AB", "B*"] and
          json.loads(body)["author"] == ["A*", "**"])
    status, _, body = call("/api/save", dict(save, name="../y.ipuz"))
    check("../ refused", status == 400 and error_of(body) == "Neispravno ime fajla"
          and not os.path.exists("../y.ipuz"))
    check("files", json.loads(call("/api/files")[2]) == {"files": ["x.ipuz"]})
    # One fill at a time: a second one while the first runs gets 409, the
    # running one reports progress and ends "stopped" when asked, and a time
    # limit ends a fill as "timeout" with the most-filled grid.
    import threading
    busy = {"rows": ["******"] * 6, "timeLimit": 60}
    first = {}
    runner = threading.Thread(target=lambda: first.update(
        reply=call("/api/fill", busy)))
    runner.start()
    time.sleep(0.5)
    progress = json.loads(call("/api/progress")[2])
    check("progress while filling", progress.get("running") is True)
    status, _, body = call("/api/fill", busy)
    check("409 second fill", status == 409 and error_of(body))
    check("stop", json.loads(call("/api/stop", {})[2]) == {"stopping": True})
    runner.join(10)
    check("stopped fill", not runner.is_alive() and
          json.loads(first["reply"][2])["status"] == "stopped")
    status, _, body = call("/api/fill", dict(busy, timeLimit=0.5))
    reply = json.loads(body)
    check("timeout", status == 200 and reply["status"] == "timeout" and
          len(reply["rows"]) == 6)
    status, _, body = call("/api/check", {"rows": ["*" * 26]})
    check("slot too long", status == 400 and error_of(body))

    check("open missing", call("/api/open", {"name": "nema.ipuz"})[0] == 404)
    check("unknown path", call("/api/nothing")[0] == 404)

    # Eight clients sending a header line a second: the author is still
    # answered at once, and each of them is cut off by the headers'
    # deadline (10 s) with a reply.
    import socket
    def slow_client(results, seconds):
        sock = socket.create_connection(("127.0.0.1", int(port)))
        sock.sendall(b"GET /api/info HTTP/1.1\r\n")
        started = time.monotonic()
        try:
            while time.monotonic() - started < seconds:
                time.sleep(1)
                sock.sendall(b"X-Slow: 1\r\n")
        except OSError:
            pass
        results.append(time.monotonic() - started)
        sock.close()
    slow = []
    clients = [threading.Thread(target=slow_client, args=(slow, 20))
               for _ in range(8)]
    for client in clients:
        client.start()
    time.sleep(3)
    started = time.monotonic()
    status = call("/api/info")[0]
    check("answered beside slow clients", status == 200 and
          time.monotonic() - started < 2)
    for client in clients:
        client.join(30)
    check("slow clients cut off", len(slow) == 8 and max(slow) < 15)
    # Slow clients do not hold up the stop either.
    for _ in range(3):
        threading.Thread(target=slow_client, args=([], 30), daemon=True).start()
    time.sleep(1)
finally:
    proc.send_signal(signal.SIGINT)
    stopping = time.monotonic()
    try:
        code = proc.wait(timeout=10)
    except subprocess.TimeoutExpired:
        proc.kill()
        code = None
    check("SIGINT exit 0", code == 0)
    check("stop within 3 s", time.monotonic() - stopping < 3)
    check("nothing on stderr", proc.stderr.read() == "")

# A malformed ocene.txt: its bad lines skipped with a warning, as
# polimreza-fill does; --weak sets the weak words' bound.
os.makedirs("scored", exist_ok=True)
with open("scored/ocene.txt", "w") as f:
    f.write("AB;101\r\nBA;5\r\n")
proc = subprocess.Popen([program, "--lists", "scored", "--weak", "40"],
                        stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
port, token = re.search(r":(\d+)/\?token=(\w+)", proc.stdout.readline()).groups()
base = "http://127.0.0.1:%s" % port
info = json.loads(call("/api/info")[2])
check("--weak 40", info["scores"] is True and info["weakBelow"] == 40)
proc.send_signal(signal.SIGINT)
check("scores warning", proc.wait(timeout=10) == 0 and proc.stderr.read() ==
      "polimreza-studio: upozorenje: ocene.txt: preskoceno 1 od 2 redova "
      "(rec van azbuke ascii ili ocena van 0 do 100)\n")

# --open hands the browser a page only this user can read, never the
# address with its token on a command line.
os.makedirs("bin", exist_ok=True)
with open("bin/xdg-open", "w") as f:
    f.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$OPENED\"\n"
            "stat -c %a \"$1\" \"$(dirname \"$1\")\" >> \"$OPENED\"\n"
            "cat \"$1\" >> \"$OPENED\"\n")
os.chmod("bin/xdg-open", 0o755)
env = dict(os.environ, PATH=os.path.abspath("bin") + ":" + os.environ["PATH"],
           OPENED=os.path.abspath("opened.txt"), TMPDIR=os.path.abspath("."))
env.pop("XDG_RUNTIME_DIR", None)
proc = subprocess.Popen([program, "--lists", "lists", "--open"], env=env,
                        stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
url = proc.stdout.readline().strip()
for _ in range(50):
    if os.path.exists("opened.txt") and "</a>" in open("opened.txt").read():
        break
    time.sleep(0.1)
opened = open("opened.txt").read().split("\n") if os.path.exists("opened.txt") else []
check("--open: a file is opened", len(opened) > 3 and
      re.fullmatch(re.escape(os.path.abspath(".")) +
                   r"/polimreza-studio-\w{6}/otvori\.html", opened[0]))
check("--open: no token on the command line",
      url and url.split("token=")[1] not in opened[0])
check("--open: only the user reads it", opened[1:3] == ["600", "700"])
check("--open: the page goes on to the address",
      '<meta http-equiv="refresh" content="0;url=%s">' % url in opened)
proc.send_signal(signal.SIGINT)
check("--open: stops", proc.wait(timeout=10) == 0)
check("--open: the page is removed", opened and
      not os.path.exists(os.path.dirname(opened[0])))

# Memory running out under many large requests at once is answered, and
# the server goes on (it aborted on a std::bad_alloc).
proc = subprocess.Popen(["prlimit", "--as=%d" % (300 << 20), program,
                         "--lists", "lists"], stdout=subprocess.PIPE,
                        stderr=subprocess.PIPE, text=True)
started = re.search(r":(\d+)/\?token=(\w+)", proc.stdout.readline())
if not started and "Sanitizer" in proc.stderr.read():
    # A sanitized build reserves more address space than the limit.
    print("studio_api: memory check skipped in a sanitized build")
elif not started:
    check("memory: starts under the limit", False)
else:
    port, token = started.groups()
    base = "http://127.0.0.1:%s" % port
    big = json.dumps({"rows": ["*********#" * 10] * 100, "x": "y" * 900000}).encode()
    statuses = set()
    def heavy():
        try:
            statuses.add(call("/api/check", raw=big,
                              headers={"Content-Type": "application/json"})[0])
        except OSError:
            statuses.add("closed")
    for _ in range(3):
        heavy_calls = [threading.Thread(target=heavy) for _ in range(40)]
        for thread in heavy_calls:
            thread.start()
        for thread in heavy_calls:
            thread.join()
    check("memory: every reply 400 or 503", statuses <= {400, 503, "closed"})
    check("memory: still serving", proc.poll() is None and call("/api/info")[0] == 200)
    proc.send_signal(signal.SIGINT)
    check("memory: stops", proc.wait(timeout=10) == 0)
    if any(failure.startswith("memory:") for failure in failures):
        failures.append("memory: the server wrote %r" % proc.stderr.read()[-400:])

if failures:
    sys.exit("studio_api: failed: " + ", ".join(failures))
print("studio_api: all checks passed")
PY
