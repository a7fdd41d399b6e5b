# Headless Chromium under Selenium, as the page's browser tests
# (tests/web/browser_test.py) and its screenshot (screenshot-web.sh) use it: Debian's chromium and chromedriver, a profile of its own
# that is thrown away, downloads into a folder given, and the browser's
# network events kept in its performance log.
import tempfile

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

FLAGS = [
    "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
    "--disable-background-networking", "--disable-component-update", "--disable-sync",
    "--window-size=900,1100",
]


def start_chromium(download_folder, profile_folder=None):
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in FLAGS:
        options.add_argument(flag)
    options.add_argument("--user-data-dir=" + (profile_folder or tempfile.mkdtemp(prefix="marliva-chromium-")))
    options.add_experimental_option("prefs", {
        "download.default_directory": download_folder,
        "download.prompt_for_download": False,
    })
    options.set_capability("goog:loggingPrefs", {"performance": "ALL", "browser": "ALL"})
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    driver.execute_cdp_cmd("Browser.setDownloadBehavior", {"behavior": "allow", "downloadPath": download_folder})
    return driver
