# Installs the Debian packages a task needs, when they are missing. Sourced by run.sh and test.sh.

QF_BUILD_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-svg-dev libcsv-dev libzint-dev libgl-dev libx11-dev libcups2-dev fonts-noto-cjk git
                   fonts-ipafont-gothic fonts-ipafont-mincho
                   qt6-translations-l10n
                   libqt6sql6-sqlite libqt6sql6-psql libqt6sql6-odbc)
QF_TEST_PACKAGES=(clang-format googletest libgtest-dev libgmock-dev libbenchmark-dev clang
                  xvfb xauth poppler-utils librsvg2-bin zbar-tools cups cups-client printer-driver-cups-pdf
                  desktop-file-utils appstream lintian dpkg-dev man-db file
                  mono-mcs mono-runtime libmono-system-drawing4.0-cil libgdiplus
                  postgresql unixodbc libsqliteodbc sqlite3)

# libFuzzer comes with the clang runtime of the installed compiler's own version.
qf_clang_runtime_package() {
  command -v clang >/dev/null 2>&1 || return 0
  echo "libclang-rt-$(clang -dumpversion | cut -d. -f1)-dev"
}

qf_missing_packages() {
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}

qf_ensure_packages() {
  local missing
  missing=$(qf_missing_packages "$@" | tr '\n' ' ')
  [ -z "${missing// /}" ] && return 0
  local cmd="apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $missing"
  if [ "$(id -u)" -eq 0 ]; then
    echo "Installing: $missing"
    bash -c "$cmd"
  elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
    echo "Installing with sudo: $missing"
    sudo bash -c "$cmd"
  else
    echo "Missing packages: $missing" >&2
    echo "Install them as root, then run this script again:" >&2
    echo "  sudo bash -c '$cmd'" >&2
    exit 1
  fi
}
