#!/usr/bin/env python3
"""Prints through a real CUPS spooler: a private cupsd with a cups-pdf queue.

  print_spooler_test.py SIGNOVAT RUN.DRI

Starts its own scheduler on a socket of its own (so it never touches a
running one), adds a cups-pdf queue that writes into a temporary folder,
prints the 4-page run with "signovat print" and compares the spooled PDF,
rasterised at 150 dpi, with the same pages written by "signovat render".
Also checks "signovat printers" (the queues as QPrinterInfo offers them to the
print dialog) and the one-line refusals of "print". Stops the scheduler and
removes the queue and its configuration afterwards. Exits 77 (skipped, with
the reason) where CUPS cannot be started.
"""

import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

SKIP = 77
PPD = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd"
BACKEND = "/usr/lib/cups/backend/cups-pdf"
DPI = 150
# Pages agree when at most 0.2 % of the 5 x 5 pixel blocks that hold ink on
# one have no ink within one block around them on the other. Ghostscript
# redraws the text in fonts of its own, which moves glyph edges by a pixel; a
# missing line or bar, or another page, leaves at least 1 % of them alone.
BLOCK, PAGE_TOLERANCE = 5, 0.002


def skip(reason):
    print(f"SKIPPED: {reason}")
    sys.exit(SKIP)


def run(args, env, check=True):
    p = subprocess.run(args, env=env, capture_output=True, text=True, timeout=60)
    if check and p.returncode != 0:
        raise AssertionError(f"{' '.join(args)} -> {p.returncode}\n{p.stdout}{p.stderr}")
    return p


def wait_for(condition, seconds, what):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if condition():
            return
        time.sleep(0.2)
    raise AssertionError(f"not within {seconds} s: {what}")


def grey_pages(pdf, prefix):
    """Pages of pdf at DPI as (width, height, bytes) grey images, portrait or not as drawn."""
    subprocess.run(["pdftoppm", "-r", str(DPI), "-gray", pdf, prefix], check=True, timeout=60, stderr=subprocess.DEVNULL)
    folder, stem = os.path.split(prefix)
    pages = []
    for name in sorted(f for f in os.listdir(folder) if f.startswith(stem + "-") and f.endswith(".pgm")):
        with open(os.path.join(folder, name), "rb") as f:
            data = f.read()
        fields = data.split(maxsplit=4)  # P5 width height maxval pixels
        pages.append((int(fields[1]), int(fields[2]), fields[4]))
    return pages


def landscape(page):
    """The page turned to landscape, as a printer turns a landscape job onto portrait paper."""
    w, h, px = page
    if w >= h:
        return page
    # Turned a quarter clockwise: the new row y is the old column y, read from the bottom.
    turned = bytearray(w * h)
    for y in range(w):
        turned[y * h:(y + 1) * h] = px[y::w][::-1]
    return h, w, bytes(turned)


