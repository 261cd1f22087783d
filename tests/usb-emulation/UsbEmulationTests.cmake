# Each test runs a command through the harness against one scenario of the
# simulated device and checks the exit code and the output (see
# cmake/RunAndMatch.cmake; in the expected output \\n stands for a line end).
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
tvs_usb_emulation_test(cli_update_write_fails 1 "\\(error -2\\)" 90 --scenario=write-fails -- ${cli} update --yes)
tvs_usb_emulation_test(cli_update_from_update_mode 0 "successfully updated\\."
  90 --scenario=in-dfu-mode --expect-flashed -- ${cli} update --yes)
# The device drops off the bus when it is sent block 3 of image A (image B,
# 15360 bytes, goes first).
tvs_usb_emulation_test(cli_update_unplugged 1 "27648 / 75776 bytes +failed\\n.*\\(error -2\\)"
  90 --unplug-at-block=3 -- ${cli} update --yes)

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
