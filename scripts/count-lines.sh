#!/usr/bin/env bash
# Non-blank lines of the tests against those of the code they test: tests/
# against engine/, ui/, app/, web/, fuzz/, bench/ and scripts/ (sources,
# scripts, the page and build files, as git knows them). The rule: tests at
# most a third. It also prints the share with the fuzz harnesses, which are
# tests in substance, counted as tests.
set -euo pipefail
cd "$(dirname "$0")/.."
count() {
  git ls-files "$@" | grep -E '\.(cpp|h|hpp|cc|c|sh|py|js|html|cmake)$|CMakeLists\.txt$' |
    xargs -r cat | grep -c -v -E '^\s*$'
}
code=$(count engine ui app web fuzz bench scripts)
product=$(count engine ui app web)
tests=$(count tests)
echo "code: $code non-blank lines (engine, ui, app, web, fuzz, bench, scripts), $product of them the product (engine, ui, app, web)"
echo "tests: $tests non-blank lines (tests), $(( 100 * tests / code ))% of the code, $(( 100 * tests / product ))% of the product"
fuzz=$(count fuzz)
echo "with the fuzz harnesses counted as tests: $(( tests + fuzz )) against $(( code - fuzz )), $(( 100 * (tests + fuzz) / (code - fuzz) ))%"
(( 3 * tests <= code )) || { echo "tests are more than a third of the code" >&2; exit 1; }