def ink_map(page):
    """Per BLOCK x BLOCK block of the page: does it hold a dark pixel?"""
    w, h, px = page
    blocks = []
    for by in range(h // BLOCK):
        band = [px[(by * BLOCK + i) * w:(by * BLOCK + i + 1) * w] for i in range(BLOCK)]
        darkest = bytes(map(min, *band))
        blocks.append([min(darkest[bx * BLOCK:(bx + 1) * BLOCK]) < 128 for bx in range(w // BLOCK)])
    return blocks


def unmatched_share(a, b):
    """The share of a's inked blocks that have no ink in the 3 x 3 blocks around them in b."""
    inked = missing = 0
    for y, row in enumerate(a):
        for x, ink in enumerate(row):
            if ink:
                inked += 1
                missing += not any(b[yy][xx] for yy in range(max(0, y - 1), min(len(b), y + 2))
                                   for xx in range(max(0, x - 1), min(len(b[0]), x + 2)))
    return missing / max(inked, 1)


def differing_share(got, want):
    a, b = ink_map(got), ink_map(want)
    return max(unmatched_share(a, b), unmatched_share(b, a))


def main():
    signovat, run_file = sys.argv[1], sys.argv[2]
    os.environ["PATH"] += ":/usr/sbin:/sbin"  # the administration tools of CUPS
    for tool in ("cupsd", "lpadmin", "lpstat", "cupsreject", "pdfinfo", "pdftoppm"):
        if not shutil.which(tool):
            skip(f"{tool} is not installed (scripts/setup.sh installs cups and printer-driver-cups-pdf)")
    if not os.path.exists(BACKEND) or not os.path.exists(PPD):
        skip("the cups-pdf backend is not installed (printer-driver-cups-pdf)")
    if os.geteuid() != 0:
        skip("cups-pdf runs as root only: a private scheduler needs root to run it")

    work = tempfile.mkdtemp(prefix="signovat-spooler-")
    queue = f"signovat-test-{os.getpid()}"
    # cups-pdf reads the configuration named after the device URI from its fixed folder.
    queue_conf = f"/etc/cups/cups-pdf-{queue}.conf"
    out = os.path.join(work, "out")
    socket = os.path.join(work, "cups.sock")
    for d in ("out", "spool", "spool/tmp", "cache", "state", "log", "ppd"):
        os.makedirs(os.path.join(work, d))
    os.chmod(work, 0o755)
    with open(os.path.join(work, "cupsd.conf"), "w") as f:
        f.write(f"Listen {socket}\nLogLevel warn\nBrowsing Off\nDefaultAuthType None\n"
                "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n")
    with open(os.path.join(work, "cups-files.conf"), "w") as f:
        f.write(f"ServerRoot {work}\nRequestRoot {work}/spool\nTempDir {work}/spool/tmp\n"
                f"CacheDir {work}/cache\nStateDir {work}/state\nErrorLog {work}/log/error_log\n"
                f"AccessLog {work}/log/access_log\nPageLog {work}/log/page_log\nSystemGroup root\n")
    env = dict(os.environ, CUPS_SERVER=socket, LC_ALL="C")
    daemon = None
    try:
        daemon = subprocess.Popen(["cupsd", "-f", "-c", os.path.join(work, "cupsd.conf"),
                                   "-s", os.path.join(work, "cups-files.conf")],
                                  stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        try:
            wait_for(lambda: daemon.poll() is not None or
                     run(["lpstat", "-r"], env, check=False).stdout.startswith("scheduler is running"),
                     15, "the scheduler answers")
        except AssertionError:
            pass
        if daemon.poll() is not None or not run(["lpstat", "-r"], env, check=False).stdout.startswith("scheduler is running"):
            skip(f"cupsd did not start: {daemon.stderr.read() if daemon.poll() is not None else 'no answer'}")

        with open(queue_conf, "w") as f:
            f.write(f"Out {out}\nAnonDirName {out}\nLabel 1\n")
        run(["lpadmin", "-p", queue, "-E", "-v", f"cups-pdf:/{queue}", "-P", PPD, "-o", "PageSize=A4"], env)
        run(["lpadmin", "-d", queue], env)

        # The queue as the print dialog lists it, the default marked.
        listed = run([signovat, "printers"], env).stdout
        assert f"* {queue}\n" in listed, listed

        # The 4-page run, in black and white.
        printed = run([signovat, "print", "--printer", queue, "--bw", "--run", run_file], env)
        assert printed.stdout.startswith(f"Auftrag {queue}-"), printed.stdout
        wait_for(lambda: any(f.endswith(".pdf") for f in os.listdir(out)) and
                 not run(["lpstat", "-o", queue], env, check=False).stdout.strip(), 60, "cups-pdf wrote the job")
        spooled = os.path.join(out, next(f for f in os.listdir(out) if f.endswith(".pdf")))
        info = run(["pdfinfo", spooled], env).stdout
        assert re.search(r"^Pages:\s+4$", info, re.M), info

        rendered = os.path.join(work, "rendered.pdf")
        run([signovat, "render", "--bw", "--run", run_file, "--out", rendered], env)
        got = grey_pages(spooled, os.path.join(work, "spooled"))
        want = grey_pages(rendered, os.path.join(work, "rendered"))
        assert len(got) == len(want) == 4
        for number, (g, w) in enumerate(zip(got, want), start=1):
            share = differing_share(landscape(g), w)
            print(f"page {number}: {share:.2%} of the inked blocks unmatched")
            assert share <= PAGE_TOLERANCE, f"page {number}: {share:.2%} of the inked blocks unmatched"

        # One job per copy.
        copies = run([signovat, "print", "--copies", "2", "--pages", "1", "--run", run_file], env).stdout
        assert copies.count(f"an {queue} gesendet\n") == 2, copies

        # Refusals: one line each, exit 1.
        def refused(args, reason):
            p = run([signovat, "print", "--run", run_file] + args, env, check=False)
            lines = p.stderr.strip().splitlines()
            assert p.returncode == 1 and len(lines) == 1 and reason in lines[0], (args, p.returncode, p.stderr)

        refused(["--printer", "fehlt"], 'Drucker "fehlt" nicht gefunden')
        run(["cupsreject", queue], env)
        refused([], f'Drucker "{queue}" hat den Auftrag nicht angenommen')
        env["CUPS_SERVER"] = os.path.join(work, "nobody.sock")
        refused(["--printer", queue], "kein Drucksystem erreichbar")
        env["CUPS_SERVER"] = socket
        print("ok")
    finally:
        if daemon and daemon.poll() is None:
            run(["lpadmin", "-x", queue], env, check=False)
            daemon.send_signal(signal.SIGTERM)
            try:
                daemon.wait(timeout=15)
            except subprocess.TimeoutExpired:
                daemon.kill()
                daemon.wait()
        if os.path.exists(queue_conf):
            os.remove(queue_conf)
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
