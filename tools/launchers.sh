# Sourced by the build and test scripts: which launchers this machine runs.
#
# Both launchers are always built: the 32-bit one (the product) in BUILD, the
# 64-bit one in BUILD/x64. Tests run where Wine can run them: the 32-bit
# launcher's only where the machine can start 32-bit Linux programs (the
# 32-bit Wine loader starts), the 64-bit launcher's everywhere, with the
# 64-bit loader alone.
#
# TEST_ARCH: auto (every launcher the machine can run), x64 (the 64-bit-only
# path, on any machine), x86 (the 32-bit launcher alone).

machine_runs_32bit() { /usr/lib/wine/wine --version >/dev/null 2>&1; }

# Why the 32-bit launcher cannot be tested: apt's reason when the set-up
# could not install the 32-bit Wine (BUILD/.wine32-missing, written by
# tools/install-deps.sh; set WINE32_NOTE to that file), else the kernel's.
why_no_32bit() {
  if [ -n "${WINE32_NOTE:-}" ] && [ -s "$WINE32_NOTE" ]; then head -n 1 "$WINE32_NOTE"
  elif [ ! -e /usr/lib/wine/wine ]; then echo "the 32-bit Wine is not installed"
  else echo "this machine cannot run 32-bit Linux programs"; fi
}

# Sets TEST_X86 and TEST_X64 to yes or no, and WHY to a phrase for the
# first line of the output; fails on an unknown or impossible TEST_ARCH.
choose_launchers() {
  local arch=${1:-auto}
  TEST_X86=no; TEST_X64=no
  case "$arch" in
    auto)
      TEST_X64=yes
      if machine_runs_32bit; then TEST_X86=yes; WHY="this machine runs 32-bit and 64-bit programs"
      else WHY="the 32-bit launcher is not tested because $(why_no_32bit)"; fi ;;
    x64) TEST_X64=yes; WHY="the 64-bit-only path, chosen with TEST_ARCH=x64" ;;
    x86)
      machine_runs_32bit || { echo "TEST_ARCH=x86: $(why_no_32bit)" >&2; return 1; }
      TEST_X86=yes; WHY="the 32-bit launcher alone, chosen with TEST_ARCH=x86" ;;
    *) echo "TEST_ARCH must be auto, x64 or x86 (not '$arch')" >&2; return 1 ;;
  esac
}

# The launchers chosen, in words.
launcher_words() {
  if [ "$TEST_X86" = yes ] && [ "$TEST_X64" = yes ]; then echo "the 32-bit launcher (i686) and the 64-bit launcher (x86_64)"
  elif [ "$TEST_X86" = yes ]; then echo "the 32-bit launcher (i686)"
  else echo "the 64-bit launcher (x86_64)"; fi
}
