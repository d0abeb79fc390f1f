#!/usr/bin/env bash
# Unpacks one of Debian's source packages into build/sources/PACKAGE: libjpeg-turbo, zlib and
# libpng1.6 for the MinGW builds, pillow for the BMP test corpus it carries. The machine's apt
# configuration is left alone: a private source list, built at run time from the machine's own
# archive addresses, lives in a scratch folder that is deleted afterwards (it names the archive
# host, which stays out of the repository and the logs).
#
# Usage: tools/fetch-debian-source.sh PACKAGE FILE   (FILE: a path inside the unpacked tree whose
# presence means the package is there already)
set -euo pipefail
cd "$(dirname "$0")/.."

package=$1
target=build/sources/$package
[[ -e $target/$2 ]] && exit 0

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch"/{lists/partial,cache/archives/partial,parts,download}

# One deb-src line per deb line of the machine's sources, both one-line and deb822 forms.
python3 - "$scratch/sources.list" <<'PY'
import glob, re, sys
out = []
def add(uri, suite, comps):
    line = f"deb-src [trusted=yes] {uri} {suite} {comps}"
    if line not in out:
        out.append(line)
for path in ["/etc/apt/sources.list"] + sorted(glob.glob("/etc/apt/sources.list.d/*.list")):
    try:
        text = open(path).read()
    except OSError:
        continue
    for line in text.splitlines():
        line = re.sub(r"\[[^]]*\]", "", line.split("#", 1)[0]).split()
        if len(line) >= 4 and line[0] == "deb":
            add(line[1], line[2], " ".join(line[3:]))
for path in sorted(glob.glob("/etc/apt/sources.list.d/*.sources")):
    for stanza in open(path).read().split("\n\n"):
        fields = {}
        for line in stanza.splitlines():
            if ":" in line and not line.startswith((" ", "#")):
                key, value = line.split(":", 1)
                fields[key.strip().lower()] = value.strip()
        if "deb" not in fields.get("types", "").split():
            continue
        for uri in fields.get("uris", "").split():
            for suite in fields.get("suites", "").split():
                add(uri, suite, fields.get("components", "main"))
open(sys.argv[1], "w").write("\n".join(out) + "\n")
PY

apt_options=(
  -o "Dir::Etc::SourceList=$scratch/sources.list"
  -o "Dir::Etc::SourceParts=$scratch/parts"
  -o "Dir::State::Lists=$scratch/lists"
  -o "Dir::Cache=$scratch/cache"
  -o "APT::Sandbox::User=root"
)
echo "setup: fetching the $package source package"
apt-get "${apt_options[@]}" update -qq >/dev/null
# Newest version first. An archive mirror may list a version whose files it does not serve (the
# security suite's source pool is missing from some): the next older one is taken then. apt's own
# messages name the host, so a failed attempt's are kept out of the output.
versions=()
while read -r version; do
  i=${#versions[@]}
  versions+=("$version")
  while ((i > 0)) && dpkg --compare-versions "${versions[i-1]}" lt "$version"; do
    versions[i]=${versions[i-1]}
    versions[i-1]=$version
    i=$((i - 1))
  done
done < <(apt-cache "${apt_options[@]}" showsrc "$package" 2>/dev/null |
           awk -v p="$package" '/^Package:/ { ours = ($2 == p) } ours && /^Version:/ { print $2 }' |
           sort -u)
((${#versions[@]})) || { echo "setup: no source package $package in the machine's archives" >&2; exit 1; }
dsc=
for version in "${versions[@]}"; do
  rm -rf "$scratch/download"/*
  if (cd "$scratch/download" &&
      apt-get "${apt_options[@]}" source --download-only -qq "$package=$version" >/dev/null 2>&1); then
    dsc=$(ls "$scratch"/download/"$package"_*.dsc | head -n 1)
    break
  fi
  echo "setup: the archive does not serve $package $version; trying an older version"
done
[[ -n $dsc ]] || { echo "setup: no version of $package could be fetched" >&2; exit 1; }
rm -rf "$target" "$scratch/unpacked"
dpkg-source --no-check -x "$dsc" "$scratch/unpacked" >/dev/null
mkdir -p "$(dirname "$target")"
mv "$scratch/unpacked" "$target"
echo "setup: $package $(basename "$dsc" .dsc | cut -d_ -f2) unpacked into $target"
