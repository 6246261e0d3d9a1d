# The layers, each a static library that links only the layers below it:
#
#   imaging < platform < app < app windows < each subsystem < its windows < shell
#
# Subsystems (browser, fileops, ...) are siblings: none may use another. Each
# library compiles against an include root of its own, made in the build tree,
# that holds links to exactly the src/ folders it may use
# (build/include/dovi_batch/{imaging,platform,app,batch}). A subsystem that
# includes a sibling's header therefore fails to compile: the sibling's folder
# is not there. The shell, the programs and the tests see every folder.
configure_file(${CMAKE_SOURCE_DIR}/src/app/Version.h.in ${CMAKE_BINARY_DIR}/generated/app/Version.h)
# The about window's links are configuration of the build, never looked up.
set(DOVI_MAKER_URL "" CACHE STRING "The maker's web page (the about window's first link)")
set(DOVI_MAKER_SECOND_URL "" CACHE STRING "The maker's second web page")
set(DOVI_IMAGING_URL "https://libjpeg-turbo.org/" CACHE STRING "The imaging library's web page")
configure_file(${CMAKE_SOURCE_DIR}/src/about/AboutLinks.h.in
  ${CMAKE_BINARY_DIR}/generated/about/AboutLinks.h)

option(DOVI_PCH "Precompile the Qt and standard headers every file includes" ON)
include(cmake/DoviPrecompiled.cmake)

# Gives target an include root holding only the listed src/ folders, plus the
# generated headers. The root is private: whoever links target has its own.
function(dovi_include_root target)
  set(root ${CMAKE_BINARY_DIR}/include/${target})
  file(REMOVE_RECURSE ${root})
  file(MAKE_DIRECTORY ${root})
  foreach(folder ${ARGN})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/src/${folder} ${root}/${folder} SYMBOLIC)
  endforeach()
  target_include_directories(${target} PRIVATE ${root} ${CMAKE_BINARY_DIR}/generated)
endfunction()

# A library of the sources directly in src/<folder>/ (windows/ excluded) or
# in src/<folder>/windows/ when WINDOWS is given. Headers are listed too, so
# that moc finds every Q_OBJECT class.
function(dovi_library name folder)
  cmake_parse_arguments(L "WINDOWS" "PCH" "SEES;LINKS" ${ARGN})
  set(dir ${CMAKE_SOURCE_DIR}/src/${folder})
  if(L_WINDOWS)
    set(dir ${dir}/windows)
  endif()
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
  if(NOT L_WINDOWS)
    list(FILTER sources EXCLUDE REGEX "/windows/")
  endif()
  add_library(${name} STATIC ${sources})
  target_link_libraries(${name} PUBLIC ${L_LINKS})
  dovi_include_root(${name} ${L_SEES})
  dovi_use_precompiled(${name} ${L_PCH})
endfunction()

# 1. Imaging engine: pixels and codecs, QtGui and libjpeg only.
dovi_library(dovi_imaging imaging SEES imaging PCH gui
  LINKS Qt6::Gui JPEG::JPEG Threads::Threads)
# 2. Platform: the Linux side of attributes, trash, desktop, system facts, the lock.
dovi_library(dovi_platform platform SEES platform PCH gui LINKS Qt6::Gui Qt6::Network)
# 3. Application: settings, the workspace and its services, the Ui seam, the
# command context; then the windows every subsystem may open.
set(DOVI_BELOW_SUBSYSTEMS imaging platform app)
dovi_library(dovi_app app SEES ${DOVI_BELOW_SUBSYSTEMS} PCH gui
  LINKS dovi_platform dovi_imaging)
qt_add_resources(dovi_app dovi_app_resources PREFIX "/" BASE ${CMAKE_SOURCE_DIR}/resources
  FILES ${CMAKE_SOURCE_DIR}/resources/dovilogo.jpg ${CMAKE_SOURCE_DIR}/resources/dovi.png)
dovi_library(dovi_app_windows app WINDOWS SEES ${DOVI_BELOW_SUBSYSTEMS} PCH widgets
  LINKS dovi_app Qt6::Widgets)

# 4. Subsystems: dovi_<name> (plain code over the workspace and the Ui seam)
# and dovi_<name>_windows. Adding one is one line below.
set_property(GLOBAL PROPERTY DOVI_SUBSYSTEMS)
function(dovi_subsystem name)
  dovi_library(dovi_${name} ${name} SEES ${DOVI_BELOW_SUBSYSTEMS} ${name} PCH gui
    LINKS dovi_app)
  dovi_library(dovi_${name}_windows ${name} WINDOWS SEES ${DOVI_BELOW_SUBSYSTEMS} ${name}
    PCH widgets LINKS dovi_${name} dovi_app_windows)
  set_property(GLOBAL APPEND PROPERTY DOVI_SUBSYSTEMS ${name})
endfunction()

dovi_subsystem(browser)
dovi_subsystem(fileops)
dovi_subsystem(batch)
dovi_subsystem(series)
dovi_subsystem(viewer)
dovi_subsystem(slideshow)
dovi_subsystem(thumbs)
dovi_subsystem(extras)
dovi_subsystem(about)

get_property(DOVI_SUBSYSTEMS GLOBAL PROPERTY DOVI_SUBSYSTEMS)
set(DOVI_ALL_FOLDERS ${DOVI_BELOW_SUBSYSTEMS} ${DOVI_SUBSYSTEMS} shell)
set(DOVI_SUBSYSTEM_LIBRARIES)
set(DOVI_SUBSYSTEM_WINDOWS)
foreach(name ${DOVI_SUBSYSTEMS})
  list(APPEND DOVI_SUBSYSTEM_LIBRARIES dovi_${name})
  list(APPEND DOVI_SUBSYSTEM_WINDOWS dovi_${name}_windows)
endforeach()

# 5. The shell: the main window, its menu and toolbar table, and the one place
# that has every subsystem bind its rows.
dovi_library(dovi_shell shell SEES ${DOVI_ALL_FOLDERS} PCH widgets
  LINKS ${DOVI_SUBSYSTEM_WINDOWS})

# 6. The two programs.
add_executable(dovi src/main.cpp)
target_link_libraries(dovi PRIVATE dovi_shell)
dovi_include_root(dovi ${DOVI_ALL_FOLDERS})
dovi_use_precompiled(dovi widgets)

file(GLOB tool_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/*.cpp)
include(GNUInstallDirs)
install(TARGETS dovi RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(tool_sources)
  add_executable(dovi-batch ${tool_sources})
  target_link_libraries(dovi-batch PRIVATE dovi_batch dovi_fileops)
  dovi_include_root(dovi-batch ${DOVI_ALL_FOLDERS})
  dovi_use_precompiled(dovi-batch gui)
  install(TARGETS dovi-batch RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(FILES resources/dovi.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES resources/dovi.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)

if(DOVI_TESTS)
  enable_testing()
  add_subdirectory(tests)
endif()
if(DOVI_FUZZ)
  add_subdirectory(fuzz)
endif()
