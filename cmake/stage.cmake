# Script mode (cmake -P), run by the hm_stage target of cmake/package.cmake:
#   STAGE       the folder to make afresh: the program folder as it ships
#   NSH         the installer's file lists to write: the macros HM_INSTALL_FILES and
#               HM_REMOVE_FILES, one line per file, so the uninstaller removes exactly what the
#               installer put down
#   BUILD_DIR   the build folder
#   PROGRAMS    the executables, full paths; they go into the top of STAGE
#   DATA_FILES  the other files, relative to BUILD_DIR, kept at the same relative place

cmake_policy(SET CMP0007 NEW)

foreach(name STAGE NSH BUILD_DIR PROGRAMS DATA_FILES)
  if(NOT DEFINED ${name} OR "${${name}}" STREQUAL "")
    message(FATAL_ERROR "stage.cmake: ${name} is not set")
  endif()
endforeach()

# Nothing of an earlier run may ship: a program that is no longer built, a renamed file.
file(REMOVE_RECURSE "${STAGE}")
file(MAKE_DIRECTORY "${STAGE}")

set(relative_files)
foreach(program ${PROGRAMS})
  get_filename_component(name "${program}" NAME)
  file(COPY_FILE "${program}" "${STAGE}/${name}")
  list(APPEND relative_files "${name}")
endforeach()
foreach(file ${DATA_FILES})
  if(NOT EXISTS "${BUILD_DIR}/${file}")
    message(FATAL_ERROR "stage.cmake: ${BUILD_DIR}/${file} was not built")
  endif()
  get_filename_component(folder "${STAGE}/${file}" DIRECTORY)
  file(MAKE_DIRECTORY "${folder}")
  file(COPY_FILE "${BUILD_DIR}/${file}" "${STAGE}/${file}")
  list(APPEND relative_files "${file}")
endforeach()

# Files by folder, the top folder first, so that SetOutPath changes once per folder.
set(folders)
foreach(file ${relative_files})
  get_filename_component(folder "${file}" DIRECTORY)
  list(APPEND folders "${folder}")
endforeach()
list(REMOVE_DUPLICATES folders)
list(SORT folders)

function(_nsis_text out value)
  string(REPLACE "$" "$$" value "${value}")
  string(REPLACE "/" "\\" value "${value}")
  set(${out} "${value}" PARENT_SCOPE)
endfunction()

set(install "!macro HM_INSTALL_FILES\n")
set(remove "!macro HM_REMOVE_FILES\n")
foreach(folder IN LISTS folders)
  if(folder STREQUAL "")
    string(APPEND install "  SetOutPath \"$INSTDIR\"\n")
  else()
    _nsis_text(windows_folder "${folder}")
    string(APPEND install "  SetOutPath \"$INSTDIR\\${windows_folder}\"\n")
  endif()
  foreach(file ${relative_files})
    get_filename_component(file_folder "${file}" DIRECTORY)
    if(NOT file_folder STREQUAL folder)
      continue()
    endif()
    string(REPLACE "$" "$$" source "${STAGE}/${file}")
    _nsis_text(windows_file "${file}")
    string(APPEND install "  File \"${source}\"\n")
    string(APPEND remove "  Delete \"$INSTDIR\\${windows_file}\"\n")
  endforeach()
endforeach()
# Sub-folders last and deepest first; a folder that still holds the user's own files stays.
list(REVERSE folders)
foreach(folder IN LISTS folders)
  if(NOT folder STREQUAL "")
    _nsis_text(windows_folder "${folder}")
    string(APPEND remove "  RMDir \"$INSTDIR\\${windows_folder}\"\n")
  endif()
endforeach()
string(APPEND install "  SetOutPath \"$INSTDIR\"\n!macroend\n")
string(APPEND remove "!macroend\n")
file(WRITE "${NSH}" "; Written by cmake/stage.cmake from the files that ship.\n${install}${remove}")
