# The version header, the command line's resources, and what ships: the installer and the
# portable zip.
#
# Include from the top-level CMakeLists.txt inside if(WIN32), after every program that sits
# beside hushmark.exe is defined and after cmake/program_files.cmake. Provides:
#   ${CMAKE_BINARY_DIR}/hm_version.h   HM_VERSION_RC, HM_VERSION_TEXT from project(VERSION)
#   hm_stage      custom target: ${CMAKE_BINARY_DIR}/package/stage/Hushmark, made afresh with
#                 every file that ships, and the installer's file lists beside it
#   hm_setup      custom target: package/hushmark-VERSION-setup-ARCH.exe (makensis, Debian
#                 package nsis)
#   hm_portable   custom target: package/hushmark-VERSION-portable-ARCH.zip
# None of them is part of ALL: scripts/release and scripts/test-installer build them.
#
# The programs that ship are the executables defined in the top-level directory (hushmark,
# hushmark-cli and the companions; the tests and benchmarks live in sub-directories), found once
# the whole directory has been read, so a program added later ships without an edit here.

# --- The version, set once in project() -----------------------------------------------------
if(NOT PROJECT_VERSION_MINOR)
  set(PROJECT_VERSION_MINOR 0)
endif()
# "6.05" would give the resource compiler "05"; a plain number reads the same everywhere.
math(EXPR HM_VERSION_MINOR_NUMBER "${PROJECT_VERSION_MINOR}")
set(HM_VERSION "${PROJECT_VERSION}")
configure_file(${CMAKE_SOURCE_DIR}/app/version/version.h.in ${CMAKE_BINARY_DIR}/hm_version.h @ONLY)

# windres reports no dependencies, so every script that reads the header names it.
foreach(script app/hushmark.rc shredder/tessaro.rc regclean/mobrin/mobrin.rc
               app/version/hushmark-cli.rc)
  set_property(SOURCE ${CMAKE_SOURCE_DIR}/${script} APPEND PROPERTY OBJECT_DEPENDS
               ${CMAKE_BINARY_DIR}/hm_version.h)
endforeach()

target_sources(hushmark-cli PRIVATE app/version/hushmark-cli.rc)
target_include_directories(hushmark-cli PRIVATE ${CMAKE_BINARY_DIR})
target_compile_definitions(hushmark-cli PRIVATE HM_GENERATED_ICONS)
set_property(SOURCE ${CMAKE_SOURCE_DIR}/app/version/hushmark-cli.rc APPEND PROPERTY
             OBJECT_DEPENDS ${CMAKE_BINARY_DIR}/assets/hushmark.ico)
add_dependencies(hushmark-cli hm_icons)

# --- What ships -----------------------------------------------------------------------------
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(HM_PACKAGE_ARCH x64)
else()
  set(HM_PACKAGE_ARCH x86)
endif()
set(HM_PACKAGE_DIR ${CMAKE_BINARY_DIR}/package)
set(HM_SETUP_FILE ${HM_PACKAGE_DIR}/hushmark-${HM_VERSION}-setup-${HM_PACKAGE_ARCH}.exe)
set(HM_PORTABLE_FILE ${HM_PACKAGE_DIR}/hushmark-${HM_VERSION}-portable-${HM_PACKAGE_ARCH}.zip)

function(_hm_define_package_targets)
  get_property(targets DIRECTORY ${CMAKE_SOURCE_DIR} PROPERTY BUILDSYSTEM_TARGETS)
  set(programs)
  foreach(target ${targets})
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
      list(APPEND programs ${target})
    endif()
  endforeach()
  set(program_files)
  foreach(program ${programs})
    list(APPEND program_files $<TARGET_FILE:${program}>)
  endforeach()

  # Everything else beside the program, as cmake/program_files.cmake and the top-level
  # CMakeLists.txt place it in the build folder (folder/name relative to it).
  file(GLOB plugins RELATIVE ${CMAKE_SOURCE_DIR} CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/plus-in/*.hmx)
  set(data_files License.txt help.chm Sounds/Message.wav delThumbs.bat ${plugins})
  set(data_paths)
  foreach(file ${data_files})
    list(APPEND data_paths ${CMAKE_BINARY_DIR}/${file})
  endforeach()

  set(stage ${HM_PACKAGE_DIR}/stage)
  set(stamp ${HM_PACKAGE_DIR}/stage.stamp)
  add_custom_command(
    OUTPUT ${stamp} ${HM_PACKAGE_DIR}/files.nsh
    COMMAND ${CMAKE_COMMAND} -D STAGE=${stage}/Hushmark -D NSH=${HM_PACKAGE_DIR}/files.nsh
            -D BUILD_DIR=${CMAKE_BINARY_DIR} "-D PROGRAMS=${program_files}"
            "-D DATA_FILES=${data_files}" -P ${CMAKE_SOURCE_DIR}/cmake/stage.cmake
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${programs} ${program_files} ${data_paths} ${CMAKE_SOURCE_DIR}/cmake/stage.cmake
    COMMENT "Staging the files that ship"
    VERBATIM)
  add_custom_target(hm_stage DEPENDS ${stamp})
  add_dependencies(hm_stage hm_program_files ${programs})

  find_program(HM_MAKENSIS makensis DOC "NSIS compiler (Debian package nsis)")
  set(nsis_script ${CMAKE_SOURCE_DIR}/packaging/hushmark.nsi)
  add_custom_command(
    OUTPUT ${HM_SETUP_FILE}
    COMMAND ${HM_MAKENSIS} -V2 -NOCD -DVERSION=${HM_VERSION}
            -DVERSION_MAJOR=${PROJECT_VERSION_MAJOR} -DVERSION_MINOR=${HM_VERSION_MINOR_NUMBER}
            -DARCH=${HM_PACKAGE_ARCH} -DSTAGE=${stage}/Hushmark -DFILES_NSH=${HM_PACKAGE_DIR}/files.nsh
            -DICON=${HM_ASSETS_DIR}/hushmark.ico -DLICENSE=${stage}/Hushmark/License.txt
            -DOUTFILE=${HM_SETUP_FILE} ${nsis_script}
    DEPENDS ${stamp} ${nsis_script} ${HM_ASSETS_DIR}/hushmark.ico
    WORKING_DIRECTORY ${HM_PACKAGE_DIR}
    COMMENT "Making the installer with makensis"
    VERBATIM)
  add_custom_target(hm_setup DEPENDS ${HM_SETUP_FILE})
  add_dependencies(hm_setup hm_stage)

  # The zip holds one folder, Hushmark, with the same files as the installer; stamped with a
  # fixed time so that the same build gives the same zip.
  add_custom_command(
    OUTPUT ${HM_PORTABLE_FILE}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${HM_PORTABLE_FILE}
    COMMAND ${CMAKE_COMMAND} -E chdir ${stage} ${CMAKE_COMMAND} -E tar cf ${HM_PORTABLE_FILE}
            --format=zip "--mtime=2000-01-01 00:00:00 UTC" Hushmark
    DEPENDS ${stamp}
    COMMENT "Making the portable zip"
    VERBATIM)
  add_custom_target(hm_portable DEPENDS ${HM_PORTABLE_FILE})
  add_dependencies(hm_portable hm_stage)
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL _hm_define_package_targets)
