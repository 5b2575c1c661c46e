"""The local web site the fixture browsers visit: pages, searches, a form, site storage with a
service worker, favicons and a download, served on 127.0.0.1 and reached as two hosts
(127.0.0.1 and localhost), so that the profiles hold cookies of two sites."""
import http.server
import struct
import threading
import urllib.parse
import zlib

ARTICLES = {
    "1": "Harbour lights at dusk", "2": "Mending a fishing net", "3": "Tide tables explained",
    "4": "Salt marsh birds", "5": "Lighthouse keepers' logs",
}
NEWS = {"1": "Orchid show opens", "2": "Repotting season", "3": "Greenhouse heating", "4": "Seed swap"}
SEARCHES = [("127.0.0.1", "quiet harbour lanterns"), ("localhost", "orchid repotting guide"),
            ("127.0.0.1", "tide tables weekend")]
FORM_VALUES = {"fullname": "Wilhelmina Quackenbush", "email": "wquackenbush@example.org",
               "street": "17 Zeppelinstrasse Nordhafen"}


def png(rgb):
    """A 16x16 PNG of one colour."""
    raw = b"".join(b"\0" + bytes(rgb) * 16 for _ in range(16))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 16, 16, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


ICON_COLOURS = {"articles": (30, 90, 200), "news": (40, 160, 60), "site": (200, 120, 20)}

STORAGE_PAGE = """<!doctype html><html><head><meta charset=utf-8><title>Site storage</title>
<link rel=icon href=/icons/site.png></head><body><p id=state>working</p><script>
async function run() {
  localStorage.setItem('hm-local', 'local value of ' + location.host);
  sessionStorage.setItem('hm-session', 'session value of ' + location.host);
  await new Promise((resolve, reject) => {
    const open = indexedDB.open('hm-db', 1);
    open.onupgradeneeded = () => open.result.createObjectStore('notes');
    open.onerror = () => reject(open.error);
    open.onsuccess = () => {
      const tx = open.result.transaction('notes', 'readwrite');
      tx.objectStore('notes').put('indexed value of ' + location.host, 'note-1');
      tx.oncomplete = () => { open.result.close(); resolve(); };
      tx.onerror = () => reject(tx.error);
    };
  });
  await navigator.serviceWorker.register('/sw.js');
  await navigator.serviceWorker.ready;
  for (let i = 0; i < 50; i++) {
    const cache = await caches.open('hm-offline');
    if (await cache.match('/offline.html')) break;
    await new Promise(r => setTimeout(r, 100));
  }
}
run().then(() => { document.getElementById('state').textContent = 'done'; },
           e => { document.getElementById('state').textContent = 'failed: ' + e; });
</script></body></html>"""

SERVICE_WORKER = """self.addEventListener('install', e => {
  e.waitUntil(caches.open('hm-offline').then(c => c.add('/offline.html')));
  self.skipWaiting();
});
self.addEventListener('activate', e => e.waitUntil(self.clients.claim()));
self.addEventListener('fetch', e => {
  if (new URL(e.request.url).pathname === '/offline.html')
    e.respondWith(caches.match(e.request).then(r => r || fetch(e.request)));
});
"""

FORM_PAGE = """<!doctype html><html><head><meta charset=utf-8><title>Newsletter sign-up</title>
<link rel=icon href=/icons/site.png></head><body><form method=post action=/thanks>
<label>Name <input type=text name=fullname id=fullname></label>
<label>E-mail <input type=email name=email id=email></label>
<label>Street <input type=text name=street id=street></label>
<button type=submit id=send>Send</button></form></body></html>"""


def page(title, icon, body=""):
    return (f"<!doctype html><html><head><meta charset=utf-8><title>{title}</title>"
            f"<link rel=icon href=/icons/{icon}.png><script src=/app.js></script></head>"
            f"<body><h1>{title}</h1><p>{body or title}</p></body></html>").encode()


class Handler(http.server.BaseHTTPRequestHandler):
    def log_message(self, *args):
        pass

    def send(self, body, kind="text/html; charset=utf-8", cache=True, extra=()):
        self.send_response(200)
        self.send_header("Content-Type", kind)
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Cache-Control", "max-age=86400" if cache else "no-store")
        host = self.headers.get("Host", "").split(":")[0]
        slug = urllib.parse.urlsplit(self.path).path.strip("/").replace("/", "-").replace(".", "-")
        self.send_header("Set-Cookie", f"hm_site={host}; Max-Age=2592000; Path=/")
        self.send_header("Set-Cookie", f"hm_seen_{slug or 'root'}=1; Max-Age=2592000; Path=/")
        for name, value in extra:
            self.send_header(name, value)
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        url = urllib.parse.urlsplit(self.path)
        parts = url.path.strip("/").split("/")
        if parts[0] == "articles" and parts[-1].removesuffix(".html") in ARTICLES:
            self.send(page(ARTICLES[parts[-1].removesuffix(".html")], "articles"))
        elif parts[0] == "news" and parts[-1].removesuffix(".html") in NEWS:
            self.send(page(NEWS[parts[-1].removesuffix(".html")], "news"))
        elif parts[0] == "icons" and parts[-1].removesuffix(".png") in ICON_COLOURS:
            self.send(png(ICON_COLOURS[parts[-1].removesuffix(".png")]), "image/png")
        elif url.path == "/search":
            terms = urllib.parse.parse_qs(url.query).get("q", [""])[0]
            self.send(page("Search results", "site", f"3 results for {terms}"), cache=False)
        elif url.path == "/form.html":
            self.send(FORM_PAGE.encode())
        elif url.path == "/storage.html":
            self.send(STORAGE_PAGE.encode())
        elif url.path == "/sw.js":
            self.send(SERVICE_WORKER.encode(), "text/javascript", cache=False)
        elif url.path == "/app.js":
            self.send(b"document.documentElement.dataset.app = 'loaded';\n", "text/javascript")
        elif url.path == "/offline.html":
            self.send(page("Offline copy", "site"))
        elif url.path == "/files/tide-report.bin":
            self.send(b"tide report\n" * 64, "application/octet-stream", cache=False,
                      extra=[("Content-Disposition", 'attachment; filename="tide-report.bin"')])
        else:
            self.send_error(404)

    def do_POST(self):
        length = int(self.headers.get("Content-Length", "0"))
        self.rfile.read(length)
        if urllib.parse.urlsplit(self.path).path == "/thanks":
            self.send(page("Thank you", "site", "You are signed up."), cache=False)
        else:
            self.send_error(404)


def start():
    """Starts the site on a free port of 127.0.0.1; returns (server, port)."""
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server, server.server_address[1]


def plan(port):
    """What every profile visits: (bookmarked URLs, other visited URLs, search URLs,
    storage URLs, form URL, form result URL, download URL, URLs left open as tabs)."""
    a, b = f"http://127.0.0.1:{port}", f"http://localhost:{port}"
    articles = [f"{a}/articles/{n}.html" for n in ARTICLES]
    news = [f"{b}/news/{n}.html" for n in NEWS]
    searches = [f"http://{host}:{port}/search?q={urllib.parse.quote_plus(terms)}"
                for host, terms in SEARCHES]
    return {
        "bookmarked": articles[:2] + news[:2],
        "pages": articles[2:] + news[2:],
        "searches": searches,
        "storage": [f"{a}/storage.html", f"{b}/storage.html"],
        "form": f"{a}/form.html",
        "thanks": f"{a}/thanks",
        "download": f"{a}/files/tide-report.bin",
        "tabs": [articles[2], news[2], searches[0]],
    }
