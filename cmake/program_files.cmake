# The files that live beside the program, made at build time in ${CMAKE_BINARY_DIR}:
#
#   assets/hushmark.ico, assets/btn_*.ico   the program icon and the image-button icons, drawn
#                                           by assets/generate.py and compiled into hushmark.exe
#                                           through app/images.rc
#   Sounds/Message.wav                      the pop-up notification's chime (generated)
#   License.txt                             assets/License.txt with CR LF line ends
#   help.chm                                help/ compiled with chmcmd (Debian package fp-utils),
#                                           with the generated button pictures
#
# assets/check.py then checks all of them, including a self-test that damages copies and
# expects every fault to be found; the build fails when a check fails.
#
# Include from the top-level CMakeLists.txt inside if(WIN32), after hushmark and
# hm_gui_resources are defined. Provides:
#   hm_icons            custom target: the generated .ico files (hm_gui_resources depends on it)
#   hm_program_files    custom target, part of ALL: everything above, checked; hushmark,
#                       hushmark-cli and every executable under tests/ depend on it
#   HM_ASSETS_DIR       the folder of the generated icons, ${CMAKE_BINARY_DIR}/assets
#   HM_ICON_FILES       the generated .ico files, full paths

find_package(Python3 3.7 REQUIRED COMPONENTS Interpreter)
find_program(HM_CHMCMD chmcmd REQUIRED DOC "CHM compiler of Free Pascal (Debian package fp-utils)")

set(HM_ASSETS_DIR ${CMAKE_BINARY_DIR}/assets)
set(_hm_assets_src ${CMAKE_SOURCE_DIR}/assets)
set(_hm_button_names main settings clean search options shredder registry exit)

set(HM_ICON_FILES ${HM_ASSETS_DIR}/hushmark.ico)
set(_hm_help_pictures ${HM_ASSETS_DIR}/help-images/hushmark.png)
foreach(name ${_hm_button_names})
  list(APPEND HM_ICON_FILES ${HM_ASSETS_DIR}/btn_${name}.ico)
  list(APPEND _hm_help_pictures ${HM_ASSETS_DIR}/help-images/btn_${name}.png)
endforeach()
set(_hm_generated_wav ${HM_ASSETS_DIR}/Message.wav)

set(_hm_generator_sources
    ${_hm_assets_src}/generate.py
    ${_hm_assets_src}/raster.py
    ${_hm_assets_src}/imagefiles.py
    ${_hm_assets_src}/icon_designs.py
    ${_hm_assets_src}/chime.py)

add_custom_command(
  OUTPUT ${HM_ICON_FILES} ${_hm_help_pictures} ${_hm_generated_wav}
  COMMAND ${Python3_EXECUTABLE} -B ${_hm_assets_src}/generate.py ${HM_ASSETS_DIR}
  DEPENDS ${_hm_generator_sources}
  COMMENT "Drawing the icons and the chime"
  VERBATIM)
add_custom_target(hm_icons DEPENDS ${HM_ICON_FILES} ${_hm_help_pictures} ${_hm_generated_wav})

# The licence, with CR LF line ends whatever the checkout did to them.
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/License.txt
  COMMAND ${Python3_EXECUTABLE} -B ${_hm_assets_src}/generate.py --crlf
          ${_hm_assets_src}/License.txt ${CMAKE_BINARY_DIR}/License.txt
  DEPENDS ${_hm_assets_src}/License.txt ${_hm_assets_src}/generate.py
  COMMENT "Placing License.txt"
  VERBATIM)

add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/Sounds/Message.wav
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/Sounds
  COMMAND ${CMAKE_COMMAND} -E copy ${_hm_generated_wav} ${CMAKE_BINARY_DIR}/Sounds/Message.wav
  DEPENDS ${_hm_generated_wav}
  COMMENT "Placing Sounds/Message.wav"
  VERBATIM)

# The help is compiled in a staging folder that holds the sources and the pictures side by
# side, as the project file expects; the folder is made afresh so that no stale file gets in.
file(GLOB _hm_help_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/help/*)
set(_hm_help_stage ${CMAKE_BINARY_DIR}/help-build)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/help.chm
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${_hm_help_stage}
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/help ${_hm_help_stage}
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${HM_ASSETS_DIR}/help-images ${_hm_help_stage}/images
  COMMAND ${CMAKE_COMMAND} -E chdir ${_hm_help_stage} ${HM_CHMCMD} --verbosity 0 hushmark.hhp
  COMMAND ${CMAKE_COMMAND} -E copy ${_hm_help_stage}/help.chm ${CMAKE_BINARY_DIR}/help.chm
  DEPENDS ${_hm_help_sources} ${_hm_help_pictures}
  COMMENT "Compiling help.chm"
  VERBATIM)

set(_hm_check_stamp ${HM_ASSETS_DIR}/check.stamp)
add_custom_command(
  OUTPUT ${_hm_check_stamp}
  COMMAND ${Python3_EXECUTABLE} -B ${_hm_assets_src}/check.py ${CMAKE_BINARY_DIR}
          --help-source ${CMAKE_SOURCE_DIR}/help --self-test --stamp ${_hm_check_stamp}
  DEPENDS ${_hm_assets_src}/check.py ${HM_ICON_FILES} ${_hm_help_pictures}
          ${CMAKE_BINARY_DIR}/License.txt ${CMAKE_BINARY_DIR}/Sounds/Message.wav
          ${CMAKE_BINARY_DIR}/help.chm ${_hm_help_sources}
  COMMENT "Checking the icons, the chime, the licence and the help file"
  VERBATIM)

add_custom_target(hm_program_files ALL
  DEPENDS ${CMAKE_BINARY_DIR}/License.txt ${CMAKE_BINARY_DIR}/Sounds/Message.wav
          ${CMAKE_BINARY_DIR}/help.chm ${_hm_check_stamp})
add_dependencies(hm_program_files hm_icons)

# The resource compiler reads the icons; windres reports no dependencies of its own, so the
# icons and the id header are named here, and the icons are made before the resources compile.
add_dependencies(hm_gui_resources hm_icons)
target_compile_definitions(hm_gui_resources PRIVATE HM_GENERATED_ICONS)
set_source_files_properties(${CMAKE_SOURCE_DIR}/app/images.rc PROPERTIES
  OBJECT_DEPENDS "${HM_ICON_FILES};${CMAKE_SOURCE_DIR}/app/image_ids.h")

foreach(target hushmark hushmark-cli)
  if(TARGET ${target})
    add_dependencies(${target} hm_program_files)
  endif()
endforeach()

# The test programs are defined later (tests/ is added after this file is included), so they
# are attached once the top-level directory has been read.
function(_hm_attach_program_files_to_tests)
  get_property(subdirectories DIRECTORY ${CMAKE_SOURCE_DIR} PROPERTY SUBDIRECTORIES)
  if(NOT "${CMAKE_SOURCE_DIR}/tests" IN_LIST subdirectories)
    return()
  endif()
  get_property(targets DIRECTORY ${CMAKE_SOURCE_DIR}/tests PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target ${targets})
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
      add_dependencies(${target} hm_program_files)
    endif()
  endforeach()
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL _hm_attach_program_files_to_tests)
