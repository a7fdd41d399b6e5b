#!/usr/bin/env bash
# Takes docs/screenshot-web.png: the page in headless Chromium, opened from
# file://, after converting the bundled sample and a file without subtitles.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh browser
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
printf 'just some notes\n' >"$scratch/notes.srt"
PAGE=$PWD/build-web/marliva.html SAMPLE=$PWD/samples/sintel_en.srt NOTES=$scratch/notes.srt \
  SHOT=$PWD/docs/screenshot-web.png SCRATCH=$scratch /usr/bin/python3 - <<'PYTHON'
import os, sys, time
from pathlib import Path
sys.path.insert(0, "scripts")
from selenium.webdriver.common.by import By
from headless_chromium import start_chromium

driver = start_chromium(os.environ["SCRATCH"], os.environ["SCRATCH"] + "/profile")
try:
    driver.get(Path(os.environ["PAGE"]).as_uri())
    while driver.execute_script("return document.body.dataset.ready") != "true":
        time.sleep(0.05)
    driver.find_element(By.ID, "files").send_keys(os.environ["SAMPLE"] + "\n" + os.environ["NOTES"])
    driver.find_element(By.ID, "convert").click()
    while len(driver.find_elements(By.CSS_SELECTOR, "#results > li")) < 2:
        time.sleep(0.05)
    height = driver.execute_script("return document.documentElement.scrollHeight")
    driver.set_window_size(900, height + 40)
    driver.save_screenshot(os.environ["SHOT"])
finally:
    driver.quit()
PYTHON
echo "Wrote docs/screenshot-web.png"
