"""Checks, from Linux, the browser profiles that hushmark-cli cleaned in the sandbox against the
fixtures they were copied from. Usage: check_cleaned.py FIXTURES APPDATA
Prints one line per failed check and exits 1 if any failed."""
import json
import os
import shutil
import sqlite3
import sys
import tempfile

fixtures, appdata = sys.argv[1], sys.argv[2]
FIREFOX = ("firefox/Roaming/Mozilla/Firefox", "Roaming/Mozilla/Firefox")
FIREFOX_LOCAL = ("firefox/Local/Mozilla/Firefox", "Local/Mozilla/Firefox")
CHROMIUM_TREES = [("chromium/Local/Chromium/User Data", "Local/Chromium/User Data"),
                  ("chromium/Local/Chromium/User Data", "Local/Google/Chrome/User Data")]
failures = []


def fail(message):
    failures.append(message)
    print("FAIL:", message)


def lines(name):
    with open(os.path.join(fixtures, name), encoding="utf-8") as f:
        return [line for line in f.read().splitlines() if line]


def files_below(root):
    for folder, _, names in os.walk(root):
        for name in names:
            yield os.path.join(folder, name)


def lz4_block(data, size):
    """Decompresses one LZ4 block (the format inside Firefox's mozLz4 files)."""
    out = bytearray()
    i = 0
    while i < len(data):
        token = data[i]
        i += 1
        literals = token >> 4
        if literals == 15:
            while True:
                extra = data[i]
                i += 1
                literals += extra
                if extra != 255:
                    break
        out += data[i:i + literals]
        i += literals
        if i >= len(data) or len(out) >= size:
            break
        offset = data[i] | data[i + 1] << 8
        i += 2
        length = token & 15
        if length == 15:
            while True:
                extra = data[i]
                i += 1
                length += extra
                if extra != 255:
                    break
        length += 4
        for _ in range(length):
            out.append(out[-offset])
    return bytes(out)


def readable(path):
    """The bytes a file holds, and for a mozLz4 file also what it holds uncompressed."""
    with open(path, "rb") as f:
        data = f.read()
    if data.startswith(b"mozLz40\0"):
        data += lz4_block(data[12:], int.from_bytes(data[8:12], "little"))
    return data


def is_sqlite(path):
    with open(path, "rb") as f:
        return f.read(16) == b"SQLite format 3\0"


def query(path, sql, args=()):
    """Runs SQL on a copy of the database (with its -wal), leaving the sandbox untouched."""
    with tempfile.TemporaryDirectory() as tmp:
        copy = os.path.join(tmp, "db")
        shutil.copyfile(path, copy)
        if os.path.exists(path + "-wal"):
            shutil.copyfile(path + "-wal", copy + "-wal")
        db = sqlite3.connect(copy)
        try:
            return db.execute(sql, args).fetchall()
        finally:
            db.close()


def same_bytes(original, cleaned):
    if not os.path.exists(cleaned):
        fail(f"{cleaned} is gone")
        return
    with open(original, "rb") as a, open(cleaned, "rb") as b:
        if a.read() != b.read():
            fail(f"{cleaned} changed")


firefox_root = os.path.join(appdata, FIREFOX[1])
firefox_profiles = sorted(os.listdir(os.path.join(fixtures, FIREFOX[0], "Profiles")))
chromium_roots = [(os.path.join(fixtures, src), os.path.join(appdata, dst))
                  for src, dst in CHROMIUM_TREES]
chromium_profiles = [name for name in os.listdir(chromium_roots[0][0])
                     if os.path.isfile(os.path.join(chromium_roots[0][0], name, "Preferences"))]
roots = [firefox_root, os.path.join(appdata, FIREFOX_LOCAL[1])] + [c for _, c in chromium_roots]
bookmarked = lines("bookmarked.txt")
needles = [(text, form) for text in lines("visited.txt") + lines("form-values.txt")
           for form in (text.encode(), text.encode("utf-16-le"))]

# Nothing visited and nothing typed into a form remains, in any byte of any file.
scanned = databases = 0
for root in roots:
    for path in files_below(root):
        scanned += 1
        data = readable(path)
        found = sorted({text for text, form in needles if form in data})
        if found:
            fail(f"{path} still holds {len(found)} of the erased strings, e.g. {found[0]}")

# What the user keeps is left as it was.
for folder in firefox_profiles:
    for name in ("prefs.js", "extensions.json"):
        same_bytes(os.path.join(fixtures, FIREFOX[0], "Profiles", folder, name),
                   os.path.join(firefox_root, "Profiles", folder, name))
