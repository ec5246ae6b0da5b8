# Shared set-up for tools/test, tools/run-script and tools/bench: packages, display,
# Wine prefix and the build of both architectures. Source it; every step is idempotent.
set -euo pipefail

QB_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
QB_BUILD=${QB_BUILD:-$QB_ROOT/build}
export WINEPREFIX=${WINEPREFIX_OVERRIDE:-$QB_BUILD/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
# No download prompts for the browser engine or the .NET runtime in the prefix.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
read -r -a QB_ARCHES <<<"${QB_ARCHES:-i686 x86_64}"

qb_log() { printf '[quillbox] %s\n' "$*" >&2; }

qb_install_packages() { "$QB_ROOT/tools/install-deps"; }

# Xvfb on :99 when there is no display of our own.
qb_ensure_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return; fi
  export DISPLAY=:99
  if ! xdpyinfo >/dev/null 2>&1; then
    rm -f /tmp/.X99-lock
    (Xvfb :99 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &)
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && return; sleep 0.1; done
    qb_log "Xvfb did not start"; return 1
  fi
}

# Settings of the project's prefix; bump the version when they change.
QB_PREFIX_VERSION=2
qb_configure_prefix() {
  # A crash must fail a test, not wait for someone to close a dialog.
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  # Xvfb has no window manager: Wine would wait two seconds for one at every window
  # that closes. Unmanaged windows close at once.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  wineserver -w
}

qb_ensure_prefix() {
  if [ "$(cat "$WINEPREFIX/.quillbox-ready" 2>/dev/null)" = "$QB_PREFIX_VERSION" ]; then return; fi
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    qb_log "creating Wine prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    WINEARCH=win64 wineboot -i >/dev/null 2>&1
    wineserver -w
    # A new prefix holds no registrations: make the next build register again.
    rm -f "$QB_BUILD"/*/registered/*.stamp
  fi
  qb_configure_prefix
  echo "$QB_PREFIX_VERSION" >"$WINEPREFIX/.quillbox-ready"
}

# Which components to build: QB_COMPONENTS (space-separated), or for a build directory
# named build-<component> that component alone (a developer's private build), else all.
qb_components() {
  if [ -n "${QB_COMPONENTS:-}" ]; then echo "$QB_COMPONENTS"; return; fi
  case "$(basename "$QB_BUILD")" in
    build-*) echo "${QB_BUILD##*/build-}" ;;
    *) echo "" ;;
  esac
}

qb_build() {
  local arch components
  components=$(qb_components)
  for arch in "${QB_ARCHES[@]}"; do
    local dir="$QB_BUILD/$arch"
    local cached
    cached=$(sed -n 's/^QUILLBOX_COMPONENTS:STRING=//p' "$dir/CMakeCache.txt" 2>/dev/null || true)
    if [ ! -f "$dir/CMakeCache.txt" ] || [ "$cached" != "${components// /;}" ]; then
      cmake -S "$QB_ROOT" -B "$dir" -G "Unix Makefiles" \
        -DCMAKE_TOOLCHAIN_FILE="$QB_ROOT/cmake/mingw-$arch.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DQUILLBOX_WINEPREFIX="$WINEPREFIX" \
        -DQUILLBOX_COMPONENTS="${components// /;}" >/dev/null || return 1
    fi
    if ! cmake --build "$dir" -j"$(nproc)" -- --no-print-directory >"$dir/build.log" 2>&1; then
      grep -E 'error|Error|undefined' "$dir/build.log" | head -40 >&2
      qb_log "build failed ($arch): $dir/build.log"
      return 1
    fi
  done
}

qb_setup() {
  qb_install_packages
  qb_ensure_display
  qb_ensure_prefix
  qb_build
}

# Linux path -> Windows path through Wine's Z: drive.
qb_winpath() { local p; p=$(realpath -m "$1"); printf 'Z:%s' "${p//\//\\}"; }
