#!/usr/bin/env bash
# Runs scripts/check-includes on small trees made here, each with a known answer: includes
# are found beside the file and from the root, a room is its own library, a library may not
# reach the tests, a program reaches the windowing layer through its public header only, and
# an exception that no longer happens is reported.
set -uo pipefail
checker="$(cd "$(dirname "$0")/../.." && pwd)/scripts/check-includes"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
failures=0

rules='base
platform           base
graphics           base platform
windowing          base platform
windowing/core     base platform
windowing/dialogs  base platform windowing/Types.h
                   windowing/core
windowing/Types.h
host               base platform windowing/Types.h
tests              *'

# make_tree <name> <extra rule line> <path:include>...: a tree whose files hold one include each.
make_tree() {
  local tree="$scratch/$1" extra="$2"
  shift 2
  mkdir -p "$tree/scripts" "$tree/base" "$tree/platform" "$tree/windowing/core" \
           "$tree/windowing/dialogs" "$tree/tests"
  printf '%s\n%s\n' "$rules" "$extra" >"$tree/scripts/include-rules"
  touch "$tree/base/Base.h" "$tree/platform/Window.h" "$tree/graphics.h" "$tree/tests/Fake.h" \
        "$tree/windowing/Types.h" \
        "$tree/windowing/core/Core.h" "$tree/windowing/dialogs/Dialog.h"
  mkdir -p "$tree/graphics" && touch "$tree/graphics/Graphics.h"
  local entry
  for entry in "$@"; do
    mkdir -p "$(dirname "$tree/${entry%%:*}")"
    printf '#include <vector>\n  #  include %s\n' "${entry#*:}" >>"$tree/${entry%%:*}"
  done
  echo "$tree"
}

# expect <pass|fail> <what the output must hold, once> <tree>
expect() {
  local want="$1" needle="$2" tree="$3" output status=pass
  output="$("$checker" "$tree" 2>&1)" || status=fail
  if [ "$status" != "$want" ] || { [ -n "$needle" ] && [ "$(grep -cF -- "$needle" <<<"$output")" -ne 1 ]; }; then
    echo "FAILED: $(basename "$tree"): wanted $want with \"$needle\", got $status:"
    echo "$output"
    failures=$((failures + 1))
  fi
}

expect pass "" "$(make_tree clean '' \
  'platform/Window.cpp:"Window.h"' 'platform/Clock.cpp:"base/Base.h"' \
  'graphics/Draw.cpp:"../platform/Window.h"' 'windowing/dialogs/Box.cpp:"windowing/core/Core.h"' \
  'windowing/core/Msg.cpp:"graphics.h"' 'tests/Any.cpp:"windowing/dialogs/Dialog.h"' \
  'windowing/dialogs/Res.cpp:"windowing/Types.h"' 'host/Main.cpp:"windowing/Types.h"')"
expect fail 'platform/Event.cpp:2: platform includes ../graphics/Graphics.h' \
  "$(make_tree beside '' 'platform/Event.cpp:"../graphics/Graphics.h"')"
expect fail 'base includes platform/Window.h (base may include: nothing of ours)' \
  "$(make_tree root '' 'base/Utf8.cpp:<platform/Window.h>')"
expect fail 'windowing/core includes windowing/dialogs/Dialog.h' \
  "$(make_tree room '' 'windowing/core/detail/Queue.cpp:"windowing/dialogs/Dialog.h"')"
expect fail 'windowing/core/Core.cpp:2: windowing/core includes ../Types.h' \
  "$(make_tree header '' 'windowing/core/Core.cpp:"../Types.h"')"
expect fail 'windowing includes windowing/core/Core.h' \
  "$(make_tree unlisted '' 'windowing/views/List.cpp:"windowing/core/Core.h"')"
expect fail 'windowing includes graphics/Graphics.h' \
  "$(make_tree umbrella '' 'windowing/Win32.h:"graphics/Graphics.h"')"
expect fail 'host/Main.cpp:2: host includes windowing/core/Core.h' \
  "$(make_tree program '' 'host/Main.cpp:"windowing/core/Core.h"')"
expect fail 'graphics includes tests/Fake.h' \
  "$(make_tree tests '' 'graphics/Draw.cpp:"tests/Fake.h"')"
expect pass "" "$(make_tree excepted 'expect graphics -> windowing/core' \
  'graphics/Draw.cpp:"windowing/core/Core.h"')"
expect fail 'the expected exception platform -> graphics no longer happens' \
  "$(make_tree stale 'expect platform -> graphics' 'platform/Event.cpp:"base/Base.h"')"
expect fail 'framework may include nowhere, which is not a library of the table' \
  "$(make_tree typo 'framework nowhere' 'platform/Event.cpp:"base/Base.h"')"

if [ "$failures" -ne 0 ]; then
  echo "$failures case(s) failed"
  exit 1
fi
echo "every case gave its known answer"
