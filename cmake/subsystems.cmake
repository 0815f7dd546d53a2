# One static library per subsystem and layer. The portable core of subsystem X
# is the .cpp files of src/X/ (not in win/), its Win32 face those of src/X/win/.
#
# Each subsystem sees only its own headers and those of the subsystems it
# depends on: its include root is a folder of the build tree holding a link to
# src/X alone, and the roots reach a dependent only through target_link_libraries.
# An include that climbs (settings including app, medialist including the main
# window) therefore fails to compile, and a core file that includes a Win32
# header fails the native build, where no <windows.h> exists.
#
# Order matters: a subsystem may depend only on subsystems declared before it.

set(SORVANE_CORE_LIBRARIES)
set(SORVANE_WIN_LIBRARIES)

function(sorvane_include_root name out)
  set(root ${CMAKE_BINARY_DIR}/include/${name})
  if(CMAKE_HOST_UNIX)
    if(NOT EXISTS ${root}/${name})
      file(MAKE_DIRECTORY ${root})
      file(CREATE_LINK ${CMAKE_SOURCE_DIR}/src/${name} ${root}/${name} SYMBOLIC)
    endif()
  else()
    # Without symbolic links (a Windows host) every subsystem sees src/: the
    # layering is enforced by the Linux builds.
    set(root ${CMAKE_SOURCE_DIR}/src)
  endif()
  set(${out} ${root} PARENT_SCOPE)
endfunction()

# sorvane_subsystem(NAME [DEPENDS other ...]) makes sorvane_NAME (core) and, in
# the Windows build, sorvane_NAME_win.
function(sorvane_subsystem name)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  sorvane_include_root(${name} include_root)

  file(GLOB core_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${name}/*.cpp)
  set(core sorvane_${name})
  if(core_sources)
    add_library(${core} STATIC ${core_sources})
    target_include_directories(${core} PUBLIC ${include_root})
    set(scope PUBLIC)
    if(MSVC)
      target_compile_options(${core} PRIVATE /W4 /utf-8)
    else()
      target_compile_options(${core} PRIVATE -Wall -Wextra)
    endif()
    if(SORVANE_SANITIZE AND NOT WIN32)
      target_compile_options(${core} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer
                             -fno-sanitize-recover=undefined)
    endif()
    if(SORVANE_FUZZ)
      target_compile_options(${core} PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
    endif()
    if(WIN32)
      target_compile_definitions(${core} PUBLIC ${SORVANE_WIN_DEFS})
    endif()
  else()
    add_library(${core} INTERFACE)
    target_include_directories(${core} INTERFACE ${include_root})
    set(scope INTERFACE)
  endif()
  foreach(dep ${ARG_DEPENDS})
    target_link_libraries(${core} ${scope} sorvane_${dep})
  endforeach()
  set(SORVANE_CORE_LIBRARIES ${SORVANE_CORE_LIBRARIES} ${core} PARENT_SCOPE)

  if(WIN32)
    file(GLOB win_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${name}/win/*.cpp)
    # The entry point lives only in the exe, so the Win32 tests can link everything else.
    list(FILTER win_sources EXCLUDE REGEX "/app/win/entry\\.cpp$")
    set(win sorvane_${name}_win)
    if(win_sources)
      add_library(${win} STATIC ${win_sources})
      set(wscope PUBLIC)
      if(MINGW)
        target_compile_options(${win} PRIVATE -Wall -Wextra)
      elseif(MSVC)
        target_compile_options(${win} PRIVATE /W4 /utf-8)
      endif()
    else()
      add_library(${win} INTERFACE)
      set(wscope INTERFACE)
    endif()
    target_include_directories(${win} ${wscope} ${CMAKE_SOURCE_DIR}/resources)
    target_compile_definitions(${win} ${wscope} ${SORVANE_WIN_DEFS})
    target_link_libraries(${win} ${wscope} ${core} ${SORVANE_SYSTEM_LIBS})
    foreach(dep ${ARG_DEPENDS})
      target_link_libraries(${win} ${wscope} sorvane_${dep}_win)
    endforeach()
    set(SORVANE_WIN_LIBRARIES ${SORVANE_WIN_LIBRARIES} ${win} PARENT_SCOPE)
  endif()
endfunction()

sorvane_subsystem(framework)
sorvane_subsystem(settings DEPENDS framework)
sorvane_subsystem(language DEPENDS framework settings)
sorvane_subsystem(medialist DEPENDS framework settings language)
sorvane_subsystem(playback DEPENDS framework settings language medialist)
sorvane_subsystem(desktop DEPENDS framework settings language medialist playback)
sorvane_subsystem(app DEPENDS framework settings language medialist playback desktop)

# Everything of one layer, for the tests, tools and benchmarks.
add_library(sorvane_core INTERFACE)
target_link_libraries(sorvane_core INTERFACE ${SORVANE_CORE_LIBRARIES})
if(WIN32)
  add_library(sorvane_win INTERFACE)
  target_link_libraries(sorvane_win INTERFACE ${SORVANE_WIN_LIBRARIES})
endif()
