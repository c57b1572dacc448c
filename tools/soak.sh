#!/usr/bin/env bash
# A long run of the real program, in the private Xvfb display and Wine prefix
# of the tests; not part of CI. Periodic capture writes a picture every second
# for SOAK_MINUTES (10) while SOAK_CYCLES (500) captures by hotkey are spread
# over the same time: Ctrl+1, the picture window comes up, "Cancel" closes it.
#
#   tools/soak.sh                              # the full run, about 10 minutes
#   SOAK_MINUTES=1 SOAK_CYCLES=50 tools/soak.sh  # a short one
#
# It prints one line per figure with PASS or FAIL and exits non-zero when any
# fails:
# - capture cycles: every Ctrl+1 opened the picture window and Cancel closed it
#   (a press that Wine lost is made again, up to three, and counted);
# - files written: one per second of periodic capture, within 1 (the ticks
#   keep to a schedule fixed at the start, so none is lost to drift);
# - files decodable: every *.jpg decodes to its end with libjpeg-turbo, none is
#   empty, every name reads as "yyyy-mm-dd hh_nn_ss[ (n)].jpg";
# - other files: nothing else is left in the folder (no temporary files);
# - gaps in time series: the time stamps of the names, in order, never step
#   by more than the period plus one second of timer jitter (judged here and
#   not in the tests: on a machine loaded by other work a tick can take most
#   of a period, and the system's timer skips a tick that falls due while the
#   program is still busy with a capture by hotkey);
# - private bytes, GDI objects, windows: sampled from outside the program
#   (after a capture cycle, with the picture window closed) about a hundred
#   times; after warm-up (the first fifth of the run, at least 10 s) no sample
#   exceeds the first one after warm-up by more than 5 %;
# - program: Ctrl+S stopped periodic capture and the program closed with 0.
#
# How the figures are read (tests/e2e/ProcessStats.cpp):
# - private bytes: the sizes of the committed private regions of the
#   program's address space, walked with VirtualQueryEx (Wine keeps no
#   PrivateUsage counter for another process);
# - GDI objects: GetGuiResources gives 0 under Wine, so the program's own GDI
#   handle table is read. NtQueryInformationProcess(ProcessBasicInformation)
#   gives its PEB; the PEB's GdiSharedHandleTable field (offset 0xF8 in a
#   64-bit process) points at the table of 65536 entries of 24 bytes each
#   (Wine 8's GDI_HANDLE_ENTRY: 8-byte Object, 4-byte Owner, 2-byte Unique,
#   1-byte Type, 1-byte Flags, 8-byte UserPointer). The table is read whole
#   with ReadProcessMemory, and the entries whose Type is not zero are counted
#   (Wine clears it when the handle is freed); the count includes the
#   program's stock objects. Before the run, the counter is checked on a test
#   program that creates 100 brushes: the count must rise by exactly 100 (and
#   private bytes by 16 MB as it commits 16 MB);
# - windows: the program's top-level windows, hidden or not, and all their
#   children.
# The samples are kept in $build/soak-samples.csv.
set -euo pipefail
source "$(dirname "$0")/common.sh"

minutes=${SOAK_MINUTES:-10}
cycles=${SOAK_CYCLES:-500}

snapora_test_session
snapora_build --target soak_driver >/dev/null
echo "soak: display $DISPLAY, Wine prefix $WINEPREFIX"

driver=$build/bin/soak_driver.exe
samples=$build/soak-samples.csv
status=0
wine "$driver" --check-counters || status=1
wine "$driver" --minutes "$minutes" --cycles "$cycles" --samples "$(winepath -w "$samples")" || status=1
echo "soak: samples in $samples"
exit $status
