#!/usr/bin/env bash
# Runs an ALSA sequencer test where a sequencer exists.
#   alsa-vm.sh WORKDIR TEST-BINARY [ARGUMENTS...]
# (OSTREL_VM_FILES: programs the test runs, copied beside it.)
# With /dev/snd/seq on this machine the test runs directly. Otherwise it runs
# inside a tiny virtual machine: this machine's kernel with the sequencer
# modules, busybox, the test binary with its shared libraries and ALSA's
# configuration in an initramfs, booted by QEMU under software emulation
# (KVM is left out: nested, it hangs on some of our build machines). The
# test's exit status is passed on; 77 (skipped) when neither is possible.
set -euo pipefail
workdir=$1
binary=$(readlink -f "$2")
shift 2

if [ -c /dev/snd/seq ] && [ -r /dev/snd/seq ] && [ -w /dev/snd/seq ]; then
    exec "$binary" "$@"
fi

skip() {
    echo "SKIPPED: no /dev/snd/seq here and no virtual machine: $1"
    exit 77
}

kernel=$(ls /boot/vmlinuz-* 2>/dev/null | sort -V | tail -n 1 || true)
[ -n "$kernel" ] || skip "no kernel image in /boot (Debian package linux-image-amd64)"
version=${kernel#/boot/vmlinuz-}
modules=/lib/modules/$version/kernel/sound
[ -d "$modules" ] || skip "no sound modules for kernel $version"
command -v qemu-system-x86_64 >/dev/null || skip "no qemu-system-x86_64 (package qemu-system-x86)"
busybox=$(command -v busybox || true)
[ -n "$busybox" ] && ! ldd "$busybox" >/dev/null 2>&1 || skip "no static busybox (package busybox-static)"
command -v cpio >/dev/null || skip "no cpio"

root=$workdir/root
rm -rf "$root"
mkdir -p "$root"/{bin,dev,proc,sys,tmp,modules,tests,usr/share}
cp "$busybox" "$root/bin/busybox"
for module in soundcore.ko core/snd.ko core/snd-timer.ko core/snd-seq-device.ko \
              core/seq/snd-seq.ko core/seq/snd-seq-dummy.ko; do
    cp "$modules/$module" "$root/modules/"
done
# The test and the programs it runs (OSTREL_VM_FILES, separated by spaces),
# with the shared libraries they need at their own paths.
for file in "$binary" ${OSTREL_VM_FILES:-}; do
    cp "$file" "$root/tests/"
    ldd "$file" | grep -o '/[^ ]*' | sort -u | while read -r library; do
        mkdir -p "$root$(dirname "$library")"
        cp -L "$library" "$root$library"
    done
done
cp -r /usr/share/alsa "$root/usr/share/"

name=$(basename "$binary")
{
    echo '#!/bin/busybox sh'
    echo '/bin/busybox --install -s /bin'
    echo 'export PATH=/bin'
    echo 'mount -t proc proc /proc; mount -t sysfs sys /sys; mount -t devtmpfs dev /dev'
    echo 'mount -t tmpfs tmp /tmp'
    echo 'for m in soundcore snd snd-timer snd-seq-device snd-seq snd-seq-dummy; do'
    echo '    insmod /modules/$m.ko || echo "insmod $m failed"'
    echo 'done'
    echo 'export HOME=/tmp XDG_RUNTIME_DIR=/tmp QT_QPA_PLATFORM=offscreen'
    printf 'cd /tests && ./%q' "$name"
    for argument in "$@"; do printf ' %q' "$argument"; done
    echo
    echo 'echo "OSTREL-VM-EXIT $?"'
    echo 'poweroff -f'
} >"$root/init"
chmod +x "$root/init"

initrd=$workdir/initrd.cpio.gz
(cd "$root" && find . | cpio -o -H newc --quiet | gzip -1) >"$initrd"

log=$workdir/console.log
echo "Booting $kernel with the sequencer to run $name"
timeout 600 qemu-system-x86_64 -accel tcg -m 768 -kernel "$kernel" \
    -initrd "$initrd" -append "console=ttyS0 quiet panic=-1" -nographic -no-reboot \
    </dev/null 2>&1 | tee "$log" | grep -v -E '^\[ *[0-9]+\.[0-9]+\]' || true
status=$({ grep -a -o 'OSTREL-VM-EXIT [0-9]*' "$log" || true; } | tail -n 1 | cut -d' ' -f2)
if [ -z "$status" ]; then
    echo "The virtual machine did not finish the test; console in $log"
    exit 1
fi
exit "$status"
