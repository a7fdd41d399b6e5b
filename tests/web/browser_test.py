# The page in a real browser: headless Chromium opens build-web/marliva.html
# from file://, gets files through its file input, converts them, and the
# downloads are compared with the native program's outputs. Run by
# scripts/test-web.sh with Debian's python3, which names the page, the native
# marliva-convert and marliva-gensubs in MARLIVA_PAGE, MARLIVA_CONVERT and MARLIVA_GENSUBS.
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import unittest
from pathlib import Path

from selenium.webdriver.common.by import By

ROOT = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(ROOT / "scripts"))
from headless_chromium import start_chromium  # noqa: E402

GOLDEN = ROOT / "tests" / "data" / "golden"
SAMPLE = ROOT / "samples" / "sintel_en.srt"
PAGE = Path(os.environ["MARLIVA_PAGE"]).resolve()
CONVERT, GENSUBS = os.environ["MARLIVA_CONVERT"], os.environ["MARLIVA_GENSUBS"]


# The native program's log lines and output bytes for the same run.
def native(options, source, output):
    done = subprocess.run([CONVERT, *options, str(source), str(output)], capture_output=True, text=True, check=True)
    return done.stdout.splitlines(), output.read_bytes()


def utf16(path):
    return b"\xff\xfe" + path.read_bytes().decode("utf-8-sig").encode("utf-16-le")


class Page(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = Path(tempfile.mkdtemp(prefix="marliva-page-"))
        cls.downloads = cls.work / "downloads"
        cls.downloads.mkdir()
        cls.driver = start_chromium(str(cls.downloads), str(cls.work / "profile"))

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()
        shutil.rmtree(cls.work, ignore_errors=True)

    def setUp(self):
        # Each step on a freshly loaded page, with the controls' defaults.
        self.driver.get(PAGE.as_uri())
        self.wait_for(lambda: self.driver.execute_script("return document.body.dataset.ready === 'true'"),
                      "the page's engine to load")

    def wait_for(self, condition, what, seconds=30):
        deadline = time.monotonic() + seconds
        while not condition():
            if time.monotonic() > deadline:
                self.fail("waited in vain for " + what)
            time.sleep(0.05)

    def file(self, name, data):
        (self.work / name).write_bytes(data)
        return self.work / name

    # Gives the files to the file input, presses Convert and returns the results' items.
    def convert(self, *paths):
        self.driver.find_element(By.ID, "files").send_keys("\n".join(str(path) for path in paths))
        self.driver.find_element(By.ID, "convert").click()
        items = lambda: self.driver.find_elements(By.CSS_SELECTOR, "#results > li")
        self.wait_for(lambda: len(items()) == len(paths), "the results of %d files" % len(paths))
        return items()

    # Clicks the item's link and returns the bytes that arrive in the downloads folder.
    def download(self, item):
        link = item.find_element(By.CSS_SELECTOR, "a.download")
        target = self.downloads / link.text
        link.click()
        self.wait_for(lambda: target.exists() and not list(self.downloads.glob("*.crdownload")),
                      "the download of " + link.text)
        data = target.read_bytes()
        target.unlink()
        return data

    def log_lines(self):
        return self.driver.find_element(By.ID, "log").text.split("\n")

    def test_1_the_sample_downloads_as_its_golden_output(self):
        (item,) = self.convert(SAMPLE)
        self.assertEqual(item.find_element(By.CSS_SELECTOR, "a.download").text, "sintel_en.ssa")
        self.assertEqual(self.download(item), (GOLDEN / "sintel_en.ssa").read_bytes())

    def test_2_the_log_holds_the_dialogs_lines(self):
        self.convert(SAMPLE)
        expected, _ = native([], SAMPLE, self.work / "native.ssa")
        # The time of the run and its speed are the run's own.
        timeless = lambda lines: [re.sub(r"^(time :|speed:) .*", r"\1 ...", line) for line in lines]
        self.assertEqual(timeless(self.log_lines()), timeless(expected))

    def test_3_the_options_reach_the_engine(self):
        names = self.driver.execute_script("return [Object.keys(readSettings()), marliva.settingNames()]")
        self.assertEqual(names[0], names[1], "each field of the settings has its control")
        self.driver.find_element(By.NAME, "joinWithNewline").click()
        self.driver.find_element(By.CSS_SELECTOR, "#frame-rates option:nth-child(5)").click()  # 23.976
        self.driver.find_element(By.NAME, "shiftFirstSub").click()
        for name, value in [("firstSubSeconds", "10"), ("firstSubMillis", "5x00")]:
            box = self.driver.find_element(By.NAME, name)
            box.clear()
            box.send_keys(value)
        frames = GOLDEN / "sintel_en_frames.srt"
        items = self.convert(SAMPLE, frames)
        options = ["--no-join", "--fps", "23.976", "--first-sub", "0:0:10.500"]
        for item, source in zip(items, [SAMPLE, frames]):
            _, expected = native(options, source, self.work / "native.ssa")
            self.assertEqual(self.download(item), expected, source.name)

    def test_4_a_utf16_file_comes_back_in_utf16(self):
        (item,) = self.convert(self.file("sintel_utf16.srt", utf16(SAMPLE)))
        self.assertEqual(self.download(item), utf16(GOLDEN / "sintel_en.ssa"))

    def test_5_a_file_without_subtitles_gives_its_message_and_nothing_to_download(self):
        (item,) = self.convert(self.file("notes.srt", b"just some text\n"))
        self.assertEqual(item.find_element(By.CSS_SELECTOR, "pre.message").text,
                         "No subtitles found in the input file:\nnotes.srt")
        self.assertEqual(item.find_elements(By.TAG_NAME, "a"), [])
        self.assertEqual(self.log_lines(), [""])

    def test_6_a_file_of_two_megabytes(self):
        big = self.work / "big.srt"
        subprocess.run([GENSUBS, "srt", "24000", "1", str(big)], check=True)
        self.assertGreater(big.stat().st_size, 2_000_000)
        (item,) = self.convert(big)
        _, expected = native([], big, self.work / "native.ssa")
        self.assertEqual(self.download(item), expected)

    def test_7_no_request_after_the_page_loaded(self):
        (item,) = self.convert(SAMPLE)
        self.download(item)
        events = [json.loads(entry["message"])["message"] for entry in self.driver.get_log("performance")]
        requests = [e["params"]["request"]["url"] for e in events if e["method"] == "Network.requestWillBeSent"]
        # From the page's first opening on (before it, the browser's start page): only the
        # page itself, each time it was opened, and the downloads it made of its own memory.
        self.assertIn(PAGE.as_uri(), requests)
        since = requests[requests.index(PAGE.as_uri()):]
        self.assertEqual([url for url in since if url != PAGE.as_uri() and not url.startswith("blob:")], [])
        errors = [entry for entry in self.driver.get_log("browser") if entry["level"] == "SEVERE"]
        self.assertEqual(errors, [], "nothing refused by the page's security policy, no error")


if __name__ == "__main__":
    unittest.main()
