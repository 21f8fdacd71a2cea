#!/usr/bin/env bash
# Installs the Debian package on this machine (root or sudo), moves the build tree out of
# reach, checks the installed programs from /usr/bin, then purges the package and checks
# that nothing of it is left. Prints one line per check; exit 1 when any failed.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath -m "${LADOGRAF_BUILD_DIR:-build}")
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
apt_install() {
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "$@" >/dev/null
}

deb=$(bash scripts/package.sh | tail -n 1)
work=$(mktemp -d)
cp "$deb" "$work/"
deb="$work/$(basename "$deb")"
echo "package: $(basename "$deb")"

# What the checks themselves use: xdg-mime and the MIME database it reads.
needed=()
for p in xdg-utils shared-mime-info libfile-mimeinfo-perl man-db; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || needed+=("$p")
done
((${#needed[@]} == 0)) || apt_install "${needed[@]}"

if dpkg-query -W -f='${Status}' ladograf 2>/dev/null | grep -q 'installed'; then
  "${sudo_cmd[@]}" dpkg --purge ladograf >/dev/null
fi
# dpkg -i leaves the package unconfigured when a dependency is missing; apt-get brings them.
if ! "${sudo_cmd[@]}" dpkg -i "$deb" >/dev/null 2>&1; then
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get -f install -y -qq >/dev/null
fi
echo "installed: $(dpkg-query -W -f='${Package} ${Version} ${Status}' ladograf)"

moved=""
restore() {
  if [ -n "$moved" ] && [ -d "$moved" ]; then mv "$moved" "$build"; fi
  rm -rf "$work"
}
trap restore EXIT
if [ -d "$build" ]; then
  moved="$build.moved-away.$$"
  mv "$build" "$moved"
  echo "build tree moved to $moved"
fi

failed=0
check() { # NAME COMMAND...: the command's output must pass the test that follows in "$@"
  local name=$1
  shift
  if out=$("$@" 2>&1); then
    echo "ok:   $name${out:+ -> $(tail -n 1 <<<"$out")}"
  else
    echo "FAIL: $name -> $out"
    failed=1
  fi
}
expect() { # EXPECTED COMMAND...: stdout of the command equals EXPECTED
  local expected=$1 got
  shift
  got=$("$@") && [ "$got" = "$expected" ] && echo "$got" || { echo "got '$got', expected '$expected'"; return 1; }
}
headless() { env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=no-such-platform "$@"; }

cd "$work"
rm -f /tmp/x.cfg
check "programs in /usr/bin" bash -c 'ls /usr/bin/ladograf /usr/bin/ladograf-cli /usr/bin/meter-sim | tr "\n" " "'
check "ladograf --version without a display" expect "ladograf 4.0.20" headless /usr/bin/ladograf --version
check "ladograf --help without a display" bash -c 'env -u DISPLAY QT_QPA_PLATFORM=no-such-platform /usr/bin/ladograf --help | head -n 1'
check "ladograf-cli --version" expect "ladograf-cli 4.0.20" /usr/bin/ladograf-cli --version
check "meter-sim --version" expect "meter-sim 4.0.20" /usr/bin/meter-sim --version
check "meter-sim --help" bash -c '/usr/bin/meter-sim --help | head -n 1'
check "ladograf-cli new /tmp/x.cfg" bash -c '/usr/bin/ladograf-cli new /tmp/x.cfg && ls -l /tmp/x.cfg'
check "ladograf-cli dump /tmp/x.cfg" bash -c '/usr/bin/ladograf-cli dump /tmp/x.cfg | head -c 60 | tr -s "\n " " "'
printf 'Если UA > 253 то ВЫХ1 = 1, иначе ВЫХ1 = 0.\n' >rules.txt
check "ladograf-cli compile with the shipped dictionary" bash -c \
  '/usr/bin/ladograf-cli compile rules.txt --out code.bin && /usr/bin/ladograf-cli decode code.bin'
check "ladograf-cli compile --dictionary /usr/share/ladograf/Data/pke.dat" bash -c \
  '/usr/bin/ladograf-cli compile rules.txt --out code2.bin --dictionary /usr/share/ladograf/Data/pke.dat && cmp code.bin code2.bin && stat -c "%s bytes" code2.bin'
check "meter-sim serves, ladograf-cli identifies it" bash -c '
  coproc SIM { exec /usr/bin/meter-sim --tcp 127.0.0.1:0 --firmware 1.7.4/2.2.0; }
  read -r ready <&"${SIM[0]}"
  port=${ready##*:}
  /usr/bin/ladograf-cli identify --tcp "127.0.0.1:$port" --address 1 --password 1111
  status=$?
  kill "$SIM_PID"
  exit $status'
check "xdg-mime query filetype x.cfg" expect "application/x-ladograf-config" xdg-mime query filetype /tmp/x.cfg
check "desktop entry and icons" bash -c \
  'ls /usr/share/applications/ladograf.desktop /usr/share/icons/hicolor/48x48/apps/ladograf.png /usr/share/icons/hicolor/48x48/mimetypes/application-x-ladograf-config.png | tr "\n" " "'
check "manual pages" bash -c 'man -w ladograf ladograf-cli meter-sim | tr "\n" " "'
check "help and toolkit translations in place" bash -c \
  'ls /usr/share/ladograf/help/ladograf.html /usr/share/qt6/translations/qtbase_ru.qm | tr "\n" " "'
# A first start in a fresh home: still running after 5 s means the window came up and stayed.
mkdir -p home
check "first start of ladograf (offscreen, fresh home)" bash -c \
  'HOME=$PWD/home QT_QPA_PLATFORM=offscreen timeout 5 /usr/bin/ladograf --nosplash; [ $? -eq 124 ] && echo "running after 5 s"'

files=$(dpkg -L ladograf)
"${sudo_cmd[@]}" dpkg --purge ladograf >/dev/null
left=()
while IFS= read -r path; do
  case "$path" in
    /usr/share/ladograf* | /usr/share/doc/ladograf*) [ -e "$path" ] && left+=("$path") ;;
    *) [ -f "$path" ] && left+=("$path") ;;
  esac
done <<<"$files"
[ -e /usr/share/mime/application/x-ladograf-config.xml ] && left+=(/usr/share/mime/application/x-ladograf-config.xml)
if ((${#left[@]})); then
  echo "FAIL: purge left ${left[*]}"
  failed=1
else
  echo "ok:   purge leaves nothing behind ($(wc -l <<<"$files") paths checked; status: $(dpkg-query -W -f='${Status}' ladograf 2>/dev/null || echo unknown))"
fi
check "x.cfg is no longer our type" bash -c '[ "$(xdg-mime query filetype /tmp/x.cfg)" != application/x-ladograf-config ] && xdg-mime query filetype /tmp/x.cfg'
rm -f /tmp/x.cfg
exit $failed
