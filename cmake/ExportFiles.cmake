# Makes the linker's export lists from src/frame/export_table.h, so the names
# a linker exports can't drift from the shims: a module-definition file for
# the DLL and a version script for the Linux shared library.
# The first argument of every line of file that starts with macro(.
function(tollgram_macro_names file macro out_var)
  file(STRINGS "${file}" lines REGEX "^${macro}\\(")
  set(names)
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^${macro}\\(([A-Za-z0-9_]+)[,)].*" "\\1" name "${line}")
    list(APPEND names "${name}")
  endforeach()
  set(${out_var} "${names}" PARENT_SCOPE)
endfunction()

function(tollgram_export_names out_var)
  tollgram_macro_names("${PROJECT_SOURCE_DIR}/src/frame/export_table.h" TOLLGRAM_EXPORT names)
  set(${out_var} "${names}" PARENT_SCOPE)
endfunction()

# The public header declares the same exports in the same order; a build
# stops when the two lists part.
function(tollgram_check_public_header names)
  tollgram_macro_names("${PROJECT_SOURCE_DIR}/include/tollgram.h" TOLLGRAM_DECLARE_EXPORT declared)
  if(NOT declared STREQUAL names)
    message(FATAL_ERROR "include/tollgram.h declares ${declared}\nbut the export table lists ${names}")
  endif()
endfunction()

function(tollgram_write_export_files def_file version_script)
  tollgram_export_names(names)
  tollgram_check_public_header("${names}")
  set(def "LIBRARY Tollgram.dll\nEXPORTS\n")
  set(script "{\n  global:\n")
  foreach(name IN LISTS names)
    string(APPEND def "    ${name}\n")
    string(APPEND script "    ${name};\n")
  endforeach()
  string(APPEND script "  local:\n    *;\n};\n")
  file(CONFIGURE OUTPUT "${def_file}" CONTENT "${def}")
  file(CONFIGURE OUTPUT "${version_script}" CONTENT "${script}")
endfunction()
