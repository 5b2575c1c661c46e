"""Drives Debian's firefox-esr, headless, through Marionette."""
import os
import socket
import subprocess
import time

from marionette import Marionette

FIREFOX = "/usr/bin/firefox-esr"

# Quiet, offline and deterministic: no updates, telemetry or first-run pages; places.sqlite
# grows page by page (not by 10 MiB) so that the fixtures stay small; downloads go to a folder
# without asking; the last session comes back on the next start.
PREFS = {
    "browser.shell.checkDefaultBrowser": False,
    "browser.startup.homepage_override.mstone": "ignore",
    "browser.startup.page": 3,
    "datareporting.policy.dataSubmissionEnabled": False,
    "toolkit.telemetry.reportingpolicy.firstRun": False,
    "app.update.auto": False,
    "app.normandy.enabled": False,
    "extensions.update.enabled": False,
    "browser.safebrowsing.malware.enabled": False,
    "browser.safebrowsing.phishing.enabled": False,
    "browser.safebrowsing.downloads.enabled": False,
    "network.captive-portal-service.enabled": False,
    "network.connectivity-service.enabled": False,
    "places.database.growthIncrementKiB": 0,
    "browser.download.folderList": 2,
    "browser.download.useDownloadDir": True,
    "browser.download.always_ask_before_handling_new_types": False,
    "browser.download.alwaysOpenPanel": False,
    "browser.formfill.enable": True,
    "signon.rememberSignons": True,
}


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def version():
    return subprocess.run([FIREFOX, "--version"], capture_output=True, text=True).stdout.strip()


class Firefox:
    """A headless Firefox on PROFILE; HOME and the XDG folders stay inside WORK."""

    def __init__(self, profile, work, downloads=None):
        self.port = free_port()
        prefs = dict(PREFS, **{"marionette.port": self.port})
        if downloads:
            prefs["browser.download.dir"] = downloads
        with open(os.path.join(profile, "user.js"), "w") as f:
            for name, value in prefs.items():
                rendered = ("true" if value else "false") if isinstance(value, bool) else (
                    str(value) if isinstance(value, int) else f'"{value}"')
                f.write(f'user_pref("{name}", {rendered});\n')
        env = dict(os.environ, HOME=os.path.join(work, "home"), MOZ_HEADLESS="1",
                   XDG_CACHE_HOME=os.path.join(work, "xdg-cache"),
                   XDG_CONFIG_HOME=os.path.join(work, "xdg-config"),
                   MOZ_CRASHREPORTER_DISABLE="1")
        os.makedirs(env["HOME"], exist_ok=True)
        self.log = open(os.path.join(work, "firefox.log"), "ab")
        self.process = subprocess.Popen(
            [FIREFOX, "--headless", "--marionette", "-remote-allow-system-access", "--no-remote", "--profile", profile],
            env=env, stdout=self.log, stderr=self.log)
        self.m = Marionette(self.port, timeout=90)
        self.m.session()

    def quit(self):
        self.m.quit()
        try:
            self.process.wait(60)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        self.log.close()
        time.sleep(1)


def wait_for(m, script, timeout=30):
    deadline = time.time() + timeout
    while time.time() < deadline:
        value = m.script(script)
        if value:
            return value
        time.sleep(0.3)
    raise RuntimeError(f"timed out waiting for: {script}")


BOOKMARK = """
const [url, title] = arguments;
const { PlacesUtils } = ChromeUtils.importESModule("resource://gre/modules/PlacesUtils.sys.mjs");
return PlacesUtils.bookmarks.insert({ parentGuid: PlacesUtils.bookmarks.toolbarGuid, url, title })
  .then(b => b.guid);
"""

LOGIN = """
const [origin] = arguments;
const info = Cc["@mozilla.org/login-manager/loginInfo;1"].createInstance(Ci.nsILoginInfo);
info.init(origin, origin, null, "wquackenbush", "tide-secret-42", "user", "pass");
return Services.logins.addLoginAsync(info).then(() => true);
"""

DOWNLOADS_DONE = """
const { Downloads } = ChromeUtils.importESModule("resource://gre/modules/Downloads.sys.mjs");
return Downloads.getList(Downloads.ALL).then(l => l.getAll())
  .then(all => all.length > 0 && all.every(d => d.succeeded));
"""

FLUSH = """
const { PlacesUtils } = ChromeUtils.importESModule("resource://gre/modules/PlacesUtils.sys.mjs");
return PlacesUtils.withConnectionWrapper("fixtures: flush", db => db.execute("SELECT 1"))
  .then(() => true);
"""


def fill(profile, work, plan, downloads, with_login):
    """Browses PLAN in PROFILE; returns notes on what Firefox saved."""
    ff = Firefox(profile, work, downloads)
    m = ff.m
    for url in plan["bookmarked"] + plan["pages"] + plan["searches"]:
        m.navigate(url)
        time.sleep(0.3)
    for url in plan["storage"]:
        m.navigate(url)
        state = wait_for(m, "const s = document.getElementById('state').textContent;"
                            "return s === 'working' ? null : s;")
        if state != "done":
            raise RuntimeError(f"{url}: {state}")
    m.navigate(plan["form"])
    for field in ("fullname", "email", "street"):
        m.type(f"#{field}", plan["form_values"][field])
    m.click("#send")
    wait_for(m, "return document.title === 'Thank you';")
    # The download: a link click, as a person would start it.
    m.script("const a = document.createElement('a'); a.id = 'dl'; a.href = arguments[0];"
             "a.textContent = 'report'; document.body.append(a);", [plan["download"]])
    m.click("#dl")
    m.context("chrome")
    try:
        wait_for(m, f"return (async () => {{ {DOWNLOADS_DONE} }})();", timeout=20)
        downloaded = True
    except RuntimeError:
        downloaded = False
    for url in plan["bookmarked"]:
        m.async_script("const done = arguments[arguments.length - 1];"
                       f"(async () => {{ {BOOKMARK} }})().then(done);",
                       [url, url.rsplit("/", 1)[-1]])
    if with_login:
        m.async_script("const done = arguments[arguments.length - 1];"
                       f"(async () => {{ {LOGIN} }})().then(done);", [plan["origin"]])
    m.context("content")
    # The open tabs of the last session.
    for url in plan["tabs"]:
        m.new_tab()
        m.navigate(url)
    time.sleep(4)  # favicons and visits are written asynchronously
    m.context("chrome")
    m.async_script("const done = arguments[arguments.length - 1];"
                   f"(async () => {{ {FLUSH} }})().then(done);")
    m.context("content")
    ff.quit()
    return {"download": downloaded}
