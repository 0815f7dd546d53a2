# Packs resources/lang into the language archive with the natively built host
# tool, at build time: cmake -DTOOL=<langpack> -DSOURCE=<folder> -DOUTPUT=<file> -P pack_languages.cmake
# The tool is looked for when the archive is made, not when the cross build is
# configured, so the order of configuring the two builds does not matter; a
# missing tool stops the build instead of giving a program without languages.
if(NOT EXISTS "${TOOL}")
  message(FATAL_ERROR
    "The language archive needs the host tool langpack, which is not built yet (looked for ${TOOL}).\n"
    "Build it first:\n  cmake --preset release && cmake --build --preset release --target langpack")
endif()
execute_process(COMMAND "${TOOL}" "${SOURCE}" "${OUTPUT}.new" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "langpack failed (${result}) packing ${SOURCE}")
endif()
# Only a changed archive touches the output, so the resources are not rebuilt every time.
execute_process(COMMAND "${CMAKE_COMMAND}" -E copy_if_different "${OUTPUT}.new" "${OUTPUT}" RESULT_VARIABLE result)
file(REMOVE "${OUTPUT}.new")
if(NOT result EQUAL 0)
  message(FATAL_ERROR "could not write ${OUTPUT}")
endif()
