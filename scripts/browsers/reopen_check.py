"""Starts a real browser, headless, on a cleaned profile and checks that it still reads the
bookmarks. Usage: reopen_check.py firefox PROFILE BOOKMARKS | chromium USER-DATA BOOKMARKS"""
import os
import sys
import tempfile
import time

BOOKMARKED = """
const urls = arguments[0];
const { PlacesUtils } = ChromeUtils.importESModule("resource://gre/modules/PlacesUtils.sys.mjs");
return Promise.all(urls.map(url => PlacesUtils.bookmarks.fetch({ url }).then(b => b ? null : url)));
"""


def check_firefox(profile, urls, work):
    import firefox
    from marionette import MarionetteError
    ff = firefox.Firefox(profile, work)
    problems = []
    try:
        ff.m.context("chrome")
        missing = [u for u in ff.m.script(BOOKMARKED, [urls]) if u]
        ff.m.context("content")
    except MarionetteError as error:
        missing, problems = urls, [f"Firefox could not read the bookmarks: {error}"[:300]]
    finally:
        ff.quit()
    problems += [f"Firefox lists no bookmark of {u}" for u in missing]
    problems += [f"Firefox set aside {n}" for n in os.listdir(profile) if ".corrupt" in n]
    if not os.path.exists(os.path.join(profile, "places.sqlite")):
        problems.append("places.sqlite is gone after the start")
    return problems


def check_chromium(user_data, urls, work):
    import chromium
    problems = []
    profiles = [n for n in sorted(os.listdir(user_data))
                if os.path.isfile(os.path.join(user_data, n, "Preferences"))]
    for profile in profiles:
        driver = chromium.start(user_data, profile, work)
        try:
            driver.get("chrome://bookmarks/")
            shown = driver.execute_async_script(chromium.BOOKMARK_URLS)
        finally:
            driver.quit()
        time.sleep(1)
        problems += [f"{profile}: Chromium lists no bookmark of {u}" for u in urls
                     if u not in shown]
        path = os.path.join(user_data, profile, "Bookmarks")
        kept = open(path, encoding="utf-8").read() if os.path.exists(path) else ""
        problems += [f"{profile}: the Bookmarks file lost {u} after the start" for u in urls
                     if f'"{u}"' not in kept]
    return problems


def main():
    browser, folder, bookmarks = sys.argv[1:4]
    with open(bookmarks) as f:
        urls = [line for line in f.read().splitlines() if line]
    with tempfile.TemporaryDirectory() as work:
        problems = (check_firefox if browser == "firefox" else check_chromium)(folder, urls, work)
    for problem in problems:
        print("FAIL:", problem)
    print(f"reopen-check {browser} {os.path.basename(folder.rstrip('/'))}: "
          f"{'ok' if not problems else 'failed'} ({len(urls)} bookmarks looked for)")
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
