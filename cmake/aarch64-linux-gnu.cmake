# Cross-build for 64-bit ARM Linux (arm64) with Debian's cross toolchain
# (crossbuild-essential-arm64) against the arm64 libraries installed beside
# the machine's own (multiarch: libsdl2-dev:arm64 and the like, in
# /usr/lib/aarch64-linux-gnu).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
# Packages and libraries are looked for in /usr/lib/aarch64-linux-gnu, never
# among the machine's own in /usr/lib/x86_64-linux-gnu.
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)
find_program(CMAKE_C_COMPILER NAMES aarch64-linux-gnu-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES aarch64-linux-gnu-g++ REQUIRED)
# The Debian architecture the .deb is for.
set(ONDULIX_DEB_ARCH arm64)
# Programs of this build, the tests and the generators run at build time,
# run under qemu's user-mode emulator, which finds the arm64 dynamic linker
# and libraries where multiarch puts them.
find_program(ONDULIX_QEMU_AARCH64 qemu-aarch64 REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${ONDULIX_QEMU_AARCH64})
# GCC fuses a*b+c into one fused multiply-add on aarch64 by default, which
# rounds once where the x86_64 build, which has no such instruction at its
# baseline, rounds twice: a wave row could land elsewhere. Each product and
# sum is rounded as written, on both.
set(CMAKE_C_FLAGS_INIT -ffp-contract=off)
set(CMAKE_CXX_FLAGS_INIT -ffp-contract=off)
