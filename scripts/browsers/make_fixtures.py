"""Makes the browser fixture profiles with the real browsers and lays out trimmed copies as on
Windows. Usage: make_fixtures.py OUT WORK"""
import json
import os
import shutil
import sqlite3
import sys

import chromium
import firefox
import website

# Firefox profiles as on Windows: Profiles/<salt>.<name>, the first the default.
FIREFOX_PROFILES = [("k3v9x2qa.default-release", "default-release"), ("p7m4t1zd.work", "work")]
CHROMIUM_PROFILES = ["Default", "Profile 1"]

FIREFOX_KEEP = ["places.sqlite", "favicons.sqlite", "cookies.sqlite", "formhistory.sqlite",
                "sessionstore.jsonlz4", "sessionstore-backups", "webappsstore.sqlite", "prefs.js",
                "extensions.json", "logins.json", "key4.db",
                "serviceworker.txt", "storage.sqlite", "bookmarkbackups",
                "xulstore.json", "times.json", "compatibility.ini"]
CHROMIUM_KEEP = ["Preferences", "Secure Preferences", "Bookmarks", "History", "Favicons",
                 "Top Sites", "Shortcuts", "Web Data", "Login Data", "Login Data For Account",
                 "Network Action Predictor", "Visited Links", "Cache", "Code Cache", "GPUCache",
                 "Sessions", "Local Storage", "IndexedDB", "Session Storage", "Service Worker"]
# On Windows these live in the profile's Network folder (the network service's own files).
CHROMIUM_NETWORK = ["Cookies", "Network Persistent State", "TransportSecurity",
                    "Reporting and NEL", "Trust Tokens"]

PROFILES_INI = """[Install6F193CCC56814779]\r
Default=Profiles/{0}\r
Locked=1\r
\r
[Profile1]\r
Name={3}\r
IsRelative=1\r
Path=Profiles/{2}\r
\r
[Profile0]\r
Name={1}\r
IsRelative=1\r
Path=Profiles/{0}\r
Default=1\r
\r
[General]\r
StartWithLastProfile=1\r
Version=2\r
"""


def copy(src, dst):
    if not os.path.exists(src):
        return False
    os.makedirs(os.path.dirname(dst), exist_ok=True)
    if os.path.isdir(src):
        shutil.copytree(src, dst, symlinks=False, ignore=shutil.ignore_patterns("LOCK", "lock"))
    else:
        shutil.copy2(src, dst)
    return True


def with_companions(src_dir, name, dst_dir):
    """Copies a file with its -wal, -shm and -journal files, if any."""
    for suffix in ("", "-wal", "-shm", "-journal"):
        copy(os.path.join(src_dir, name + suffix), os.path.join(dst_dir, name + suffix))


def is_sqlite(path):
    with open(path, "rb") as f:
        return f.read(16) == b"SQLite format 3\0"


def checkpoint(root):
    """Folds every write-ahead log into its database, so that no -wal or -shm is left."""
    for folder, _, files in os.walk(root):
        for name in files:
            path = os.path.join(folder, name)
            if name.endswith(("-wal", "-shm", "-journal")) or not is_sqlite(path):
                continue
            if os.path.exists(path + "-wal") or os.path.exists(path + "-shm"):
                db = sqlite3.connect(path)
                db.execute("PRAGMA wal_checkpoint(TRUNCATE)")
                db.close()
            for suffix in ("-wal", "-shm"):
                if os.path.exists(path + suffix):
                    os.remove(path + suffix)


def trim(root):
    """Cuts the room that the browsers set aside past a database's last page (SQLite reads
    the size from the header), so that the fixtures stay small."""
    for folder, _, files in os.walk(root):
        for name in files:
            path = os.path.join(folder, name)
            if not is_sqlite(path):
                continue
            with open(path, "rb") as f:
                header = f.read(100)
            page_size = int.from_bytes(header[16:18], "big")
            page_size = 65536 if page_size == 1 else page_size
            pages = int.from_bytes(header[28:32], "big")
            if pages and header[24:28] == header[92:96] and os.path.getsize(path) > pages * page_size:
                os.truncate(path, pages * page_size)


