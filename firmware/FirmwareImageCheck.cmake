# tvs_check_firmware_image(<file> <size>)
#
# Stops the configuration unless <file> is a file of exactly <size> bytes. The
# updater sends the images to the device as they are, so a file of another size
# can only be the wrong one.
#
# The check also runs on its own, which is how it is tested:
#   cmake -DIMAGE=<file> -DSIZE=<bytes> -P FirmwareImageCheck.cmake
function(tvs_check_firmware_image file size)
  if(NOT EXISTS "${file}" OR IS_DIRECTORY "${file}")
    message(FATAL_ERROR
      "Firmware image ${file} does not exist; it must be a file of ${size} bytes.")
  endif()
  file(SIZE "${file}" actual)
  if(NOT actual EQUAL size)
    message(FATAL_ERROR
      "Firmware image ${file} is ${actual} bytes; it must be exactly ${size} bytes.")
  endif()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  tvs_check_firmware_image("${IMAGE}" "${SIZE}")
endif()
