#!/usr/bin/env bash
# Every test of the project, stage by stage; stops at the first stage that fails.
set -euo pipefail
cd "$(dirname "$0")/.."
for stage in native web windows sanitizers fuzz; do
  script="scripts/test-$stage.sh"
  echo "=== test stage: $stage ==="
  "$script"
done
echo "=== all test stages passed ==="
