"""Drives Debian's chromium, headless, through chromedriver (Selenium)."""
import os
import subprocess
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By

CHROMIUM = "/usr/bin/chromium"
DRIVER = "/usr/bin/chromedriver"
FLAGS = ["--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync",
         "--no-default-browser-check", "--password-store=basic", "--disable-dev-shm-usage",
         "--disable-features=MediaRouter,OptimizationHints,Translate,AutofillServerCommunication"]


def version():
    return subprocess.run([CHROMIUM, "--version"], capture_output=True,
                          text=True).stdout.strip()


def start(user_data, profile, work, downloads=None):
    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    for flag in FLAGS:
        options.add_argument(flag)
    options.add_argument(f"--user-data-dir={user_data}")
    options.add_argument(f"--profile-directory={profile}")
    prefs = {"credentials_enable_service": True, "autofill.profile_enabled": True}
    if downloads:
        prefs.update({"download.default_directory": downloads, "download.prompt_for_download": False})
    options.add_experimental_option("prefs", prefs)
    # chromedriver's own defaults would turn off password saving and add test switches.
    options.add_experimental_option("excludeSwitches", ["enable-automation", "disable-default-apps"])
    service = Service(DRIVER, log_path=os.path.join(work, "chromedriver.log"))
    driver = webdriver.Chrome(service=service, options=options)
    driver.set_page_load_timeout(30)
    if downloads:
        driver.execute_cdp_cmd("Browser.setDownloadBehavior",
                               {"behavior": "allow", "downloadPath": downloads})
    return driver


def wait_for(condition, timeout=30):
    deadline = time.time() + timeout
    while time.time() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.3)
    raise RuntimeError("timed out")


BOOKMARK = """
const [url, title, done] = arguments;
chrome.bookmarks.create({parentId: '1', title, url}, b => done(b ? b.id : null));
"""

# What the password manager's "Add" button does.
LOGIN = """
const [url, done] = arguments;
chrome.passwordsPrivate.addPassword({url, username: 'wquackenbush', password: 'tide-secret-42',
                                     note: '', useAccountStore: false})
  .then(() => done(true), () => done(false));
"""

BOOKMARK_URLS = """
const done = arguments[arguments.length - 1];
chrome.bookmarks.getTree(tree => {
  const urls = [];
  const walk = n => { if (n.url) urls.push(n.url); (n.children || []).forEach(walk); };
  tree.forEach(walk);
  done(urls);
});
"""


def fill(user_data, profile, work, plan, downloads, with_login):
    """Browses PLAN in PROFILE of USER_DATA; returns notes on what Chromium saved."""
    driver = start(user_data, profile, work, downloads)
    notes = {}
    try:
        for url in plan["bookmarked"] + plan["pages"] + plan["searches"]:
            driver.get(url)
            time.sleep(0.3)
        for url in plan["storage"]:
            driver.get(url)
            state = wait_for(lambda: (lambda s: None if s == "working" else s)(
                driver.find_element(By.ID, "state").text))
            if state != "done":
                raise RuntimeError(f"{url}: {state}")
        driver.get(plan["form"])
        for field in ("fullname", "email", "street"):
            element = driver.find_element(By.ID, field)
            element.click()
            element.send_keys(plan["form_values"][field])
        driver.find_element(By.ID, "send").click()
        wait_for(lambda: driver.title == "Thank you")
        driver.execute_script("const a = document.createElement('a'); a.id = 'dl';"
                              "a.href = arguments[0]; a.textContent = 'report';"
                              "document.body.append(a);", plan["download"])
        driver.find_element(By.ID, "dl").click()
        try:
            wait_for(lambda: any(not n.endswith(".crdownload") for n in os.listdir(downloads)),
                     timeout=20)
            notes["download"] = True
        except RuntimeError:
            notes["download"] = False
        driver.get("chrome://bookmarks/")
        for url in plan["bookmarked"]:
            driver.execute_async_script(BOOKMARK, url, url.rsplit("/", 1)[-1])
        notes["bookmarks"] = driver.execute_async_script(BOOKMARK_URLS)
        if with_login:
            driver.get("chrome://password-manager/passwords")
            notes["login"] = driver.execute_async_script(LOGIN, plan["origin"] + "/")
        # The open tabs of the last session.
        for url in plan["tabs"]:
            driver.switch_to.new_window("tab")
            driver.get(url)
        time.sleep(5)  # favicons, history and the session are written with a delay
        # Closing the window that shows chrome://bookmarks leaves the tabs of the site.
        driver.switch_to.window(driver.window_handles[0])
        driver.close()
        driver.switch_to.window(driver.window_handles[0])
        time.sleep(3)
    finally:
        driver.quit()
    time.sleep(2)
    return notes
