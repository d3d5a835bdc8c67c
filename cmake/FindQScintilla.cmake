# Finds QScintilla for Qt 6, which ships neither a CMake package nor a pkg-config file, only a
# qmake feature. Defines the imported target QScintilla::QScintilla with what that feature
# adds: the headers (Qsci/*.h in Qt's include folder), QSCINTILLA_DLL, Qt6::Widgets and
# Qt6::PrintSupport.
find_package(Qt6 REQUIRED COMPONENTS Widgets PrintSupport)
get_target_property(_qscintilla_qt_includes Qt6::Core INTERFACE_INCLUDE_DIRECTORIES)

find_library(QScintilla_LIBRARY NAMES qscintilla2_qt6)
find_path(QScintilla_INCLUDE_DIR NAMES Qsci/qsciscintilla.h HINTS ${_qscintilla_qt_includes} PATH_SUFFIXES qt6 ..)

include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(QScintilla REQUIRED_VARS QScintilla_LIBRARY QScintilla_INCLUDE_DIR)
mark_as_advanced(QScintilla_LIBRARY QScintilla_INCLUDE_DIR)

if(QScintilla_FOUND AND NOT TARGET QScintilla::QScintilla)
  add_library(QScintilla::QScintilla UNKNOWN IMPORTED)
  set_target_properties(QScintilla::QScintilla PROPERTIES
    IMPORTED_LOCATION "${QScintilla_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${QScintilla_INCLUDE_DIR}"
    INTERFACE_COMPILE_DEFINITIONS QSCINTILLA_DLL
    INTERFACE_LINK_LIBRARIES "Qt6::Widgets;Qt6::PrintSupport")
endif()
