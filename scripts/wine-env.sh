# Sourced: the environment every Wine process of the project runs in: a 32-bit prefix,
# code page 932 (from the ja_JP.UTF-8 locale), no Mono/Gecko installers, no menu entries.
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
