# The Windows program and its two Wine test levels.
enable_language(RC)

if(MINGW)
  # One file to copy: no libstdc++, libgcc or winpthread DLLs beside the exe.
  set(SORVANE_STATIC_LINK -static -static-libgcc -static-libstdc++)
endif()

# The language archive is produced by the native host tool from resources/lang.
set(SORVANE_LANG_ARCHIVE ${CMAKE_BINARY_DIR}/lang_archive.bin)
file(GLOB SORVANE_LANG_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/lang/*.txt)
if(NOT CMAKE_CROSSCOMPILING)
  # Building on Windows itself: the host tools are built right here.
  add_subdirectory(tools)
  add_custom_command(OUTPUT ${SORVANE_LANG_ARCHIVE}
    COMMAND langpack ${CMAKE_SOURCE_DIR}/resources/lang ${SORVANE_LANG_ARCHIVE}
    DEPENDS ${SORVANE_LANG_SOURCES} langpack
    COMMENT "Packing the language archive")
  add_custom_target(sorvane_lang_archive DEPENDS ${SORVANE_LANG_ARCHIVE})
else()
  # The cross build runs the natively built tool. It is looked for at build
  # time (the release build may be made after this one was configured), and
  # its absence fails the build: an exe with an empty archive would only show
  # an error to its users. Building the tool here through a nested native
  # build would compile the core a second time on every fresh build tree; the
  # release build makes it anyway for the benchmarks.
  if(NOT SORVANE_HOST_TOOLS_DIR)
    message(FATAL_ERROR "The cross build needs SORVANE_HOST_TOOLS_DIR, the folder of the natively built langpack "
                        "(the win preset sets it to build/release/tools)")
  endif()
  add_custom_target(sorvane_lang_archive
    COMMAND ${CMAKE_COMMAND} -DTOOL=${SORVANE_HOST_TOOLS_DIR}/langpack -DSOURCE=${CMAKE_SOURCE_DIR}/resources/lang
            -DOUTPUT=${SORVANE_LANG_ARCHIVE} -P ${CMAKE_SOURCE_DIR}/cmake/pack_languages.cmake
    BYPRODUCTS ${SORVANE_LANG_ARCHIVE}
    COMMENT "Packing the language archive"
    VERBATIM)
endif()

set(SORVANE_RC ${CMAKE_SOURCE_DIR}/resources/sorvane.rc)
set_source_files_properties(${SORVANE_RC} PROPERTIES OBJECT_DEPENDS
    "${SORVANE_LANG_ARCHIVE};${CMAKE_SOURCE_DIR}/resources/sorvane.manifest;${CMAKE_SOURCE_DIR}/resources/main_window.rc;${CMAKE_SOURCE_DIR}/resources/panel.rc;${CMAKE_SOURCE_DIR}/resources/sorvane.ico")

add_executable(Sorvane WIN32 ${CMAKE_SOURCE_DIR}/src/app/win/entry.cpp ${SORVANE_RC})
add_dependencies(Sorvane sorvane_lang_archive)
target_compile_definitions(Sorvane PRIVATE ${SORVANE_WIN_DEFS})
target_include_directories(Sorvane PRIVATE ${CMAKE_BINARY_DIR})
target_link_libraries(Sorvane PRIVATE sorvane_win ${SORVANE_STATIC_LINK})
if(MINGW)
  target_link_options(Sorvane PRIVATE -municode -s)
  target_compile_options(Sorvane PRIVATE -Os)
endif()
set_target_properties(Sorvane PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
# windres needs the folder of the generated archive on its include path.
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${CMAKE_BINARY_DIR} -I${CMAKE_SOURCE_DIR}/resources")

# GoogleTest cross-compiled from the Debian sources for the two Wine test levels.
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
if(EXISTS /usr/src/googletest/CMakeLists.txt)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  add_subdirectory(tests/win)
  add_subdirectory(tests/e2e)
else()
  message(WARNING "GoogleTest sources not found: Wine test levels are not built")
endif()

# Whole-program benchmarks: built here, run by hand.
add_subdirectory(bench/win)
