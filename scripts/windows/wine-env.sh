# Sourced by the Windows scripts, with $root, $qt and $build set: what Wine
# needs to run the cross-built programs from the build folder. Qt's libraries
# and the compiler's run-time ones are found through WINEPATH; Wine keeps its
# own settings in a prefix of the build's, not in the user's.
runtime_dirs=("$qt/bin")
for dll in libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll; do
  runtime_dirs+=("$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=$dll)")")
done
WINEPATH=""
for d in "${runtime_dirs[@]}"; do WINEPATH+="Z:${d//\//\\};"; done
export WINEPATH
export WINEPREFIX="$root/$build/wineprefix"
export WINEDEBUG=-all
# No .NET or browser engine to install into the new prefix.
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -d "$WINEPREFIX" ]; then
  wineboot --init >/dev/null 2>&1 || true
  wineserver -w
fi
