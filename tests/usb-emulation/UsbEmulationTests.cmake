# Each test runs commands through the harness against one scenario of the
# simulated device and checks the exit code and the output (see
# cmake/RunAndMatch.cmake: standard output, then standard error, where the
# updater writes its failures and the harness its own lines; in the expected
# output \\n stands for a line end).
function(tvs_usb_emulation_test name expected_exit expected_output timeout)
  list(JOIN ARGN " " arguments)
  add_test(NAME usb-emulation.${name}
    COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:usb-emulation-harness> "-DARGS=${arguments}"
            -DEXPECTED_EXIT=${expected_exit} "-DEXPECTED_OUTPUT=${expected_output}"
            -P ${PROJECT_SOURCE_DIR}/cmake/RunAndMatch.cmake)
  set_tests_properties(usb-emulation.${name} PROPERTIES
    LABELS usb-emulation TIMEOUT ${timeout} ENVIRONMENT "${usb_emulation_environment}")
endfunction()

# The updater through libusb (no --simulate).
set(cli $<TARGET_FILE:tvs-updater-cli>)
set(offered "Serial number: +TVS0012345\\nInstalled firmware: 32\\nNewest firmware: +33\\nUpdate available: +yes")
tvs_usb_emulation_test(cli_list 0 "TVS0012345 +run-time +32 / 0x65\\n" 30 -- ${cli} list)
tvs_usb_emulation_test(cli_list_update_mode 0 "TVS0012345 +update +32\\n" 30 --scenario=in-dfu-mode -- ${cli} list)
tvs_usb_emulation_test(cli_check 0 "${offered}" 30 -- ${cli} check)
# Updates take 5 to 11 s: the device's restarts and the updater's waits for them.
tvs_usb_emulation_test(cli_update 0 "Installed firmware: 33\\nThe firmware of your Trovix Studio was successfully updated\\."
  90 --expect-flashed -- ${cli} update --yes)
tvs_usb_emulation_test(cli_update_write_fails 1
  "\\(error -2; DFU state dfuERROR, status errWRITE\\)\\. Your Trovix Studio was left in firmware update mode with incomplete firmware\\."
  90 --scenario=write-fails -- ${cli} update --yes)
# The device is left in update mode with the write error; a second update
# finds it there and recovers it.
tvs_usb_emulation_test(cli_update_after_write_failure 0
  "successfully updated\\..*\\(error -2;.*command 1 exited with 1\\n.*command 2 exited with 0"
  120 --scenario=write-fails-once --expect-flashed -- ${cli} update --yes --then ${cli} update --yes)
tvs_usb_emulation_test(cli_update_from_update_mode 0 "successfully updated\\."
  90 --scenario=in-dfu-mode --expect-flashed -- ${cli} update --yes)
# The device drops off the bus when it is sent block 3 of image A (image B,
# 15360 bytes, goes first).
tvs_usb_emulation_test(cli_update_unplugged 1
  "Writing image A\\n.*\\(error -2\\)\\. Your Trovix Studio was left in firmware update mode with incomplete firmware\\."
  90 --unplug-at-block=3 -- ${cli} update --yes)
# Plugged back in, the device starts its boot loader (its flash is half
# written) and the next update completes.
tvs_usb_emulation_test(cli_update_after_replug 0
  "successfully updated\\..*\\(error -2\\).*plugging the device back in\\n.*command 2 exited with 0"
  120 --unplug-at-block=3 --expect-flashed -- ${cli} update --yes --then ${cli} update --yes)
# Without permission to open the device (no udev rule) every command names
# its node and the fix, and ends with exit code 4; the hardware log says what
# the bus answered. A user other than root meets the node's own permissions;
# root is kept from ignoring them by --unopenable.
set(no_permission "The Trovix Studio at /dev/bus/usb/001/002 cannot be opened for lack of permission; install the udev rule ${TVS_UDEV_RULES_DIR}/${TVS_UDEV_RULE_FILE}, then unplug the Trovix Studio and plug it in again\\.\\n")
tvs_usb_emulation_test(cli_list_unopenable 4 "USBDriver: cannot open the device at 1-1: access denied.*${no_permission}"
  30 --unopenable -- env TVS_HW_LOG=2::- ${cli} list)
