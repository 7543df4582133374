# The release package of the Windows build:
#
#   cmake --build --preset win32 --target package
#
# makes Tollgram-VERSION-win32.zip in the build folder: the DLL and the host
# tool stripped, the script author's guide, the change log, the examples and
# the notices of the third-party code in the two programs. The DLL's
# debugging information is kept beside the package, as
# Tollgram-VERSION-win32.dll.debug, and the DLL names it in its debug link,
# so that a debugger finds it when it lies beside the DLL.
set(TOLLGRAM_RELEASE_NAME "Tollgram-${PROJECT_VERSION}-win32")
set(release_dir "${CMAKE_BINARY_DIR}/release")
set(release_debug_file "${CMAKE_BINARY_DIR}/${TOLLGRAM_RELEASE_NAME}.dll.debug")

# The library's own code with debugging information too, so that the kept
# file explains a crash inside Tollgram, not only inside the runtime.
target_compile_options(tollgram_objects PRIVATE -g)
target_compile_options(tollgram PRIVATE -g)

if(NOT CMAKE_OBJCOPY)
  message(FATAL_ERROR "The package needs objcopy of the MinGW binutils (binutils-mingw-w64-i686)")
endif()
add_custom_command(
  OUTPUT "${release_dir}/Tollgram.dll" "${release_debug_file}" "${release_dir}/tollgram-host.exe"
  COMMAND "${CMAKE_COMMAND}" -E make_directory "${release_dir}"
  COMMAND "${CMAKE_OBJCOPY}" --only-keep-debug "$<TARGET_FILE:tollgram>" "${release_debug_file}"
  COMMAND "${CMAKE_OBJCOPY}" --strip-all "--add-gnu-debuglink=${release_debug_file}"
          "$<TARGET_FILE:tollgram>" "${release_dir}/Tollgram.dll"
  COMMAND "${CMAKE_OBJCOPY}" --strip-all "$<TARGET_FILE:tollgram-host>" "${release_dir}/tollgram-host.exe"
  DEPENDS tollgram tollgram-host
  COMMENT "Release files: the DLL and the tool without debugging information")
add_custom_target(release_files ALL DEPENDS "${release_dir}/Tollgram.dll" "${release_dir}/tollgram-host.exe")

# The notices of third-party code in the DLL and the tool, from the Debian
# packages it comes from: stb (pictures, in the tool), fast_float (reading
# numbers, in the DLL) and MinGW-w64's runtime and threads library, linked
# into both. GCC's own runtime needs no
# notice (GCC Runtime Library Exception).
set(release_notices "")
foreach(notice "stb:libstb-dev" "fast_float:libfast-float-dev" "mingw-w64:mingw-w64-i686-dev")
  string(REPLACE ":" ";" notice "${notice}")
  list(GET notice 0 notice_name)
  list(GET notice 1 notice_package)
  set(copyright "/usr/share/doc/${notice_package}/copyright")
  if(NOT EXISTS "${copyright}")
    message(FATAL_ERROR "The package needs the notice ${copyright} (${notice_package})")
  endif()
  configure_file("${copyright}" "${release_dir}/third-party/${notice_name}.txt" COPYONLY)
  list(APPEND release_notices "${release_dir}/third-party/${notice_name}.txt")
endforeach()

# The examples as the repository has them, not what a run left beside them.
find_package(Git QUIET)
set(example_files "")
if(GIT_FOUND AND EXISTS "${PROJECT_SOURCE_DIR}/.git")
  execute_process(COMMAND "${GIT_EXECUTABLE}" ls-files examples
                  WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}" OUTPUT_VARIABLE example_files
                  OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE git_failed)
  if(git_failed)
    set(example_files "")
  endif()
  string(REPLACE "\n" ";" example_files "${example_files}")
  # Listed again when what git holds changes.
  execute_process(COMMAND "${GIT_EXECUTABLE}" rev-parse --absolute-git-dir WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}"
                  OUTPUT_VARIABLE git_dir OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(EXISTS "${git_dir}/index")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${git_dir}/index")
  endif()
endif()
if(NOT example_files)
  file(GLOB_RECURSE example_files LIST_DIRECTORIES false RELATIVE "${PROJECT_SOURCE_DIR}" "${PROJECT_SOURCE_DIR}/examples/*")
endif()
foreach(file ${example_files})
  get_filename_component(folder "${file}" DIRECTORY)
  install(FILES "${PROJECT_SOURCE_DIR}/${file}" DESTINATION "${folder}")
endforeach()

install(PROGRAMS "${release_dir}/Tollgram.dll" "${release_dir}/tollgram-host.exe" DESTINATION .)
install(FILES "${PROJECT_SOURCE_DIR}/docs/guide.md" "${PROJECT_SOURCE_DIR}/CHANGELOG.md" DESTINATION .)
# The header a host program written in C or C++ includes.
install(FILES "${PROJECT_SOURCE_DIR}/include/tollgram.h" DESTINATION include)
install(FILES ${release_notices} DESTINATION third-party)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Tollgram)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_FILE_NAME "${TOLLGRAM_RELEASE_NAME}")
set(CPACK_PACKAGE_DIRECTORY "${CMAKE_BINARY_DIR}")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_VERBATIM_VARIABLES ON)
include(CPack)
