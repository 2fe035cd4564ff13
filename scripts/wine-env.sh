# Sourced by the scripts that run the Windows build: the build's own Wine
# prefix, Wine's messages off, and the path of the wine64 loader in $wine.
export WINEPREFIX="${WINEPREFIX:-$root/build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