for original_root, cleaned_root in chromium_roots:
    same_bytes(os.path.join(original_root, "Local State"), os.path.join(cleaned_root, "Local State"))
    for profile in chromium_profiles:
        for name in ("Preferences", "Bookmarks"):
            same_bytes(os.path.join(original_root, profile, name),
                       os.path.join(cleaned_root, profile, name))

# Bookmarks keep their places entries and their favicons.
FIREFOX_ICON = """SELECT count(*) FROM moz_pages_w_icons p JOIN moz_icons_to_pages ip ON ip.page_id = p.id
                  JOIN moz_icons i ON i.id = ip.icon_id WHERE p.page_url = ? AND length(i.data) > 0"""
CHROMIUM_ICON = """SELECT count(*) FROM icon_mapping m JOIN favicon_bitmaps b ON b.icon_id = m.icon_id
                   WHERE m.page_url = ? AND length(b.image_data) > 0"""
for folder in firefox_profiles:
    profile = os.path.join(firefox_root, "Profiles", folder)
    places, favicons = (os.path.join(profile, n) for n in ("places.sqlite", "favicons.sqlite"))
    if not os.path.isdir(profile):
        fail(f"{profile} is gone")
        continue
    if any(name.startswith("places.sqlite.corrupt") for name in os.listdir(profile)):
        fail(f"{profile}: Firefox would find places.sqlite corrupt")
    if not (os.path.exists(places) and os.path.exists(favicons)):
        fail(f"{profile}: places.sqlite or favicons.sqlite is gone")
        continue
    for url in bookmarked:
        if not query(places, "SELECT count(*) FROM moz_bookmarks b JOIN moz_places p ON p.id = b.fk"
                             " WHERE p.url = ?", (url,))[0][0]:
            fail(f"{places}: the bookmark of {url} is gone")
        if not query(favicons, FIREFOX_ICON, (url,))[0][0]:
            fail(f"{favicons}: the favicon of bookmarked {url} is gone")
for _, cleaned_root in chromium_roots:
    for profile in chromium_profiles:
        favicons = os.path.join(cleaned_root, profile, "Favicons")
        for url in bookmarked:
            if not os.path.exists(favicons) or not query(favicons, CHROMIUM_ICON, (url,))[0][0]:
                fail(f"{favicons}: the favicon of bookmarked {url} is gone")

# The kept site's cookies stay; the other site's go.
cookie_stores = [(os.path.join(firefox_root, "Profiles", f, "cookies.sqlite"), "moz_cookies", "host")
                 for f in firefox_profiles]
cookie_stores += [(os.path.join(c, p, "Network", "Cookies"), "cookies", "host_key")
                  for _, c in chromium_roots for p in chromium_profiles]
for path, table, column in cookie_stores:
    if not os.path.exists(path):
        fail(f"{path} is gone, with the cookies of localhost")
        continue
    hosts = [row[0] for row in query(path, f"SELECT {column} FROM {table}")]
    if not any(h in ("localhost", ".localhost") for h in hosts):
        fail(f"{path}: the cookies of localhost are gone")
    if any(h in ("127.0.0.1", ".127.0.0.1") for h in hosts):
        fail(f"{path}: cookies of 127.0.0.1 remain")

# No saved login is left.
for folder in firefox_profiles:
    path = os.path.join(firefox_root, "Profiles", folder, "logins.json")
    if os.path.exists(path):
        with open(path, encoding="utf-8") as f:
            if json.load(f).get("logins"):
                fail(f"{path} still holds saved logins")
for _, cleaned_root in chromium_roots:
    for profile in chromium_profiles:
        path = os.path.join(cleaned_root, profile, "Login Data")
        if os.path.exists(path) and query(path, "SELECT count(*) FROM logins")[0][0]:
            fail(f"{path} still holds saved logins")

# No journal is left beside a removed database, and every database is sound.
for root in roots:
    for path in files_below(root):
        for suffix in ("-wal", "-shm", "-journal"):
            if path.endswith(suffix) and not os.path.exists(path[:-len(suffix)]):
                if suffix != "-journal" or os.path.getsize(path) > 0:
                    fail(f"{path} is left without its database")
        if is_sqlite(path):
            databases += 1
            try:
                result = query(path, "PRAGMA integrity_check")
            except sqlite3.DatabaseError as error:
                result = [(str(error),)]
            if result != [("ok",)]:
                fail(f"{path}: integrity_check says {result[:3]}")

print(f"check_cleaned: {scanned} files scanned for {len(needles) // 2} erased strings, "
      f"{databases} databases checked, {len(bookmarked)} bookmarks looked for in "
      f"{len(firefox_profiles)} Firefox and {2 * len(chromium_profiles)} Chromium-family profiles; "
      f"{len(failures)} failed checks")
sys.exit(1 if failures else 0)
