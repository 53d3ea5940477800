"""The measuring half of studio_bench.sh: starts polimreza-studio on one set
of lists, times the candidate lists and fills through its HTTP API, times
polimreza-fill on the same patterns, the page's first paint in headless
Chromium, and reads the server's resident memory. Prints one line a figure,
"key<TAB>value", for the shell script's table; the details go to stderr.

  studio_bench.py STUDIO FILL ALPHABET LISTS WORKDIR ROUNDS LOADS PATTERN...

The environment's LIMIT (default 50, what the page asks first) is the
limit of every candidate list asked for.

Needs only the standard library, and python3-selenium for the page.
"""

import http.client
import json
import os
import signal
import statistics
import subprocess
import sys
import time
import urllib.parse

LIMIT = int(os.environ.get("LIMIT", "50"))


def say(*args):
    print(*args, file=sys.stderr, flush=True)


def percentile(values, share):
    """The nearest-rank percentile of `values` (share 0.95 for the 95th)."""
    ordered = sorted(values)
    rank = max(1, -(-len(ordered) * share // 1))
    return ordered[int(rank) - 1]


class Api:
    """One keep-alive HTTP connection to the server, as the page keeps one."""

    def __init__(self, url):
        parts = urllib.parse.urlsplit(url)
        self.netloc = parts.netloc
        self.token = urllib.parse.parse_qs(parts.query)["token"][0]
        self.connection = http.client.HTTPConnection(parts.hostname, parts.port)

    def call(self, method, path, body=None):
        """The reply's status, its decoded body and the seconds it took."""
        headers = {"X-Polimreza-Token": self.token, "Host": self.netloc}
        data = None
        if body is not None:
            data = json.dumps(body, ensure_ascii=False).encode()
            headers["Content-Type"] = "application/json"
        start = time.perf_counter()
        try:
            self.connection.request(method, path, body=data, headers=headers)
            reply = self.connection.getresponse()
        except (ConnectionError, http.client.RemoteDisconnected):
            # The server closed the idle connection (a long fill of
            # polimreza-fill ran in between): the page would open another.
            self.connection.close()
            start = time.perf_counter()
            self.connection.request(method, path, body=data, headers=headers)
            reply = self.connection.getresponse()
        raw = reply.read()
        seconds = time.perf_counter() - start
        return reply.status, json.loads(raw), seconds


def read_rows(path):
    with open(path, encoding="utf-8") as file:
        return [line.rstrip("\n") for line in file if line.strip()]


def partly_filled(filled, keep_rows):
    """The filled grid with only the letters of its first `keep_rows` rows
    kept; every square is one character in the alphabets measured here."""
    rows = []
    for index, row in enumerate(filled):
        if index < keep_rows:
            rows.append(row)
        else:
            rows.append("".join("#" if c == "#" else "*" for c in row))
    return rows


def time_candidates(api, rows, name, times, counts, first, long_times):
    """Asks for the candidates at every open square in both directions;
    `first` gets the times of the first question about each slot,
    `long_times` those of slots of 15 letters or more."""
    seen = set()
    for r, row in enumerate(rows):
        for c, square in enumerate(row):
            if square == "#":
                continue
            for direction in ("across", "down"):
                status, reply, seconds = api.call(
                    "POST", "/api/candidates",
                    {"rows": rows, "row": r, "col": c,
                     "direction": direction, "limit": LIMIT})
                if status != 200:
                    raise SystemExit(f"candidates {name} {r},{c} {direction}: "
                                     f"{status} {reply}")
                times.append(seconds)
                counts.append(reply["count"])
                if reply["slot"]["length"] >= 15:
                    long_times.append(seconds)
                slot = tuple(reply["slot"].values())
                if slot not in seen:
                    seen.add(slot)
                    first.append(seconds)


def time_fill_program(fill, alphabet, lists, pattern, rounds):
    """Median wall seconds of `rounds` runs of polimreza-fill, process start
    and list reading included."""
    runs = []
    for _ in range(rounds):
        start = time.perf_counter()
        result = subprocess.run(
            [fill, "--quiet", "--time-limit", "30", "--alphabet", alphabet,
             "--lists", lists, pattern],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        runs.append(time.perf_counter() - start)
        if result.returncode != 0:
            say(f"polimreza-fill {pattern}: exit {result.returncode}")
    return statistics.median(runs)


def first_paint(url, loads):
    """First contentful paint and the time the grid's squares were seen, in
    seconds, of `loads` page loads, each in a fresh headless Chromium."""
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.support.ui import WebDriverWait

    paints, grids = [], []
    for _ in range(loads):
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        for flag in ("--headless=new", "--no-sandbox", "--disable-gpu",
                     "--disable-dev-shm-usage", "--window-size=1280,1024"):
            options.add_argument(flag)
        driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"),
                                  options=options)
        try:
            driver.get(url)
            # The grid is drawn once the page has the alphabet from the
            # server; performance.now() when its squares are first seen is
            # an upper bound of when they were drawn.
            grid = WebDriverWait(driver, 10, poll_frequency=0.005).until(
                lambda d: d.execute_script(
                    "return document.querySelector('#grid td') ? "
                    "performance.now() : null"))
            paint = driver.execute_script(
                "const e = performance.getEntriesByType('paint')"
                ".find((p) => p.name === 'first-contentful-paint');"
                "return e ? e.startTime : null;")
            if paint is None:
                raise SystemExit("no first-contentful-paint entry")
            paints.append(paint / 1000)
            grids.append(grid / 1000)
        finally:
            driver.quit()
    return paints, grids


def resident_kb(pid):
    """VmRSS and VmHWM of the process, in KB."""
    values = {}
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            key, _, value = line.partition(":")
            if key in ("VmRSS", "VmHWM"):
                values[key] = int(value.split()[0])
    return values["VmRSS"], values["VmHWM"]


def main():
    studio, fill, alphabet, lists, work, rounds, loads = sys.argv[1:8]
    patterns = sys.argv[8:]
    rounds, loads = int(rounds), int(loads)
    server = subprocess.Popen(
        [studio, "--alphabet", alphabet, "--lists", lists],
        cwd=work, stdout=subprocess.PIPE, text=True)
    try:
        url = server.stdout.readline().strip()
        if not url.startswith("http://"):
            raise SystemExit("polimreza-studio did not start")
        api = Api(url)
        status, info, _ = api.call("GET", "/api/info")
        print(f"words\t{sum(info['lists'])}")

        # The first question of a server builds what its searches keep
        # (the lists' letter indexes): timed apart from the rest.
        rows = read_rows(patterns[0])
        first_open = next((r, c) for r, row in enumerate(rows)
                          for c, square in enumerate(row) if square != "#")
        _, _, cold = api.call("POST", "/api/candidates",
                              {"rows": rows, "row": first_open[0],
                               "col": first_open[1], "direction": "across",
                               "limit": LIMIT})
        print(f"cold_candidates\t{cold:.4f}")

        api_fills, program_fills, times, counts, first = [], [], [], [], []
        long_times = []
        for pattern in patterns:
            name = os.path.basename(pattern)
            rows = read_rows(pattern)
            runs, filled = [], None
            for _ in range(rounds):
                status, reply, seconds = api.call(
                    "POST", "/api/fill", {"rows": rows, "timeLimit": 30})
                if status != 200:
                    raise SystemExit(f"fill {name}: {status} {reply}")
                runs.append(seconds)
                if reply["status"] == "filled":
                    filled = reply["rows"]
            api_fill = statistics.median(runs)
            program_fill = time_fill_program(fill, alphabet, lists, pattern,
                                             rounds)
            api_fills.append(api_fill)
            program_fills.append(program_fill)
            say(f"{alphabet} {name}: fill through the API {api_fill:.4f} s, "
                f"polimreza-fill {program_fill:.4f} s")

            grids = [("empty", rows)]
            if filled is not None:
                grids.append(("partly filled",
                              partly_filled(filled, len(rows) // 3)))
            for kind, grid in grids:
                before = len(times)
                time_candidates(api, grid, name, times, counts, first,
                                long_times)
                part = times[before:]
                say(f"{alphabet} {name} {kind}: {len(part)} candidate lists, "
                    f"p50 {statistics.median(part) * 1000:.2f} ms, "
                    f"p95 {percentile(part, 0.95) * 1000:.2f} ms, "
                    f"max {max(part) * 1000:.2f} ms")

        print(f"candidates_n\t{len(times)}")
        print(f"candidates_p50\t{statistics.median(times):.4f}")
        print(f"candidates_p95\t{percentile(times, 0.95):.4f}")
        print(f"candidates_max\t{max(times):.4f}")
        print(f"candidates_words_median\t{statistics.median(counts)}")
        if long_times:
            print(f"long_n\t{len(long_times)}")
            print(f"long_p50\t{statistics.median(long_times):.4f}")
            print(f"long_p95\t{percentile(long_times, 0.95):.4f}")
            print(f"long_max\t{max(long_times):.4f}")
        print(f"first_n\t{len(first)}")
        print(f"first_p50\t{statistics.median(first):.4f}")
        print(f"first_p95\t{percentile(first, 0.95):.4f}")
        print(f"first_max\t{max(first):.4f}")
        print(f"fill_api\t{statistics.median(api_fills):.4f}")
        print(f"fill_program\t{statistics.median(program_fills):.4f}")

        if loads > 0:
            paints, drawn = first_paint(url, loads)
            print(f"paint_median\t{statistics.median(paints):.4f}")
            print(f"paint_max\t{max(paints):.4f}")
            print(f"grid_median\t{statistics.median(drawn):.4f}")

        rss, hwm = resident_kb(server.pid)
        print(f"rss_kb\t{rss}")
        print(f"hwm_kb\t{hwm}")
    finally:
        server.send_signal(signal.SIGTERM)
        if server.wait(timeout=10) != 0:
            say(f"polimreza-studio exited with {server.returncode}")


if __name__ == "__main__":
    main()
