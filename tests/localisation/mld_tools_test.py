#!/usr/bin/env python3
"""px10-mldgen makes the same file from the same text dictionary, px10-mldinfo
reads it as the text dictionary reads, and damaged files end with their message."""
import json
import os
import subprocess
import sys
import tempfile

MLDGEN, MLDINFO = sys.argv[1], sys.argv[2]
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def run(*args):
    return subprocess.run(list(args), capture_output=True, text=True)


LANGUAGES = ("English\tEnglish\t9\t\t1\t\t0\t0\t0\t1252\ten\tUS\tUS\n"
             "German\tDeutsch\t7\t\t1\tTahoma\t8\t0\t0\t1252\tde\tDE\tDE\n"
             "Russian\tРусский\t25\t\t1\t\t0\t0\t0\t1251\tru\tRU\tRU\n")
TRANSLATIONS = ("Open\tÖffnen\tОткрыть\n"
                "Save\tSpeichern\t\n"
                "\n"
                "Two#Llines\tZwei#LZeilen\t\n")
months = ["Jänner", "Februar", "März", "April", "Mai", "Juni", "Juli", "August", "September",
          "Oktober", "November", "Dezember"]
days = ["Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag", "Sonntag"]
LOCALE = "\t".join(["7", "3", "0", "German", "Deutsch", "Austria", "Österreich", "1252", "0", "€", "2", "9",
                    ".", ",", "2", ".", "dd.MM.yyyy", "dddd, d. MMMM yyyy", ":", "", "", "1", "1", "1",
                    "0", "0", "2"] + [m[:3] for m in months] + months + [d[:2] for d in days] + days
                   + ["German", "Austria", "0", "de", "AT", "1", "0"]) + "\n"

with tempfile.TemporaryDirectory() as tmp:
    def path(name):
        return os.path.join(tmp, name)

    for name, text in (("lang.txt", LANGUAGES), ("trans.txt", TRANSLATIONS), ("locale.txt", LOCALE)):
        with open(path(name), "w", encoding="utf-8") as f:
            f.write(text)
    sources = [path("lang.txt"), path("trans.txt"), path("locale.txt")]

    first = run(MLDGEN, *sources, "-o", path("a.mld"), "--description", "PX10Tool", "--owner", "Veltrane")
    second = run(MLDGEN, *sources, "-o", path("b.mld"), "--description", "PX10Tool", "--owner", "Veltrane")
    check(first.returncode == 0 and second.returncode == 0, "mldgen runs: " + first.stderr + second.stderr)
    data = open(path("a.mld"), "rb").read()
    check(data == open(path("b.mld"), "rb").read(), "mldgen is reproducible")

    binary = run(MLDINFO, path("a.mld"), "--language", "1")
    check(binary.returncode == 0, "mldinfo reads the generated file: " + binary.stderr)
    info = json.loads(binary.stdout)
    check(info["header"]["version"] == 3 and info["header"]["unicode"]
          and info["header"]["byteOrder"] == "little-endian", "version 3, UTF-16, little-endian")
    check(info["info"]["date"] == "2026-01-01T00:00:00", "the fixed creation date")
    check(info["languages"][2]["nativeName"] == "Русский", "the Russian native name")
    check(info["locales"][0]["nativeCountry"] == "Österreich" and info["locales"][0]["currency"] == "€",
          "the locale's texts")
    results = {t["native"]: t["result"] for t in info["translate"]}
    check(results == {"Open": "Öffnen", "Save": "Speichern", "Two\nlines": "Zwei\nZeilen"},
          "translations: %r" % results)

    text = run(MLDINFO, "--text", *sources, "--format", "utf8", "--language", "1")
    check(text.returncode == 0, "mldinfo reads the text dictionary: " + text.stderr)
    text_results = {t["native"]: t["result"] for t in json.loads(text.stdout)["translate"]}
    check(text_results == results, "the text dictionary translates as its MLD file: %r" % text_results)

    def damaged(name, content, message):
        with open(path(name), "wb") as f:
            f.write(content)
        r = run(MLDINFO, path(name), "--language", "2")
        check(r.returncode == 1 and r.stderr.strip() == "px10-mldinfo: " + message,
              "%s: %r %r" % (name, r.returncode, r.stderr))
        ops = run(MLDINFO, path(name), "--ops")
        check(ops.returncode == 1 and message in [o["result"] for o in json.loads(ops.stdout)["ops"]],
              "%s with --ops: %r" % (name, ops.stdout[-300:]))

    for cut in (0, 10, 41, 60, len(data) // 2, len(data) - 1):
        damaged("cut%d.mld" % cut, data[:cut], "Stream read error")
    damaged("version0.mld", data[:3] + b"\0" + data[4:], "The stream is not a valid MLD stream")
    damaged("notranslations.mld", data[:20] + b"\0\0\0\0" + data[24:], "Invalid translation offset")
    damaged("pastend.mld", data[:14] + b"\xff\xff\xff\x7f" + data[18:], "Stream read error")
    # A named pipe that nobody writes to is refused at once.
    os.mkfifo(path("pipe.mld"))
    try:
        r = subprocess.run([MLDINFO, path("pipe.mld")], capture_output=True, text=True, timeout=10)
        check(r.returncode == 1 and r.stderr.strip() == 'px10-mldinfo: Cannot open file "%s".' % path("pipe.mld"),
              "a named pipe: %r %r" % (r.returncode, r.stderr))
    except subprocess.TimeoutExpired:
        check(False, "mldinfo waits on a named pipe")

for f in failures:
    print("FAILED:", f)
sys.exit(1 if failures else 0)