execute_process(COMMAND id -u OUTPUT_VARIABLE tvs_user_id OUTPUT_STRIP_TRAILING_WHITESPACE)
find_program(TVS_SETPRIV setpriv)
if(tvs_user_id STREQUAL "0" AND TVS_SETPRIV)
  foreach(command list check update)
    tvs_usb_emulation_test(cli_${command}_as_another_user 4 "^${no_permission}usb-emulation: command 1 exited with 4"
      30 -- ${TVS_SETPRIV} --reuid=65534 --regid=65534 --clear-groups ${cli} ${command})
  endforeach()
endif()

# Interrupted twice in each phase of an update, by each signal that ends a
# program from outside: the program says which state it left the device in,
# `list` shows that state, and a following update brings the device to the
# carried firmware (or finds it there). Slower writes of image B and A leave
# time to catch their phases; a slow return, the check's.
set(interrupt ${CMAKE_CURRENT_SOURCE_DIR}/interrupt_update.sh)
set(phases reboot image-b image-a restart check)
set(reboot_phase "Restarting your Trovix Studio in firmware update mode")
set(reboot_state "may be waiting there")
set(reboot_mode "update +32")
set(reboot_options "")
set(image-b_phase "Writing image B")
set(image-b_state "with incomplete firmware")
set(image-b_mode "update +32")
set(image-b_options --slow-image-b-ms=50)
set(image-a_phase "Writing image A")
set(image-a_state "with incomplete firmware")
set(image-a_mode "update +32")
set(image-a_options --busy-ms=200)
set(restart_phase "Restarting your Trovix Studio with the new firmware")
set(restart_state "which is restarting with it")
set(restart_mode "run-time +33 / 0x67")
set(restart_options "")
set(check_phase "Checking the new firmware")
set(check_state "its firmware was not checked")
set(check_mode "run-time +33 / 0x67")
set(check_options --scenario=slow-return)
if(NOT TVS_SANITIZE)
  foreach(signal INT TERM PIPE)
    foreach(phase IN LISTS phases)
      tvs_usb_emulation_test(cli_interrupted_by_${signal}_in_${phase} 0
        "interrupt_update: SIG${signal} during \"${${phase}_phase}\": [^\n]*${${phase}_state}[^\n]*\n.*TVS0012345 +${${phase}_mode}\n.*(successfully updated|no newer firmware for your Trovix Studio)\\.\n.*command 1 exited with 0\n.*command 4 exited with 0"
        120 ${${phase}_options} --expect-flashed -- ${interrupt} ${cli} ${signal} \"${${phase}_phase}\" \"${${phase}_state}\"
        --then sleep 3 --then ${cli} list --then ${cli} update --yes)
    endforeach()
  endforeach()
endif()

# The device leaves on DFU_DETACH and returns in update mode: both changes
# reach the listeners, and the device factory, on the main thread.
tvs_usb_emulation_test(hotplug_on_main_thread 0
  "listener: removal usb#vid_17cc&pid_1300.*listener: arrival usb#vid_17cc&pid_1302.*factory: removal usb#vid_17cc&pid_1300.*factory: arrival usb#vid_17cc&pid_1302"
  30 -- $<TARGET_FILE:usb_emulation_hotplug_probe>)

# dfu-util as an independent host of the DFU 1.1 standard.
find_program(TVS_DFU_UTIL dfu-util)
if(NOT TVS_DFU_UTIL)
  return()
endif()
tvs_usb_emulation_test(dfu_util_list 0 "Found Runtime: \\[17cc:1300\\][^\\n]*path=\"1-1\"[^\\n]*serial=\"TVS0012345\""
  30 -- ${TVS_DFU_UTIL} -l)
tvs_usb_emulation_test(dfu_util_download 0 "Download done\\.\\n.*Done!"
  60 --scenario=in-dfu-mode --expect-image-a -- ${TVS_DFU_UTIL} -d 17cc:1302 -a 0 -D ${TVS_FIRMWARE_IMAGE_A})
# From run-time mode: DFU_DETACH, re-enumeration in DFU mode (dfu-util waits
# 2 s for it), then the download.
tvs_usb_emulation_test(dfu_util_detach_and_download 0 "Device will detach and reattach\\.\\.\\..*Done!"
  60 --expect-image-a -- ${TVS_DFU_UTIL} -d 17cc:1300,17cc:1302 -a 0 -E 2 -D ${TVS_FIRMWARE_IMAGE_A})