def make_firefox(out, work, plan):
    notes = {}
    roaming = os.path.join(out, "firefox/Roaming/Mozilla/Firefox")
    local = os.path.join(out, "firefox/Local/Mozilla/Firefox")
    for index, (folder, _) in enumerate(FIREFOX_PROFILES):
        profile = os.path.join(work, "firefox", folder)
        downloads = os.path.join(work, "downloads", folder)
        os.makedirs(profile)
        os.makedirs(downloads)
        notes[folder] = firefox.fill(profile, os.path.join(work, "firefox-run"), plan, downloads,
                                     with_login=index == 0)
        dst = os.path.join(roaming, "Profiles", folder)
        for name in FIREFOX_KEEP:
            if name != "key4.db" or index == 0:  # the key store of the saved login
                with_companions(profile, name, dst)
        for site in os.listdir(os.path.join(profile, "storage/default")):
            copy(os.path.join(profile, "storage/default", site),
                 os.path.join(dst, "storage/default", site))
        # Without a profile below ~/.mozilla the cache stays in the profile; on Windows it is
        # below the local application data folder.
        copy(os.path.join(profile, "cache2"), os.path.join(local, "Profiles", folder, "cache2"))
    (a, an), (b, bn) = FIREFOX_PROFILES
    with open(os.path.join(roaming, "profiles.ini"), "w", newline="") as f:
        f.write(PROFILES_INI.format(a, an, b, bn))
    return notes


def make_chromium(out, work, plan):
    notes = {}
    user_data = os.path.join(work, "chromium")
    dst_root = os.path.join(out, "chromium/Local/Chromium/User Data")
    for profile in CHROMIUM_PROFILES:
        downloads = os.path.join(work, "downloads", profile)
        os.makedirs(downloads)
        notes[profile] = chromium.fill(user_data, profile, os.path.join(work, "chromium-run"),
                                       plan, downloads, with_login=profile == "Default")
    for profile in CHROMIUM_PROFILES:
        src = os.path.join(user_data, profile)
        dst = os.path.join(dst_root, profile)
        for name in CHROMIUM_KEEP:
            with_companions(src, name, dst)
        for name in CHROMIUM_NETWORK:
            with_companions(src, name, os.path.join(dst, "Network"))
            with_companions(os.path.join(src, "Network"), name, os.path.join(dst, "Network"))
    copy(os.path.join(user_data, "Local State"), os.path.join(dst_root, "Local State"))
    with open(os.path.join(dst_root, "Local State")) as f:
        cache = json.load(f).get("profile", {}).get("info_cache", {})
    notes["profile names"] = {k: v.get("name") for k, v in cache.items()}
    return notes


def main():
    out, work = sys.argv[1], sys.argv[2]
    server, port = website.start()
    plan = website.plan(port)
    plan["form_values"] = website.FORM_VALUES
    plan["origin"] = f"http://127.0.0.1:{port}"
    for sub in ("firefox", "chromium"):
        shutil.rmtree(os.path.join(out, sub), ignore_errors=True)
    os.makedirs(os.path.join(work, "firefox-run"), exist_ok=True)
    os.makedirs(os.path.join(work, "chromium-run"), exist_ok=True)
    notes = {"firefox": make_firefox(out, work, plan), "chromium": make_chromium(out, work, plan)}
    server.shutdown()
    checkpoint(out)
    trim(out)

    visited = plan["pages"] + plan["searches"] + plan["storage"] + [
        plan["form"], plan["thanks"], plan["download"]]
    lists = {"visited.txt": visited, "bookmarked.txt": plan["bookmarked"],
             "form-values.txt": list(website.FORM_VALUES.values())}
    for name, lines in lists.items():
        with open(os.path.join(out, name), "w") as f:
            f.write("".join(line + "\n" for line in lines))
    notes["versions"] = [firefox.version(), chromium.version()]
    notes["port"] = port
    print(json.dumps(notes, indent=1))


if __name__ == "__main__":
    main()
