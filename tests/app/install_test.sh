#!/bin/sh
# Installing puts the program, its menu entry and its icon where a Linux
# desktop looks for them, and the entry names the installed program and icon.
set -eu
build="$1"
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null

program="$prefix/bin/orvo-file-conversion-utility"
entry="$prefix/share/applications/orvo-file-conversion-utility.desktop"
[ -x "$program" ] || fail "no program in bin"
[ -f "$entry" ] || fail "no desktop entry in share/applications"

if command -v desktop-file-validate >/dev/null 2>&1; then
    desktop-file-validate "$entry" || fail "desktop entry is not valid"
fi

field() { sed -n "s/^$1=//p" "$entry" | head -1; }
[ "$(field Type)" = "Application" ] || fail "Type is not Application"
[ "$(field Name)" = "Orvo File Conversion Utility" ] || fail "Name is $(field Name)"
[ -x "$prefix/bin/$(field Exec | cut -d' ' -f1)" ] || fail "Exec does not name the installed program"
# The window's class, which lets the desktop tie the window to the entry.
[ "$(field StartupWMClass)" = "Orvo File Conversion Utility" ] || fail "StartupWMClass"

icon=$(field Icon)
found=0
for file in "$prefix"/share/icons/hicolor/*/apps/"$icon".png; do
    [ -f "$file" ] || continue
    size=$(basename "$(dirname "$(dirname "$file")")")
    actual=$(identify -format '%wx%h' "$file")
    [ "$actual" = "$size" ] || fail "$file is $actual, not $size"
    found=$((found + 1))
done
[ "$found" -ge 1 ] || fail "no icon named $icon in the hicolor theme"
[ -f "$prefix/share/icons/hicolor/48x48/apps/$icon.png" ] || fail "no 48x48 icon"
echo "ok: program, desktop entry and $found icon sizes installed"
