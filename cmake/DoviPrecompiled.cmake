# Precompiled headers: nearly every file includes the same Qt and standard
# headers, and parsing them is most of a compile. Each kind below is compiled
# once, by the first target of that kind, and reused by the others; all
# targets of a kind share the compile flags and definitions a header needs to
# be reusable (a mismatch would only make the compiler ignore it, and say
# so: CMake adds -Winvalid-pch).
set(DOVI_PCH_gui
  <QByteArray> <QDir> <QFile> <QFileInfo> <QImage> <QList> <QObject> <QString> <QStringList>
  <algorithm> <array> <cstdint> <cstring> <functional> <memory> <optional> <vector>)
set(DOVI_PCH_widgets ${DOVI_PCH_gui}
  <QComboBox> <QDialog> <QHBoxLayout> <QLabel> <QPointer> <QPushButton> <QVBoxLayout> <QWidget>)
set(DOVI_PCH_tests ${DOVI_PCH_gui} <gtest/gtest.h> <QTemporaryDir>)
set(DOVI_PCH_widget_tests ${DOVI_PCH_widgets} <gtest/gtest.h> <QTemporaryDir> <QApplication>
  <QTest>)

if(DOVI_PCH)
  # ccache caches a compile that uses a precompiled header only when told it may.
  if(CMAKE_CXX_COMPILER_LAUNCHER MATCHES "ccache")
    set(CMAKE_CXX_COMPILER_LAUNCHER ${CMAKE_COMMAND} -E env
      CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
      ${CMAKE_CXX_COMPILER_LAUNCHER})
    add_compile_options(-fpch-preprocess)
  endif()
endif()

# Gives target the precompiled headers of kind (gui, widgets, tests,
# widget_tests): its own when it is the first of that kind, else the first's.
function(dovi_use_precompiled target kind)
  if(NOT DOVI_PCH OR NOT kind)
    return()
  endif()
  get_property(donor GLOBAL PROPERTY DOVI_PCH_DONOR_${kind})
  if(donor)
    target_precompile_headers(${target} REUSE_FROM ${donor})
  else()
    target_precompile_headers(${target} PRIVATE ${DOVI_PCH_${kind}})
    set_property(GLOBAL PROPERTY DOVI_PCH_DONOR_${kind} ${target})
  endif()
endfunction()
