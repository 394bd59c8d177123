#!/usr/bin/env bash
# Checks what an installed Quillform consists of: the desktop entry, the AppStream file, the
# manual page, an install into a temporary prefix (its program loads a design and finds its
# help there), and the Debian package under lintian.
#   scripts/package_check.sh BUILD_FOLDER
set -euo pipefail
build=$1
here=$(cd "$(dirname "$0")/.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "package check: $*" >&2; exit 1; }

desktop-file-validate "$here/packaging/org.quillform.Quillform.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$here/packaging/org.quillform.Quillform.metainfo.xml" ||
  fail "AppStream metainfo"
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$here/packaging/quillform.1" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "manual page: $warnings"

cmake --install "$build" --prefix "$tmp/prefix" >/dev/null
"$tmp/prefix/bin/quillform" --dump "$here/tests/data/golden.qfd" | grep -q '請求書' ||
  fail "the installed program does not load a design"
"$tmp/prefix/bin/quillform" --version | grep -qx "help: $tmp/prefix/share/quillform/help/qfhelp.htm" ||
  fail "the installed program does not find its help: $("$tmp/prefix/bin/quillform" --version)"
for f in share/applications/org.quillform.Quillform.desktop share/mime/packages/quillform.xml \
         share/metainfo/org.quillform.Quillform.metainfo.xml share/man/man1/quillform.1.gz \
         share/icons/hicolor/scalable/apps/quillform.svg share/icons/hicolor/48x48/apps/quillform.png \
         share/doc/quillform/copyright; do
  [ -s "$tmp/prefix/$f" ] || fail "not installed: $f"
done

(cd "$build" && cpack >/dev/null 2>&1) || fail "cpack"
deb=$(ls "$build"/quillform_*.deb)
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "the package declares no Qt dependency"
# Errors fail the check; the warnings that remain are printed.
report=$(lintian --fail-on error "$deb" 2>&1) || fail "lintian found errors in $deb: $report"
grep -v 'root privileges' <<<"$report" || true
echo "package check: $(basename "$deb"), $(stat -c %s "$deb") bytes"
