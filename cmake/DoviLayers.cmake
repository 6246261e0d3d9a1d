# One static library per layer. A layer links only the layers below it, so a
# window class used from the logic layer, or a widget used by the engine, is a
# link error rather than a review comment.
configure_file(${CMAKE_SOURCE_DIR}/src/app/Version.h.in ${CMAKE_BINARY_DIR}/generated/app/Version.h)

function(dovi_layer name)
  cmake_parse_arguments(L "" "" "GLOBS;LINKS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${L_GLOBS})
  list(FILTER sources EXCLUDE REGEX "/windows/")
  list(FILTER sources INCLUDE REGEX "\\.cpp$")
  if(sources)
    add_library(${name} STATIC ${sources})
    set(scope PUBLIC)
  else()
    # A layer with no code yet still carries its include path and links.
    add_library(${name} INTERFACE)
    set(scope INTERFACE)
  endif()
  target_include_directories(${name} ${scope} ${CMAKE_SOURCE_DIR}/src ${CMAKE_BINARY_DIR}/generated)
  target_link_libraries(${name} ${scope} ${L_LINKS})
endfunction()

# 1. Imaging engine: pixels and codecs, QtGui and libjpeg only.
dovi_layer(dovi_imaging
  GLOBS ${CMAKE_SOURCE_DIR}/src/imaging/*.cpp ${CMAKE_SOURCE_DIR}/src/imaging/*.h
  LINKS Qt6::Gui JPEG::JPEG Threads::Threads)

# 2. Platform: the Linux side of attributes, trash, desktop, system facts, the lock.
dovi_layer(dovi_platform
  GLOBS ${CMAKE_SOURCE_DIR}/src/platform/*.cpp ${CMAKE_SOURCE_DIR}/src/platform/*.h
  LINKS Qt6::Gui)

# 3. Application: settings, shared services, start and stop, the Ui seam, the workspace.
dovi_layer(dovi_app
  GLOBS ${CMAKE_SOURCE_DIR}/src/app/*.cpp ${CMAKE_SOURCE_DIR}/src/app/*.h
  LINKS dovi_platform dovi_imaging)
qt_add_resources(dovi_app dovi_app_resources PREFIX "/" BASE ${CMAKE_SOURCE_DIR}/resources
  FILES ${CMAKE_SOURCE_DIR}/resources/dovilogo.jpg ${CMAKE_SOURCE_DIR}/resources/dovi.png)

# 4. Subsystem operations: plain code over the workspace and the Ui seam.
set(DOVI_SUBSYSTEMS browser fileops batch series viewer slideshow thumbs extras about)
set(ops_globs)
set(window_globs ${CMAKE_SOURCE_DIR}/src/app/windows/*.cpp ${CMAKE_SOURCE_DIR}/src/app/windows/*.h
  ${CMAKE_SOURCE_DIR}/src/shell/*.cpp ${CMAKE_SOURCE_DIR}/src/shell/*.h)
foreach(sub ${DOVI_SUBSYSTEMS})
  list(APPEND ops_globs ${CMAKE_SOURCE_DIR}/src/${sub}/*.cpp ${CMAKE_SOURCE_DIR}/src/${sub}/*.h)
  list(APPEND window_globs ${CMAKE_SOURCE_DIR}/src/${sub}/windows/*.cpp ${CMAKE_SOURCE_DIR}/src/${sub}/windows/*.h)
endforeach()
dovi_layer(dovi_ops GLOBS ${ops_globs} LINKS dovi_app)

# 5. Windows: one class per window, in each subsystem's windows/ folder.
file(GLOB_RECURSE window_sources CONFIGURE_DEPENDS ${window_globs})
add_library(dovi_windows STATIC ${window_sources})
target_link_libraries(dovi_windows PUBLIC dovi_ops Qt6::Widgets)

# 6. The two programs.
add_executable(dovi src/main.cpp)
target_link_libraries(dovi PRIVATE dovi_windows)

file(GLOB tool_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/*.cpp)
include(GNUInstallDirs)
install(TARGETS dovi RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(tool_sources)
  add_executable(dovi-batch ${tool_sources})
  target_link_libraries(dovi-batch PRIVATE dovi_ops)
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
