# Shared by the scripts: install what is missing from Debian's packages.
# Source it; it defines need_packages.

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

_apt_updated=0
need_packages() {
  local missing=()
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  if [ "$_apt_updated" -eq 0 ]; then
    as_root apt-get update -qq
    _apt_updated=1
  fi
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# What building and testing the program itself needs.
BASE_PACKAGES=(build-essential cmake qt6-base-dev qt6-base-dev-tools libgl-dev
               fonts-ipafont-gothic locales qt6-translations-l10n)

# The real Java tools that the tests start (javac, ecj, java) and that the
# demo kit names. The demo takes the whole JDK: its editor opens a window.
JAVA_TEST_PACKAGES=(default-jdk-headless ecj)
JAVA_DEMO_PACKAGES=(default-jdk)

# What building and testing the Windows program needs.
WIN_PACKAGES=(g++-mingw-w64-x86-64-posix wine wine64 ninja-build)

# configure_and_build PRESET [BUILD OPTIONS...]: one of CMakePresets.json's
# presets, configured and built (options such as --target go to the build).
configure_and_build() {
  local preset=$1; shift
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j"$(nproc)" "$@"
}

# Makes a locale such as ja_JP.UTF-8 available to programs that ask for it.
ensure_locale() {
  local name=$1
  locale -a 2>/dev/null | grep -qix "${name/UTF-8/utf8}" && return 0
  need_packages locales
  as_root sed -i "s/^# *\(${name} \)/\1/" /etc/locale.gen
  grep -q "^${name} " /etc/locale.gen || echo "${name} ${name#*.}" | as_root tee -a /etc/locale.gen >/dev/null
  as_root locale-gen >/dev/null
}
