# shellcheck shell=bash
# Journeys through Wine's real HID stack: the program, started without
# --virtual-mouse, finds the mouse that the virtual mouse's drivers
# (tests/winehid) present under hidclass.sys, and meets the system's own
# arrivals and removals. Sourced by journeys.sh, whose helpers (writes,
# settled, press, sent, unplug_ends_program, expect_value) they use; the set
# runs with the drivers installed in its prefix (ZJ_DRIVER_hid).
ZJ_DRIVER_hid=1

# 500 Hz from the report-rate section, a DPI-button press shown on the
# on-screen display, and the unplugged cable that ends the program.
journey_hid_stack() {
  zj_start hid-stack
  zj_wait_main_window || { zj_fail "no main window on the HID stack's mouse"; return 1; }
  zj_until 10 settled
  zj_trace ' cable get-feature ok 0C 01 20 ' >/dev/null || { zj_fail "no status reply through the HID stack"; return 1; }

  zj_header 3004 || return 1
  press 3032 || return 1
  sent "07 00 .. 01 01 02" || { zj_fail "500 Hz was not sent"; return 1; }
  local state
  state=$(zj_dump) || return 1
  grep -qx 'rate 02' "$state" || { zj_fail "the mouse holds $(grep '^rate' "$state"), not 500 Hz"; return 1; }
  zj_log "500 Hz went through hidclass.sys to the mouse"

  zj_osd_after_dpi_button || return 1
  zj_trace ' cable input-report ok 05 06 ' >/dev/null || { zj_fail "the DPI button's report is not in the trace"; return 1; }
  zj_log "the DPI button's input report came through the listener"

  local broken
  broken=$(zj_vmouse do check) || { zj_fail "the mouse: $broken"; return 1; }
  zj_log "every report kept the mouse's rules (layout, sequence, pauses)"

  unplug_ends_program || return 1
  zj_log "the system's removal of the cable ended the program"
  expect_value default0.psf PollingRateValue 020000
}

ZJ_SET_hid=(hid_stack)
