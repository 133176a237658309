# Sourced, not run. A private Wine for running and testing Corvane: its own
# prefix, home, locale and X server, so nothing of the user's is touched and
# parallel runs do not meet.
#   wine_session_start DIR   sets WINEPREFIX and friends, starts Xvfb when needed
#   wine_session_dpi N       sets the desktop's DPI (restarts the wineserver)
#   wine_session_recorder EXE   registers EXE as the http and https handler
#   wine_session_start_tests DIR BIN   a session for the tests: recorder,
#                            reference picture, desktop at 96 DPI
#   wine_session_stop        ends what the two starts started, by id

wine_session_start() {
  local dir=$1
  mkdir -p "$dir/home" "$dir/locale" "$dir/tmp"
  export WINE_SESSION_DIR=$dir
  export WINEPREFIX=$dir/prefix
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  export HOME=$dir/home XDG_CONFIG_HOME=$dir/home/.config XDG_DATA_HOME=$dir/home/.local/share
  export XDG_CACHE_HOME=$dir/home/.cache XDG_RUNTIME_DIR=$dir/tmp
  # Without a zh_CN locale Wine garbles non-ASCII text; build one privately.
  [ -d "$dir/locale/zh_CN.UTF-8" ] || localedef -i zh_CN -f UTF-8 "$dir/locale/zh_CN.UTF-8" 2>/dev/null || true
  export LOCPATH=$dir/locale LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8

  WINE_SESSION_XVFB_PID=
  if [ -z "${DISPLAY:-}" ] || [ "${WINE_SESSION_OWN_DISPLAY:-0}" = 1 ]; then
    local fifo=$dir/tmp/displayfd
    rm -f "$fifo"; mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >"$dir/xvfb.log" 2>&1 &
    WINE_SESSION_XVFB_PID=$!
    local number
    read -r number <"$fifo"
    rm -f "$fifo"
    export DISPLAY=:$number
  fi

  if [ ! -f "$WINEPREFIX/.corvane-ready-2" ]; then
    wineboot -i >"$dir/wineboot.log" 2>&1
    wineserver -w
    # Wine draws its title-bar buttons with Marlett; Debian ships it apart.
    cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    wine_session_registry
    touch "$WINEPREFIX/.corvane-ready-2"
  fi
  # One wineserver for the whole run, warmed up by a trivial program.
  wineserver -p >/dev/null 2>&1
  wine cmd /c exit >/dev/null 2>&1 </dev/null
}

wine_session_registry() {
  local reg=$WINE_SESSION_DIR/tmp/corvane.reg
  # A virtual desktop gives windows frames and focus; fonts that Wine lacks
  # are mapped to installed ones.
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\r\n"Desktop"="Corvane"\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\r\n"Corvane"="1024x768"\r\n\r\n'
    printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]\r\n'
    printf '"Verdana"="Tahoma"\r\n"宋体"="WenQuanYi Zen Hei"\r\n"SimSun"="WenQuanYi Zen Hei"\r\n\r\n'
    # A program that crashes ends at once instead of waiting for a click on
    # Wine's crash dialog until its test times out.
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\r\n"ShowCrashDialog"=dword:00000000\r\n\r\n'
  } | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$reg"
  wine regedit /S "$(winepath -w "$reg")" >/dev/null 2>&1 </dev/null
  wineserver -w
}

wine_session_dpi() {
  echo "$1" >"$WINE_SESSION_DIR/dpi"
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1 </dev/null
  wineserver -k
  wineserver -w
  wineserver -p >/dev/null 2>&1
  wine cmd /c exit >/dev/null 2>&1 </dev/null
}

wine_session_recorder() {
  local recorder
  recorder=$(winepath -w "$1")
  for scheme in http https; do
    wine reg add "HKCR\\$scheme\\shell\\open\\command" /ve /d "\"$recorder\" \"%1\"" /f >/dev/null 2>&1 </dev/null
  done
}

wine_session_start_tests() {
  local dir=$1 bin=$2
  local source_dir
  source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  WINE_SESSION_OWN_DISPLAY=1 wine_session_start "$dir" 2>/dev/null
  wine_session_dpi 96
  wine_session_recorder "$bin/recorder.exe"
  # The background picture's top-left corner as another decoder sees it.
  convert "$source_dir/resources/beach.jpg" -crop 640x320+0+0 +repage "$dir/beach-reference.ppm"
  export CORVANE_PICTURE_REFERENCE; CORVANE_PICTURE_REFERENCE=$(winepath -w "$dir/beach-reference.ppm")
}

wine_session_stop() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1
  [ -n "${WINEPREFIX:-}" ] && wineserver -w >/dev/null 2>&1
  if [ -n "${WINE_SESSION_XVFB_PID:-}" ]; then
    kill "$WINE_SESSION_XVFB_PID" 2>/dev/null
    wait "$WINE_SESSION_XVFB_PID" 2>/dev/null
  fi
  return 0
}
